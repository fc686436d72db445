// Opening noise sphere: waving noise sphere in line shells, diving camera, dots, text, white-out.
#include "scenes/noise_sphere.h"

#include <cmath>

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "mesh/deformers.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/scene_math.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

// The scene's single-precision constants, as the motion was tuned with them.
constexpr float kTurn = 6.283184f;         // divisor of the camera's angles
constexpr float kEnd = 500.0f;             // the scene hands over once its clock passes this
constexpr float kDiveAcceleration = 0.2f;  // speed gained per frame, times (dives * step + 1)
constexpr float kDiveThreshold = 2.0f;     // the distance shrinks only while speed exceeds this
constexpr float kDiveFloor = 60.0f;        // a dive ends when the distance falls below this
constexpr float kDotSpacing = 0.05f;       // one grid cell, half-screen units (16 x 12 pixels)
constexpr float kDotHalfSize = 0.025f;
constexpr float kFieldDrift = 0.02f;    // field offset change per unit
constexpr float kFieldStretchX = 0.3f;  // field scale change per unit
constexpr float kFieldStretchY = 0.2f;
constexpr float kFieldOffsetLimit = -0.55f;
constexpr int32_t kShellCount = 5;
constexpr int32_t kGarbleLength = 10;

// One quarter of the white-out: when it starts and where its centre is.
struct WhiteOutQuarter {
    float start;
    float x;
    float y;
};
constexpr WhiteOutQuarter kWhiteOut[4] = {
    {450.0f, -0.5f, -0.5f},  // top left
    {460.0f, 0.5f, 0.5f},    // bottom right
    {470.0f, -0.5f, 0.5f},   // bottom left
    {480.0f, 0.5f, -0.5f},   // top right
};

thread_local Camera camera;
thread_local Mesh core;
thread_local Mesh shells[kShellCount];
// The shells never change shape, so their line overlays are recorded once (RecordMeshLines).
thread_local GLuint shellLines = 0;
thread_local Sprite dotSprite;
thread_local Sprite whiteOutSprite;

}  // namespace

thread_local NoiseSphereState noiseSphere;

void NoiseSphereDive(NoiseSphereState& state, float step) {
    // The constant part is added once per frame, so the rhythm depends on the frame rate.
    state.speed = state.speed + (static_cast<float>(state.dives) * step + 1.0f) * kDiveAcceleration;
    if (state.speed > kDiveThreshold) {
        state.distance = state.distance - state.speed;
    }
    if (state.distance < kDiveFloor) {
        state.dives = state.dives + 1;
        state.distance = static_cast<float>(50 * state.dives + 60);
        state.speed = static_cast<float>(-(5 * state.dives + 4));
    }
}

int32_t NoiseSphereBeat(const NoiseSphereState& state) {
    return static_cast<int32_t>(state.clock / 10.0f);
}

Vec3 NoiseSphereEye(const NoiseSphereState& state) {
    Vec3 direction{90.0f * SinF(state.clock * 0.3f / kTurn),
                   150.0f * SinF(state.clock * 0.6f / kTurn), 0.0f};
    if (Vec3Length(direction) == 0.0f) {
        // Clock 0 (a first frame with step 0) has no direction: take the one the circle starts
        // out along as the clock grows, so the next frame continues smoothly from it.
        direction = Vec3{90.0f * 0.3f, 150.0f * 0.6f, 0.0f};
    }
    Vec3Normalize(direction);
    return Vec3{direction.x * state.distance, direction.y * state.distance,
                direction.z * state.distance};
}

int32_t NoiseSphereNextNoise(NoiseSphereState& state) {
    state.noiseIndex = NextNoiseIndex(state.noiseIndex);
    return kFirstNoiseEntry + state.noiseIndex;
}

void NoiseSphereDriftField(NoiseSphereState& state, float step) {
    if (280.0f < state.clock && state.clock < 400.0f) {
        if (state.fieldOffsetX > kFieldOffsetLimit) {
            state.fieldOffsetX = state.fieldOffsetX - kFieldDrift * step;
            state.fieldScaleX = state.fieldScaleX + kFieldStretchX * step;
        }
        if (state.fieldOffsetY > kFieldOffsetLimit) {
            state.fieldOffsetY = state.fieldOffsetY - kFieldDrift * step;
            state.fieldScaleY = state.fieldScaleY + kFieldStretchY * step;
        }
    } else if (state.clock > 400.0f) {
        if (state.fieldOffsetX < 0.0f) {
            state.fieldOffsetX = state.fieldOffsetX + kFieldDrift * step;
            state.fieldScaleX = state.fieldScaleX - kFieldStretchX * step;
        }
        if (state.fieldOffsetY < 0.0f) {
            state.fieldOffsetY = state.fieldOffsetY + kFieldDrift * step;
            state.fieldScaleY = state.fieldScaleY - kFieldStretchY * step;
        }
    }
}

