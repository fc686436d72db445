// The in-memory song model that the XM loader fills and the replay engine and mixer read.
#pragma once

#include <cstddef>
#include <cstdint>

// Signed 16-bit sample data with the loop described in sample values. `loopStart` + `loopLength`
// is always the end of the playable range, and one readable value lies behind it (the guard copy
// or the zero tail).
struct Sample {
    int16_t* data;        // length + 8 values, the last 8 zero; null when length is 0
    uint32_t length;      // sample values
    uint32_t loopStart;   // sample values
    uint32_t loopLength;  // sample values; equals length when the sample does not loop
    uint8_t volume;       // 0..64
    int8_t finetune;      // -128..127
    int32_t panning;      // 0..255
    uint8_t bits;         // 16 for every loaded sample
    uint8_t loopMode;     // 1 none, 2 forward, 4 ping-pong
    int8_t relativeNote;  // semitones
};

// Shared silent sample for instrument slots that have no sample of their own; never released.
extern Sample emptySample;

struct EnvelopePoint {
    uint16_t x;  // tick position
    uint16_t y;  // value 0..64
};

struct Instrument {
    int32_t sampleCount;  // 0..16
    Sample* samples[16];  // slots below sampleCount are owned, the rest point at emptySample
    uint8_t keymap[96];   // sample slot per note
    EnvelopePoint volumeEnvelope[12];
    EnvelopePoint panningEnvelope[12];
    uint8_t volumePointCount;
    uint8_t panningPointCount;
    uint8_t volumeSustain;
    uint8_t volumeLoopStart;
    uint8_t volumeLoopEnd;
    uint8_t panningSustain;
    uint8_t panningLoopStart;
    uint8_t panningLoopEnd;
    uint8_t volumeType;  // bit 0 on, bit 1 sustain, bit 2 loop
    uint8_t panningType;
    uint8_t vibratoType;
    uint8_t vibratoSweep;
    uint8_t vibratoDepth;
    uint8_t vibratoRate;
    uint16_t fadeout;  // the file's fadeout doubled
};

struct Cell {
    uint8_t note;        // 0 none, 1..96 note, 255 key-off
    uint8_t instrument;  // 0 none, 1..128
    uint8_t volume;      // volume-column byte
    uint8_t effect;
    uint8_t param;
};

struct Pattern {
    int32_t rowCount;
    Cell* cells;  // rowCount x channelCount, row-major
};

struct Song {
    Pattern* patterns;        // patternSlotCount entries
    Instrument* instruments;  // instrumentCount entries
    int32_t samplesLeftInTick;
    int32_t samplesPerTick;
    uint16_t songLength;  // at most 256 after loading
    uint16_t restartPosition;
    int16_t channelCount;  // 0..32 after loading
    int32_t usedPatternCount;
    int32_t patternSlotCount;
    int16_t instrumentCount;
    uint16_t flags;  // bit 0: linear frequency table
    uint16_t defaultTempo;
    uint16_t defaultBpm;
    uint8_t orders[256];
    uint8_t initialGlobalVolume;
    int32_t globalVolume;  // 0..64
    uint8_t globalVolumeSlide;
    int32_t tick;
    int32_t speed;
    int32_t bpm;
    int32_t row;
    int32_t orderIndex;
    int32_t patternDelay;
    int32_t nextRow;         // -1 for none
    int32_t nextOrderIndex;  // -1 for none
};

// Fills a zero-filled song from an XM image of `size` bytes. False for a bad signature, more than
// 16 samples in an instrument, more than 32 channels, or an image that ends before the loader is
// done. Needs no sound device.
bool LoadXm(Song* song, const uint8_t* image, size_t size);

// Loads an XM image into a new song; null when the image does not load.
Song* SongFromMemory(const uint8_t* image, size_t size);

// Releases everything the song owns; the player must not be playing it. False for null.
bool SongFree(Song* song);
