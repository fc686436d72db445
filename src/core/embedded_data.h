// Files the build compiles into the program: the two songs.
#pragma once

#include <cstdint>

struct EmbeddedFile {
    const unsigned char* data;
    int32_t size;  // bytes; 0 when the build found no such file
};

extern const EmbeddedFile showSongImage;  // songs/show.xm, the 12-channel song of the show
extern const EmbeddedFile
    hiddenSongImage;  // songs/hidden.xm, the 4-channel song of the hidden mode