int32_t NoiseSphereDotCount(const NoiseSphereState& state) {
    const int32_t count = 3 * NoiseSphereBeat(state);
    // A clock far past the end (one huge step) would ask for more dots than there are slots.
    if (count > kNoiseSphereDotSlots) {
        return kNoiseSphereDotSlots;
    }
    return count < 0 ? 0 : count;
}

bool NoiseSphereUpdateDot(NoiseSphereState& state, int32_t i, float step) {
    const float lifeSpan = 0.2f * static_cast<float>(i) + 3.0f;
    state.dotLife[i] = state.dotLife[i] - step;
    if (state.dotLife[i] <= 0.0f) {
        state.dotLife[i] = lifeSpan;
        state.dotColumn[i] = Rand() % 40;
        state.dotRow[i] = Rand() % 40;
    }
    const float age = lifeSpan - state.dotLife[i];
    return age * 0.05f >= 0.03f;
}

float NoiseSphereDotX(const NoiseSphereState& state, int32_t i) {
    return static_cast<float>(state.dotColumn[i] - 20) * kDotSpacing / state.fieldScaleX +
           state.fieldOffsetX;
}

float NoiseSphereDotY(const NoiseSphereState& state, int32_t i) {
    return static_cast<float>(state.dotRow[i] - 20) * kDotSpacing / state.fieldScaleY +
           state.fieldOffsetY;
}

float NoiseSphereTextAlpha(float clock) {
    float a = 0.0f;
    if (270.0f < clock && clock < 400.0f) {
        a = (clock - 270.0f) * 0.02f;
    }
    if (clock > 400.0f) {
        a = (450.0f - clock) * 0.05f;
    }
    return a >= 0.5f ? 1.0f : 0.0f;
}

void NoiseSphereGarble(char text[kGarbleLength + 1]) {
    for (int32_t k = 0; k < kGarbleLength; ++k) {
        text[k] = static_cast<char>(Rand() % 255);
    }
    text[kGarbleLength] = 0;
}

bool NoiseSphereQuarterLit(float clock, float start) {
    if (!(clock > start)) {
        return false;
    }
    const float v = SinF(clock * 4.0f) + (clock - start) * 0.1f;
    return v > 0.5f;
}

bool NoiseSphereFinished(const NoiseSphereState& state) {
    return state.clock > kEnd;
}

