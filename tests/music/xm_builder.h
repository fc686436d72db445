// Builds small XM images in memory for the music tests, and plays them tick by tick.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "music/player.h"
#include "music/song.h"

inline bool operator==(const Cell& a, const Cell& b) {
    return a.note == b.note && a.instrument == b.instrument && a.volume == b.volume &&
           a.effect == b.effect && a.param == b.param;
}

// One sample as the file stores it. `data` holds the file's bytes exactly (already delta
// encoded); DeltaEncode8/16 produce them from plain values.
struct XmSampleLayout {
    uint32_t lengthBytes = 0;
    uint32_t loopStartBytes = 0;
    uint32_t loopLengthBytes = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t type = 0;  // bits 0-1 loop type, bit 4 16-bit
    uint8_t panning = 128;
    int8_t relativeNote = 0;
    std::vector<uint8_t> data;
};

struct XmInstrumentLayout {
    uint32_t headerSize = 263;  // the instrument header as most trackers write it
    std::vector<XmSampleLayout> samples;
    std::array<uint8_t, 96> keymap{};
    std::array<EnvelopePoint, 12> volumeEnvelope{};
    std::array<EnvelopePoint, 12> panningEnvelope{};
    uint8_t volumePointCount = 0;
    uint8_t panningPointCount = 0;
    uint8_t volumeSustain = 0;
    uint8_t volumeLoopStart = 0;
    uint8_t volumeLoopEnd = 0;
    uint8_t panningSustain = 0;
    uint8_t panningLoopStart = 0;
    uint8_t panningLoopEnd = 0;
    uint8_t volumeType = 0;
    uint8_t panningType = 0;
    uint8_t vibratoType = 0;
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
    uint16_t fadeout = 0;  // as in the file (the loader doubles it)
};

struct XmPatternLayout {
    int32_t rows = 64;
    std::vector<Cell> cells;       // rows x channels, row-major; empty = all empty cells
    bool packed = true;            // false writes every cell as 5 plain bytes
    bool zeroPackedSize = false;   // writes packed size 0 and no data
    std::vector<uint8_t> rawData;  // when not empty, written as the pattern data instead
};

struct XmSongLayout {
    std::string signature = "Extended Module: ";
    uint16_t songLength = 1;
    uint16_t restartPosition = 0;
    uint16_t channelCount = 4;
    uint16_t flags = 1;  // linear frequency table
    uint16_t defaultTempo = 6;
    uint16_t defaultBpm = 125;
    std::array<uint8_t, 256> orders{};
    std::vector<XmPatternLayout> patterns;
    std::vector<XmInstrumentLayout> instruments;
};

std::vector<uint8_t> BuildXm(const XmSongLayout& layout);

// File bytes for plain 16-bit sample values: little-endian deltas.
std::vector<uint8_t> DeltaEncode16(const std::vector<int16_t>& values);

// An 8-bit sample of `length` values (a slow ramp) with the given loop, in bytes = values.
XmSampleLayout MakeSample8(uint32_t length, uint32_t loopStart = 0, uint32_t loopLength = 0,
                           uint8_t type = 0);

// A one-sample instrument whose keymap sends every note to slot 0.
XmInstrumentLayout MakeInstrument(const XmSampleLayout& sample);

// A song of `channels` channels and one 64-row pattern per entry of `patternCount`, orders
// 0, 1, ..., with one instrument holding a looping 8-bit sample of volume 64.
XmSongLayout MakeSongLayout(int32_t channels, int32_t patternCount = 1);

// Sets a cell of a pattern (the pattern's cell vector is sized on first use).
void SetCell(XmSongLayout& layout, int32_t pattern, int32_t row, int32_t channel, Cell cell);

// Sets cells from text: entries "row channel note instrument volume effect param" separated by
// ';', the last three in hex; row 64 x p + r is row r of pattern p.
void SetCells(XmSongLayout& layout, const std::string& text);

// The player the tick-by-tick tests drive with ReplayTick, without a device or a thread.
inline Player testPlayer;

// Loads an image with SongFromMemory; null when refused.
Song* LoadImage(const std::vector<uint8_t>& image);

// Puts the song on testPlayer at its start as PlayerStart does, without a device or a thread:
// 44100 Hz, voices zeroed with their index and step 1, channels zeroed on voices c, playback
// fields reset.
void StartForTest(Song* song);

// Loads and starts an image; fails the calling test (returns null) when the image is refused.
Song* LoadAndStart(const XmSongLayout& layout);
