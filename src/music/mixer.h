// Software mixer: adds the voices into a float stereo buffer and converts it to 16-bit PCM.
#pragma once

#include <cstdint>

struct Player;

// Adds `count` frames of the player's voices into `destination` (interleaved left/right floats on
// the 16-bit scale) and advances each playing voice by `count` steps.
void MixVoices(Player& player, float* destination, int32_t count);

// Converts 2 × frames floats to s16: nearest integer, halves to even, clamped to −32768..32767.
void ConvertToPcm16(int16_t* destination, const float* source, int32_t frames);