void NoiseSphereInit() {
    CameraSet(camera, 0.0f, 100.0f, -100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    BuildSphere(core, 16, 50.0f);
    PrepareDeform(core);
    for (int32_t k = 0; k < kShellCount; ++k) {
        BuildSphere(shells[k], 32, 300.0f + 150.0f * static_cast<float>(k));
    }
    shellLines = RecordMeshLines(shellLines, shells, kShellCount);
}

namespace {

void DrawShells(NoiseSphereState& state, float step, int32_t beat) {
    glPushMatrix();
    glRotatef(static_cast<float>(beat * 45), 1.0f, 0.0f, 0.0f);
    state.spin = state.spin + 2.0f * step;
    glRotatef(state.spin, 0.0f, 1.0f, 0.0f);
    CallMeshLines(shellLines, shells, kShellCount);
    glPopMatrix();
}

void DrawCore(const NoiseSphereState& state) {
    glPushMatrix();
    SavePositions(core);
    WaveAlongX(core, -1.0f, -1.0f, -1.0f, 8.0f, state.clock, 0.5f);
    WaveAlongZ(core, 1.0f, 1.0f, 1.0f, 8.0f, state.clock, 0.5f);
    DisableCap(GL_BLEND);
    EnableCap(GL_TEXTURE_2D);
    DrawMesh(core);
    DisableCap(GL_TEXTURE_2D);
    glLineWidth(1.0f);
    DrawMeshLines(core);
    RestorePositions(core);
    glPopMatrix();
}

void DrawDotField(NoiseSphereState& state, float step) {
    dotSprite.textured = false;
    NoiseSphereDriftField(state, step);
    const int32_t count = NoiseSphereDotCount(state);
    bool drawnOne = false;
    for (int32_t i = 0; i < count; ++i) {
        const bool visible = NoiseSphereUpdateDot(state, i, step);
        dotSprite.alphaBlend = true;
        dotSprite.x = NoiseSphereDotX(state, i);
        dotSprite.y = NoiseSphereDotY(state, i);
        dotSprite.color = Color4{0.0f, 0.0f, 0.0f, 1.0f};
        dotSprite.halfWidth = kDotHalfSize;
        dotSprite.halfHeight = kDotHalfSize;
        // A hidden dot (alpha 0 over an alpha blend) changes no pixel, and every dot leaves the
        // same GL state behind, so once one dot is drawn the hidden ones are skipped: interleaving
        // hidden and shown sprites costs the software renderer some twenty times more.
        if (!visible && drawnOne) {
            continue;
        }
        // A freak step can bring a field scale to exactly 0; such a dot has no place to go.
        if (std::isfinite(dotSprite.x) && std::isfinite(dotSprite.y)) {
            DrawSprite(dotSprite, visible ? 1.0f : 0.0f);
            drawnOne = true;
        }
    }
}

// Prints the text twice in inverting mode, with the depth test off as it is when the text shows:
// the second print undoes the first, so no pixel changes, but the driver builds its inverted-text
// path now rather than in the frame that first shows the text, where it cost a stutter.
void PrepareInvertedText(const char* garble, float a) {
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_DEPTH_TEST);
    EnableLogicOp(GL_INVERT);
    for (int pass = 0; pass < 2; ++pass) {
        SetTextPosition(smallFont, -0.8f, 1.0f, 0.0f, 0.0f, 0.0f, a);
        PrintText(smallFont, "art[%s]", garble);
    }
    glPopAttrib();
}

void DrawGarbledText(NoiseSphereState& state) {
    const float a = NoiseSphereTextAlpha(state.clock);
    PushTextSpace();
    // The bytes are drawn every frame, shown or not, so the random sequence moves on regardless.
    char garble[kGarbleLength + 1];
    NoiseSphereGarble(garble);
    if (!state.invertedTextPrepared) {
        state.invertedTextPrepared = true;
        PrepareInvertedText(garble, a);
    }
    SetTextPosition(smallFont, -0.8f, 1.0f, 0.0f, 0.0f, 0.0f, a);
    if (a == 1.0f) {
        EnableLogicOp(GL_INVERT);
        PrintText(smallFont, "art[%s]", garble);
        DisableLogicOp();
    }
    glPopMatrix();
}

void DrawWhiteOut(float clock) {
    for (const WhiteOutQuarter& quarter : kWhiteOut) {
        if (clock > quarter.start) {
            whiteOutSprite.alphaBlend = false;
            whiteOutSprite.x = quarter.x;
            whiteOutSprite.y = quarter.y;
            whiteOutSprite.halfWidth = 0.5f;
            whiteOutSprite.halfHeight = 0.5f;
            whiteOutSprite.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
            DrawSprite(whiteOutSprite, NoiseSphereQuarterLit(clock, quarter.start) ? 1.0f : 0.0f);
        }
    }
}

}  // namespace

bool NoiseSphereDraw(const FrameInput& frame) {
    NoiseSphereState& state = noiseSphere;
    const float step = frame.frameStep;
    state.clock = state.clock + step;
    NoiseSphereDive(state, step);
    const int32_t beat = NoiseSphereBeat(state);

    const Vec3 eye = NoiseSphereEye(state);
    camera.eyeX = eye.x;
    camera.eyeY = eye.y;
    camera.eyeZ = eye.z;
    CameraApply(camera);

    if (Texture* noise = sharedTextures[NoiseSphereNextNoise(state)]) {
        BindTexture(*noise);
    }
    EnableCap(GL_TEXTURE_2D);
    glLineWidth(1.0f);

    DrawShells(state, step, beat);
    DrawCore(state);

    Begin2D();
    DrawDotField(state, step);
    End2D();

    DrawGarbledText(state);

    Begin2D();
    DrawWhiteOut(state.clock);
    End2D();
    return NoiseSphereFinished(state);
}

void NoiseSphereStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, noiseSphere);
    AddStateBlock(blocks, camera);
    AddStateBlock(blocks, dotSprite);
    AddStateBlock(blocks, whiteOutSprite);
}
