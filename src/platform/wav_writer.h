// Streams 44100 Hz 16-bit stereo PCM into a WAV file.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// An open WAV file being written. The header's sizes are fixed when it is closed.
struct WavWriter {
    std::FILE* file = nullptr;
    std::string path;
    int64_t frames = 0;   // frames appended so far
    bool failed = false;  // a write failed; closing then removes the file
};

// Creates `path` (replacing any file there) with a header for 44100 Hz, 2 channels, 16 bits.
bool WavWriterOpen(WavWriter& writer, const char* path);

// Appends `frames` interleaved left/right frames.
bool WavWriterAppend(WavWriter& writer, const int16_t* samples, int64_t frames);

// Writes the final sizes and closes the file. On any failure (now or earlier) the file is
// removed, so no partial file is left. False then.
bool WavWriterClose(WavWriter& writer);

// Closes and removes the file without finishing it.
void WavWriterDiscard(WavWriter& writer);
