// Tumbling rings: six nested tori turning like a gyroscope, a black strobe and quarter flashes.
#include "scenes/tumbling_rings.h"

#include <cmath>

#include "gfx/gl_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// Rings k = kFirstRing..kLastRing, ring radius 35 + 30 k, tube radius 20, 6 x 14 segments.
constexpr int32_t kFirstRing = 5;
constexpr int32_t kLastRing = 10;
constexpr int32_t kRingCount = kLastRing - kFirstRing + 1;
constexpr float kRingRadiusBase = 35.0f;
constexpr float kRingRadiusStep = 30.0f;
constexpr float kTubeRadius = 20.0f;
constexpr int32_t kTubeSegments = 6;
constexpr int32_t kRingSegments = 14;

constexpr float kSpinPerUnit = 10.0f;
constexpr double kSpinDegreesPerRing = 0.015;  // times ring number and spin

// Camera: a new place every kCameraHold units; single-precision angle divisor.
constexpr float kCameraHold = 5.0f;
constexpr float kAngleDivisor = 6.283184f;
constexpr double kCameraReach = -400.0;
constexpr double kCameraDistanceScale = 200.0;

constexpr float kEndClock = 100.0f;
constexpr float kVisitClockStep = 10.0f;
constexpr float kVisitClockBase = 50.0f;

// Shared texture entries: the white disc and the first of four static-noise frames.
constexpr int32_t kDiscEntry = 1;
constexpr int32_t kNoiseFrames = 4;

struct FlashQuarter {
    float x;
    float y;
};
// Centres in half-screen units (y down): top left, bottom right, bottom left, top right.
constexpr FlashQuarter kFlashCentre[kTumblingRingsFlashCount] = {
    {-0.5f, -0.5f}, {0.5f, 0.5f}, {-0.5f, 0.5f}, {0.5f, -0.5f}};

thread_local Mesh rings[kRingCount];  // rings[k - kFirstRing]
thread_local Camera camera;
thread_local Sprite blackout;
thread_local Sprite flash;

// Ring k's turn in degrees, added to the turns of the rings drawn before it.
float TumblingRingsAngle(const TumblingRingsState& state, int32_t k) {
    return static_cast<float>(static_cast<float>(k) * state.spin * kSpinDegreesPerRing);
}

void FillSharedTextures() {
    if (sharedTextures[kDiscEntry] != nullptr) {
        DiscGenerator disc;
        FillTexture(*sharedTextures[kDiscEntry], &disc);
    }
    NoiseGenerator noise;
    for (int32_t i = 0; i < kNoiseFrames; ++i) {
        if (sharedTextures[kFirstNoiseEntry + i] != nullptr) {
            FillTexture(*sharedTextures[kFirstNoiseEntry + i], &noise);
        }
    }
}

}  // namespace

thread_local TumblingRingsState tumblingRings;
const float kTumblingRingsFlashLimit[kTumblingRingsFlashCount] = {30.0f, 40.0f, 50.0f, 60.0f};

void TumblingRingsReset() {
    tumblingRings = TumblingRingsState{};
}

void TumblingRingsTick(TumblingRingsState& state, float step) {
    state.spin += step * kSpinPerUnit;
    state.clock += step;
}

Vec3 TumblingRingsEye(float clock) {
    const int32_t s = static_cast<int32_t>(clock / kCameraHold);
    const float a = static_cast<float>(10 * s) / kAngleDivisor;
    Vec3 d{static_cast<float>(kCameraReach * std::sin(static_cast<double>(a))), 0.0f,
           static_cast<float>(kCameraReach * std::cos(static_cast<double>(a)))};
    Vec3Normalize(d);
    const float b = static_cast<float>(3 * s) / kAngleDivisor;
    const float r =
        static_cast<float>((std::sin(static_cast<double>(b)) + 1.0) * kCameraDistanceScale);
    return Vec3{r * d.x, r * d.y, r * d.z};
}

