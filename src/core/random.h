// The pseudo-random sequence that textures and scenes draw from: one per thread, so that a
// rehearsal of the show on another thread draws its own numbers and leaves the show's alone.
#pragma once

#include <cstdint>

// Largest value Rand() returns.
constexpr int32_t kRandMax = 32767;

// Next value 0..32767 of the classic Windows C runtime sequence:
// state = state * 214013 + 2531011, result = (state >> 16) & 0x7FFF, first state 1.
// Never seeded, so every run draws the same numbers. Each thread's sequence starts at state 1.
int32_t Rand();

// Puts the sequence back to its first state (tests and tools that replay start-up).
void ResetRand();

// The internal state, so a test can tell how many numbers a step drew, and a snapshot of the show
// can put the sequence back where it was.
uint32_t RandState();
void SetRandState(uint32_t state);
