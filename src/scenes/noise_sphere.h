// Opening noise sphere: its state record and the per-frame steps that need no GL.
#pragma once

#include <cstdint>

#include "scenes/scene_math.h"

// Room for dots; the scene uses 3 per beat, 150 by the time it ends.
constexpr int32_t kNoiseSphereDotSlots = 800;

// Everything the scene remembers from frame to frame. Times are in frameStep units.
struct NoiseSphereState {
    float clock = 0.0f;
    float distance = 200.0f;    // camera distance from the centre
    float speed = 0.5f;         // how fast the distance shrinks; negative after a jump back
    int32_t dives = 0;          // completed dives
    int32_t noiseIndex = 0;     // 0..3, which static-noise texture is bound
    float spin = 0.0f;          // shells' turn about the vertical axis, degrees
    float fieldOffsetX = 0.0f;  // dot field shift, half-screen units
    float fieldOffsetY = 0.0f;
    float fieldScaleX = 1.0f;  // divisor of the dot spacing
    float fieldScaleY = 1.0f;
    float dotLife[kNoiseSphereDotSlots] = {};
    int32_t dotColumn[kNoiseSphereDotSlots] = {};  // 0..39
    int32_t dotRow[kNoiseSphereDotSlots] = {};     // 0..39
    bool invertedTextPrepared = false;             // see DrawGarbledText
};

// The scene's one instance, drawn by NoiseSphereDraw.
extern thread_local NoiseSphereState noiseSphere;

// Camera dive: the distance shrinks ever faster and jumps back out, further each time, when it
// falls below 60.
void NoiseSphereDive(NoiseSphereState& state, float step);

// Beat number: one every 10 units of clock.
int32_t NoiseSphereBeat(const NoiseSphereState& state);

// Camera eye for this frame: on a circle in the x-y plane at the current distance.
Vec3 NoiseSphereEye(const NoiseSphereState& state);

// Moves to the next static-noise frame and returns its entry in sharedTextures (4..7).
int32_t NoiseSphereNextNoise(NoiseSphereState& state);

// Drift and stretch of the dot field in the second half of the scene.
void NoiseSphereDriftField(NoiseSphereState& state, float step);

// Number of dots drawn this frame: 3 per beat, never more than the slots that exist.
int32_t NoiseSphereDotCount(const NoiseSphereState& state);

// Ages dot i by step, rebirths it in a random cell when its life has run out (two Rand() draws:
// column, then row), and says whether it shows this frame.
bool NoiseSphereUpdateDot(NoiseSphereState& state, int32_t i, float step);

// Centre of dot i in half-screen units, after the field's drift and stretch.
float NoiseSphereDotX(const NoiseSphereState& state, int32_t i);
float NoiseSphereDotY(const NoiseSphereState& state, int32_t i);

// Alpha of the garbled text line: 1 while it shows, else 0.
float NoiseSphereTextAlpha(float clock);

// Ten random bytes (each Rand() % 255) and a terminating zero into text[0..10].
void NoiseSphereGarble(char text[11]);

// Whether the white-out quarter that starts at time start is lit at clock (false before start).
bool NoiseSphereQuarterLit(float clock, float start);

// True once the clock has passed the scene's end.
bool NoiseSphereFinished(const NoiseSphereState& state);