int32_t TumblingRingsNextNoise(TumblingRingsState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

float TumblingRingsBlackoutAlpha(float clock) {
    return 0.5 * std::sin(static_cast<double>(4.0f * clock)) >= 0.25 ? 1.0f : 0.0f;
}

bool TumblingRingsFlashDrawn(float clock, int32_t i) {
    return clock < kTumblingRingsFlashLimit[i];
}

float TumblingRingsFlashAlpha(float clock, int32_t i) {
    const float toLimit = kTumblingRingsFlashLimit[i] - clock;
    const double level = std::sin(static_cast<double>(4.0f * clock)) + toLimit * 0.1;
    return level > 0.5 ? 1.0f : 0.0f;
}

bool TumblingRingsAdvance(TumblingRingsState& state) {
    if (!(state.clock > kEndClock)) {
        return false;
    }
    state.visits += 1;
    state.clock = static_cast<float>(state.visits) * kVisitClockStep + kVisitClockBase;
    return true;
}

void TumblingRingsInit() {
    TumblingRingsReset();
    for (int32_t k = kFirstRing; k <= kLastRing; ++k) {
        Mesh& ring = rings[k - kFirstRing];
        BuildTorus(ring, kTubeSegments, kRingSegments,
                   kRingRadiusBase + kRingRadiusStep * static_cast<float>(k), kTubeRadius);
        PrepareDeform(ring);
        PrepareTopFirst(ring);
    }
    CameraSet(camera, 0.0f, 0.0f, -400.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    FillSharedTextures();
}

bool TumblingRingsDraw(const FrameInput& frame) {
    TumblingRingsState& state = tumblingRings;
    TumblingRingsTick(state, frame.frameStep);

    const Vec3 eye = TumblingRingsEye(state.clock);
    camera.eyeX = eye.x;
    camera.eyeY = eye.y;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    SetSphereMapping(false);
    const int32_t noiseEntry = TumblingRingsNextNoise(state);
    EnableCap(GL_TEXTURE_2D);
    bool opaque = false;
    if (sharedTextures[noiseEntry] != nullptr) {
        BindTexture(*sharedTextures[noiseEntry]);
        opaque = TextureOpaque(sharedTextures[noiseEntry]->name);
    }

    // The rotations accumulate: ring k turns by the sum of the angles of rings 10..k.
    glPushMatrix();
    if (TopFirstKeepsPicture(opaque)) {
        // The nested rings cover one another many layers deep. Drawn top first (ring 10 and its
        // outline first), only the top layer is textured; each ring gets the very matrix the
        // forward order builds.
        GLfloat placed[kRingCount][16];
        for (int32_t k = kLastRing; k >= kFirstRing; --k) {
            glRotatef(TumblingRingsAngle(state, k), 0.5f, 0.0f, 1.0f);
            glGetFloatv(GL_MODELVIEW_MATRIX, placed[k - kFirstRing]);
        }
        glLineWidth(1.0f);
        BeginTopFirst();
        for (int32_t k = kFirstRing; k <= kLastRing; ++k) {
            glLoadMatrixf(placed[k - kFirstRing]);
            DrawMeshLinesTopFirst(rings[k - kFirstRing]);
            DrawMeshTopFirst(rings[k - kFirstRing]);
        }
        EndTopFirst();
    } else {
        for (int32_t k = kLastRing; k >= kFirstRing; --k) {
            glRotatef(TumblingRingsAngle(state, k), 0.5f, 0.0f, 1.0f);
            DrawMesh(rings[k - kFirstRing]);
            glLineWidth(1.0f);
            DrawMeshLines(rings[k - kFirstRing]);
        }
    }
    glPopMatrix();

    EnableCap(GL_TEXTURE_2D);
    Begin2D();
    // Textured with the bound noise, coloured black: alpha 1 blacks out the whole frame.
    blackout.x = 0.0f;
    blackout.y = 0.0f;
    blackout.alphaBlend = true;
    blackout.textured = true;
    blackout.halfWidth = 1.0f;
    blackout.halfHeight = 1.0f;
    blackout.rotation = 0.0f;
    DrawSprite(blackout, TumblingRingsBlackoutAlpha(state.clock));
    End2D();
    DisableCap(GL_TEXTURE_2D);

    Begin2D();
    for (int32_t i = 0; i < kTumblingRingsFlashCount; ++i) {
        if (!TumblingRingsFlashDrawn(state.clock, i)) {
            continue;
        }
        flash.x = kFlashCentre[i].x;
        flash.y = kFlashCentre[i].y;
        flash.alphaBlend = false;
        flash.textured = false;
        flash.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
        flash.halfWidth = 0.5f;
        flash.halfHeight = 0.5f;
        flash.rotation = 0.0f;
        DrawSprite(flash, TumblingRingsFlashAlpha(state.clock, i));
    }
    End2D();

    return TumblingRingsAdvance(state);
}

void TumblingRingsStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, tumblingRings);
    AddStateBlock(blocks, camera);
    AddStateBlock(blocks, blackout);
    AddStateBlock(blocks, flash);
}
