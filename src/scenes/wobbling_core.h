// Wobbling core: the accelerating camera pull-outs and the words' timing, separate from drawing.
#pragma once

#include <cstdint>

#include "gfx/gl_state.h"

struct WobblingCore {
    float clock = 0.0f;    // scene time in frameStep units
    float speed = 1.0f;    // camera speed factor, +0.05 per time unit
    int32_t pullOuts = 0;  // completed camera pull-outs
    int noiseIndex = 0;    // static-noise frame 0..3 bound this frame
    Camera camera;
};

extern thread_local WobblingCore wobblingCore;

// Start of a frame: speed and clock, then the camera moves back and up by step * speed.
void WobblingCoreAdvance(WobblingCore& scene, float step);

// After the camera was applied: once eye z passes 20 * pullOuts + 100 it jumps back to the start,
// for the next frame's view.
void WobblingCoreSnapBack(WobblingCore& scene);

// Rotation of the wire shells in degrees: 30 per completed 10 time units.
float WobblingCoreShellAngle(float clock);

// Which words show: 0 "YOU have", 1 "been", 2 "brain washed", -1 none (from 180 on).
int WobblingCoreWords(float clock);

// Vertical tremble of the words: 0.1 * sin(10 * clock), product in double, stored as float.
float WobblingCoreTremble(float clock);

// End of a frame: true once the clock passes 200 (the visit is over).
bool WobblingCoreFinishFrame(const WobblingCore& scene);
