// Creation and release of a Song from the installed song source or an in-memory image.
#include <cstdlib>

#include "music/player.h"
#include "music/song.h"
#include "music/song_source.h"

Song* SongFromMemory(const uint8_t* image, int32_t size) {
    if (audioUnavailable) {
        return nullptr;
    }
    MemoryBlockSet(image, size);
    return SongCreate("");
}

Song* SongCreate(const char* name) {
    Song* song = static_cast<Song*>(std::calloc(1, sizeof(Song)));
    if (!song) {
        return nullptr;
    }
    SourceStream* stream = StreamOpen(name);
    if (!stream) {
        std::free(song);
        return nullptr;
    }
    bool loaded = LoadXm(song, stream);
    StreamClose(stream);
    if (!loaded) {
        SongFree(song);
        return nullptr;
    }
    return song;
}

bool SongFree(Song* song) {
    if (!song) {
        return false;
    }
    // The streaming thread may be inside a block that reads this song; wait for it to leave.
    while (fillBusy.load()) {
    }
    PlayerStop(song);
    for (int32_t i = 0; i < song->instrumentCount && song->instruments; ++i) {
        Instrument& instrument = song->instruments[i];
        for (int32_t k = 0; k < instrument.sampleCount && k < 16; ++k) {
            Sample* sample = instrument.samples[k];
            if (sample && sample != &emptySample) {
                std::free(sample->data);
                std::free(sample);
            }
        }
    }
    std::free(song->instruments);
    for (int32_t p = 0; p < song->patternSlotCount && song->patterns; ++p) {
        std::free(song->patterns[p].cells);
    }
    std::free(song->patterns);
    std::free(song);
    return true;
}
