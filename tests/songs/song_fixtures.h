// Loading the two embedded songs with the demo's own loader, and the shapes they must have.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>

#include "core/embedded_data.h"
#include "music/song.h"

struct SongShape {
    const char* name;
    const EmbeddedFile* image;
    int channels;
    int orders;
    int patterns;
    int instruments;
    int tempo;
    int bpm;
    int64_t maximumBytes;
    int sixteenBitSamples;  // as the file stores them
    int instrumentsWithoutSamples;
    bool hasEmptySamples;  // samples of length 0
};

// Test names and failure messages show the song's name rather than a pointer value.
inline void PrintTo(const SongShape* shape, std::ostream* out) {
    *out << shape->name;
}

const SongShape& ShowShape();
const SongShape& HiddenShape();

// Loads an image with SongFromMemory; null if it does not load.
Song* LoadSongImage(const EmbeddedFile& image);
