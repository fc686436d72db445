// Bit grid: the state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

constexpr int32_t kBitGridSlots = 800;

struct BitGridState {
    float clock = 0.0f;  // scene time, never reset
    float life[kBitGridSlots] = {};
    int32_t cellX[kBitGridSlots] = {};  // 0..39
    int32_t cellY[kBitGridSlots] = {};  // 0..39
    int32_t visits = 0;
};

extern thread_local BitGridState bitGrid;

// Number of live bits: 6 per 10 units of clock, never more than the slots that exist.
int32_t BitGridBitCount(const BitGridState& state);

// Ages bit i by step, moves it to a random cell when its life has run out (two Rand() draws: x,
// then y), and says whether it shows this frame.
bool BitGridUpdateBit(BitGridState& state, int32_t i, float step);

// Centre of bit i in half-screen units (-1..0.95, y down).
float BitGridBitX(const BitGridState& state, int32_t i);
float BitGridBitY(const BitGridState& state, int32_t i);

// Ends the visit when the clock has passed 5 per visit so far plus one; returns true then, with
// the visit counted. The clock is not reset.
bool BitGridVisitEnds(BitGridState& state);
