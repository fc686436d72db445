// The mixer's voices: one playing sample each, set by the replay engine between ticks.
#pragma once

#include <cstdint>

struct Sample;

// State of one playing sample. Position and step are 32.32 fixed point (integer part, then 32
// fraction bits). Levels are 0..255 gains in units of 1/255; ramp levels are those gains × 256.
struct Voice {
    int32_t index;              // own position in Player::voices
    int32_t volume;             // 0..127 as the replay engine last set it
    int32_t panning;            // 0..255; 255 = left only, 0 = right only
    uint32_t startOffset;       // sample position at which the next trigger starts
    Sample* sample;             // null while idle
    int32_t leftLevel;          // volume × panning / 255
    int32_t rightLevel;         // (255 − panning) × volume / 255
    uint32_t position;          // integer sample position
    uint32_t positionFraction;  // units of 2^-32
    uint32_t stepFraction;      // units of 2^-32 per output frame
    uint32_t stepInteger;       // whole samples per output frame
    int32_t stepFrequency;      // Hz the step was computed for; 0 = set some other way
    int32_t direction;          // 1 = forward, 2 = backward (ping-pong loops)
    int32_t rampLeftTarget;     // leftLevel the running ramp was set up for
    int32_t rampRightTarget;    // rightLevel the running ramp was set up for
    int32_t rampLeft;           // current left level × 256
    int32_t rampRight;          // current right level × 256
    float rampLeftStep;         // left gain added per frame while the ramp runs
    float rampRightStep;        // right gain added per frame while the ramp runs
    int32_t rampRemaining;      // frames left in the running ramp; 0 = none
};

// Voices 0..63, all mixed; channel c owns voices c and c + 32 and alternates between them so
// that a new note starts while the old one fades out.
constexpr int32_t mixedVoiceCount = 64;
