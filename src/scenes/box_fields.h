// Box fields: the state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

struct BoxFieldsState {
    float clock = 0.0f;      // scene time, never reset
    float drift = 0.0f;      // grows by half of each step; turns the camera with the clock
    int32_t noiseIndex = 0;  // 0..3
    int32_t visits = 0;      // completed visits
};

extern thread_local BoxFieldsState boxFields;

// Adds a frame's step to the clock and half of it to the drift.
void BoxFieldsTick(BoxFieldsState& state, float step);

// Camera eye circling the fields at height 100.
Vec3 BoxFieldsEye(const BoxFieldsState& state);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t BoxFieldsNextNoise(BoxFieldsState& state);

// Height of the cube in row 0..4, column 0..4 at clock. False for column 0, whose wave has no
// defined height (its quotient divides by the column index); those cubes are not drawn.
bool BoxFieldsCubeHeight(float clock, int32_t row, int32_t column, float& height);

// Ends the visit when the clock has passed 7 per visit so far plus one; returns true then, with
// the visit counted. The clock is not reset.
bool BoxFieldsVisitEnds(BoxFieldsState& state);
