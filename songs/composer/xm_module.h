// In-memory form of an XM module as the composer builds it, before it is written out.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct XmCell {
    uint8_t note = 0;  // 0 none, 1..96 notes (C-0 = 1), 97 key-off
    uint8_t instrument = 0;
    uint8_t volume = 0;  // volume-column byte
    uint8_t effect = 0;
    uint8_t param = 0;
};

struct XmPattern {
    int rowCount = 64;
    int channelCount = 0;
    std::vector<XmCell> cells;  // row-major: row * channelCount + channel
};

struct XmEnvelopePoint {
    uint16_t x = 0;  // ticks
    uint16_t y = 0;  // 0..64
};

struct XmEnvelope {
    std::vector<XmEnvelopePoint> points;  // at most 12, first at x = 0
    bool sustain = false;
    bool loop = false;
    uint8_t sustainPoint = 0;
    uint8_t loopStart = 0;
    uint8_t loopEnd = 0;
};

enum class XmLoop : uint8_t { none = 0, forward = 1, pingPong = 2 };

struct XmSample {
    std::string name;
    bool sixteenBit = false;
    std::vector<int16_t> data;  // -128..127 for 8-bit samples, full range for 16-bit ones
    XmLoop loop = XmLoop::none;
    uint32_t loopStart = 0;  // in sample values, not bytes
    uint32_t loopLength = 0;
    uint8_t volume = 64;
    int8_t finetune = 0;
    uint8_t panning = 128;
    int8_t relativeNote = 0;
};

struct XmInstrument {
    std::string name;
    std::vector<XmSample> samples;  // 0..16
    std::array<uint8_t, 96> keymap{};
    XmEnvelope volumeEnvelope;  // empty points: envelope off
    XmEnvelope panningEnvelope;
    uint8_t vibratoType = 0;
    uint8_t vibratoSweep = 0;
    uint8_t vibratoDepth = 0;
    uint8_t vibratoRate = 0;
    uint16_t fadeout = 0;  // as stored in the file
};

struct XmModule {
    std::string name;
    uint16_t channelCount = 0;
    uint16_t restartPosition = 0;
    bool linearFrequencies = true;
    uint16_t defaultTempo = 6;
    uint16_t defaultBpm = 125;
    std::vector<uint8_t> orders;
    std::vector<XmPattern> patterns;
    std::vector<XmInstrument> instruments;
};
