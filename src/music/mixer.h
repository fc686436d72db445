// Software mixer: adds the voices into a float stereo buffer and converts it to 16-bit PCM.
#pragma once

#include <cstdint>

// Adds `count` frames of voices 0..63 into `destination` (interleaved left/right floats on the
// 16-bit scale) and advances each playing voice by `count` steps. `unused` has no effect.
void MixVoices(float* destination, int32_t count, int32_t unused);

// Converts 2 × frames floats to s16: nearest integer, halves to even, clamped to −32768..32767.
void ConvertToPcm16(int16_t* destination, const float* source, int32_t frames);
