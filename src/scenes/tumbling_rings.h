// Tumbling rings: its state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

// Everything the scene remembers from frame to frame. Times are in frameStep units.
struct TumblingRingsState {
    float spin = 0.0f;       // rotation accumulator, 10 per unit, never reset
    float clock = 0.0f;      // scene time; put back to 10 * visits + 50 after each visit
    int32_t noiseIndex = 0;  // 0..3, which static-noise texture is bound
    int32_t visits = 0;      // completed visits
};

// The scene's one instance, drawn by TumblingRingsDraw.
extern thread_local TumblingRingsState tumblingRings;

// Back to the start values (TumblingRingsInit does this too; tests call it directly).
void TumblingRingsReset();

// First step of every frame: spin and clock advance by step.
void TumblingRingsTick(TumblingRingsState& state, float step);

// Camera eye: jumps to a new place every 5 units of clock, on a circle of distance 0..400.
Vec3 TumblingRingsEye(float clock);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t TumblingRingsNextNoise(TumblingRingsState& state);

// Alpha of the full-screen black strobe: 1 or 0.
float TumblingRingsBlackoutAlpha(float clock);

// Number of quarter flashes and their limits, in drawing order.
constexpr int32_t kTumblingRingsFlashCount = 4;
extern const float kTumblingRingsFlashLimit[kTumblingRingsFlashCount];

// Whether quarter flash i is drawn at all this frame (only while clock < its limit), and its alpha.
bool TumblingRingsFlashDrawn(float clock, int32_t i);
float TumblingRingsFlashAlpha(float clock, int32_t i);

// Last step of every frame: once clock passes 100, counts the visit and puts the clock back
// to 10 * visits + 50. True on the frame the visit ends.
bool TumblingRingsAdvance(TumblingRingsState& state);
