// Sphere orrery: the circling camera, spins, quarter flicker and word timing, separate from
// drawing.
#pragma once

#include "gfx/gl_state.h"
#include "scenes/scene_math.h"

struct SphereOrrery {
    float clock = 0.0f;       // scene time in frameStep units
    float sunSpin = 0.0f;     // degrees, +4 per time unit
    float planetSpin = 0.0f;  // degrees, +4.4 per time unit
    int noiseIndex = 0;       // static-noise frame 0..3 bound this frame
    Camera camera;
};

extern thread_local SphereOrrery sphereOrrery;

// Start of a frame: the clock, the eye on its looping path 100 units from the centre, the noise
// frame and both spins.
void SphereOrreryAdvance(SphereOrrery& scene, float step);

// Eye position for a clock: always 100 units from the origin.
Vec3 SphereOrreryEye(float clock);

// Quarter lit by the flicker (0 top left, 1 top right, 2 bottom right, 3 bottom left) and its alpha
// (1 when 50 * clock truncated is odd, else 0).
int SphereOrreryFlickerQuarter(float clock);
float SphereOrreryFlickerAlpha(float clock);

// How many of the closing quarters are lit: one more past 170, 180, 190 and 200.
int SphereOrreryClosedQuarters(float clock);

// Which word shows: 0 "everything", 1 "is not", 2 "under", 3 "control", -1 none (open intervals).
int SphereOrreryWord(float clock);

// End of a frame: true once the clock passes 200 (the visit is over).
bool SphereOrreryFinishFrame(const SphereOrrery& scene);
