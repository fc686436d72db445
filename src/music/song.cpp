// Creation of a Song from an in-memory XM image, and its release.
#include <cstdlib>

#include "music/song.h"

Song* SongFromMemory(const uint8_t* image, size_t size) {
    Song* song = static_cast<Song*>(std::calloc(1, sizeof(Song)));
    if (!song) {
        return nullptr;
    }
    if (!LoadXm(song, image, size)) {
        SongFree(song);
        return nullptr;
    }
    return song;
}

bool SongFree(Song* song) {
    if (!song) {
        return false;
    }
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
