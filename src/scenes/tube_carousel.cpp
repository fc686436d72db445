// Tube carousel: eight spinning tubes inside a wire sphere, with a blocky low-resolution phase.
#include "scenes/tube_carousel.h"

#include <cmath>

#include "gfx/gl_state.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr int32_t kTubeSegments = 8;
constexpr int32_t kTubeRings = 1;
constexpr float kTubeRadius = 50.0f;
constexpr float kTubeHeight = 30.0f;
constexpr int32_t kGridCells = 8;
constexpr float kGridSize = 100.0f;
constexpr int32_t kSphereSegments = 32;
constexpr float kSphereRadius = 150.0f;

constexpr int32_t kTubeCount = 8;
constexpr float kTubeAngleStep = 0.785398f;  // radians between neighbouring tubes
constexpr double kCarouselRadius = 200.0;

// Camera: single-precision divisor; the distance holds for kCameraHold units.
constexpr float kAngleDivisor = 3.14159f;
constexpr float kOrbitRate = 0.2f;
constexpr double kOrbitReach = 300.0;
constexpr double kBobReach = 100.0;
constexpr double kBobBase = 200.0;
constexpr float kCameraHold = 3.0f;
constexpr double kDistanceSwing = 100.0;
constexpr double kDistanceBase = 200.0;

constexpr float kBlockyPeriod = 10.0f;

constexpr float kEndClock = 100.0f;
constexpr float kVisitClockStep = 10.0f;
constexpr float kVisitClockBase = 50.0f;

thread_local Mesh tube;
thread_local Mesh grid;
thread_local Mesh sphere;
thread_local Camera camera;

// Sine and cosine of a single-precision angle in double; products stay double until stored.
double Sin(float x) {
    return std::sin(static_cast<double>(x));
}
double Cos(float x) {
    return std::cos(static_cast<double>(x));
}

}  // namespace

thread_local TubeCarouselState tubeCarousel;

void TubeCarouselReset() {
    tubeCarousel = TubeCarouselState{};
}

Vec3 TubeCarouselEye(float clock) {
    const float orbit = kOrbitRate * clock / kAngleDivisor;
    Vec3 d{static_cast<float>(kOrbitReach * Sin(orbit)),
           static_cast<float>(kBobReach * Sin(clock / kAngleDivisor) + kBobBase),
           static_cast<float>(-kOrbitReach * Cos(orbit))};
    Vec3Normalize(d);
    const int32_t s = static_cast<int32_t>(clock / kCameraHold);
    const float r = static_cast<float>(kDistanceSwing * Sin(static_cast<float>(s) / kAngleDivisor) +
                                       kDistanceBase);
    return Vec3{r * d.x, r * d.y, r * d.z};
}

int32_t TubeCarouselNextNoise(TubeCarouselState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

bool TubeCarouselBlocky(float clock) {
    return static_cast<int32_t>(clock / kBlockyPeriod) % 2 == 1;
}

bool TubeCarouselAdvance(TubeCarouselState& state) {
    if (!(state.clock > kEndClock)) {
        return false;
    }
    state.visits += 1;
    state.clock = static_cast<float>(state.visits) * kVisitClockStep + kVisitClockBase;
    return true;
}

void TubeCarouselInit() {
    TubeCarouselReset();
    BuildTube(tube, kTubeSegments, kTubeRings, kTubeRadius, kTubeHeight);
    PrepareDeform(tube);
    BuildGrid(grid, kGridCells, kGridCells, kGridSize, kGridSize);
    PrepareDeform(grid);
    BuildSphere(sphere, kSphereSegments, kSphereRadius);
    PrepareDeform(sphere);
    CameraSet(camera, 0.0f, 50.0f, 300.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
}

bool TubeCarouselDraw(const FrameInput& frame) {
    TubeCarouselState& state = tubeCarousel;
    state.clock += frame.frameStep;

    const Vec3 eye = TubeCarouselEye(state.clock);
    camera.eyeX = eye.x;
    camera.eyeY = eye.y;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    const int32_t noiseEntry = TubeCarouselNextNoise(state);
    if (sharedTextures[noiseEntry] != nullptr) {
        BindTexture(*sharedTextures[noiseEntry]);
    }
    EnableCap(GL_TEXTURE_2D);
    DisableCap(GL_BLEND);

    const bool blocky = TubeCarouselBlocky(state.clock);
    if (blocky) {
        SetCaptureViewport(screenFeedback);
    }

    for (int32_t i = 0; i < kTubeCount; ++i) {
        glPushMatrix();
        const float a = static_cast<float>(i) * kTubeAngleStep;
        glTranslatef(static_cast<float>(kCarouselRadius * Sin(a)), 0.0f,
                     static_cast<float>(-kCarouselRadius * Cos(a)));
        glRotatef(state.clock, 0.0f, 1.0f, 0.0f);
        DrawMesh(tube);
        DrawMeshLines(grid);
        glPopMatrix();
    }
    DrawMeshLines(sphere);

    if (blocky) {
        Begin2D();
        DrawFeedback(screenFeedback, 1, 0.0f);
        End2D();
    }

    return TubeCarouselAdvance(state);
}

void TubeCarouselStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, tubeCarousel);
    AddStateBlock(blocks, camera);
}
