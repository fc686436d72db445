// Per-frame mixing loops of one voice: no boundary or ramp tests inside (the caller limits n).
#pragma once

#include <cstdint>

// Gain of level 1 (levels are 0..255 in units of 1/255).
constexpr float kLevelToGain = 1.0f / 255.0f;
// Interpolation weight of fraction bit 31 after the fraction is shifted right by one.
constexpr float kHalfFractionToWeight = 1.0f / 2147483648.0f;

// Adds n frames of `data` at constant gains to `destination` (interleaved left/right), from the
// 32.32 `position`, moving by `delta` per frame (two's complement for backward). Returns the
// position after the n frames.
uint64_t MixConstant(float* destination, int32_t n, const int16_t* data, uint64_t position,
                     uint64_t delta, float leftGain, float rightGain);

// As MixConstant, but each frame uses the current gains and then adds the steps to them; the
// reached gains are left in leftGain and rightGain.
uint64_t MixRamp(float* destination, int32_t n, const int16_t* data, uint64_t position,
                 uint64_t delta, float& leftGain, float& rightGain, float leftStep,
                 float rightStep);
