// Sphere burst: the state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

struct SphereBurstState {
    float clock = 0.0f;      // time within the current visit
    int32_t noiseIndex = 0;  // 0..3, carries over between visits
};

extern thread_local SphereBurstState sphereBurst;

// Camera eye at height 50, jumping between views every 8 units of clock.
Vec3 SphereBurstEye(float clock);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t SphereBurstNextNoise(SphereBurstState& state);

// How far the six balls sit from the centre: 0..100.
float SphereBurstSpread(float clock);

// Offset of the drifting wire shell, 100 units from the centre (also its turn angles, degrees).
Vec3 SphereBurstShellOffset(float clock);

// Ends the visit once the clock has passed 20, putting the clock back to 0; true then.
bool SphereBurstVisitEnds(SphereBurstState& state);
