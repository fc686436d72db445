// Tube carousel: its state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

// Everything the scene remembers from frame to frame. Times are in frameStep units.
struct TubeCarouselState {
    float clock = 0.0f;      // scene time, also the tubes' spin in degrees
    int32_t noiseIndex = 0;  // 0..3, which static-noise texture is bound
    int32_t visits = 0;      // completed visits
};

// The scene's one instance, drawn by TubeCarouselDraw.
extern thread_local TubeCarouselState tubeCarousel;

// Back to the start values (TubeCarouselInit does this too; tests call it directly).
void TubeCarouselReset();

// Camera eye: circles the scene and bobs; its distance (100..300) changes every 3 units.
Vec3 TubeCarouselEye(float clock);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t TubeCarouselNextNoise(TubeCarouselState& state);

// Whether this frame is drawn at 64 x 64 and stretched: while clock / 10 truncated is odd.
bool TubeCarouselBlocky(float clock);

// Once clock passes 100: counts the visit and puts the clock back to
// 10 * visits + 50. True on the frame the visit ends.
bool TubeCarouselAdvance(TubeCarouselState& state);
