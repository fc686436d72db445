// A second, deliberately simple walk over an XM image's headers, so the songs' tests can see what
// the file itself says (sample bit depth, loop type bits) where the loader has already converted
// it.
#pragma once

#include <cstdint>
#include <vector>

struct ScannedSample {
    uint32_t lengthBytes = 0;
    uint8_t type = 0;  // bits 0-1 loop type (1 forward, 2 ping-pong), bit 4 16-bit data
};

struct ScannedInstrument {
    std::vector<ScannedSample> samples;
};

struct ScannedSong {
    bool complete = false;  // every header and data block lay inside the image
    uint16_t songLength = 0;
    uint16_t channelCount = 0;
    uint16_t patternCount = 0;
    uint16_t flags = 0;
    uint16_t tempo = 0;
    uint16_t bpm = 0;
    std::vector<uint8_t> orders;        // songLength entries
    std::vector<uint16_t> patternRows;  // rows of each stored pattern
    std::vector<ScannedInstrument> instruments;
    // Instrument numbers (1-based) that the pattern cells name, in file order.
    std::vector<uint8_t> instrumentsPlayed;
};

ScannedSong ScanSongImage(const unsigned char* image, int32_t size);
