// Torus nest: the state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

constexpr int32_t kTorusNestRings = 7;

struct TorusNestState {
    float clock = 0.0f;      // time within the current visit
    int32_t noiseIndex = 0;  // 0..3, carries over between visits
};

extern thread_local TorusNestState torusNest;

// Camera eye swaying at height 0, its x and z out of step.
Vec3 TorusNestEye(float clock);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t TorusNestNextNoise(TorusNestState& state);

// Turn of ring 0..6 about the (0, 1, 1) axis, degrees: the outer rings turn faster.
float TorusNestRingAngle(float clock, int32_t ring);

// Odd rings are solid and textured, even rings black outlines.
bool TorusNestRingIsSolid(int32_t ring);

// Ends the visit once the clock has passed 20, putting the clock back to 0; true then.
bool TorusNestVisitEnds(TorusNestState& state);
