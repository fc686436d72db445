// Wobbling core: a waving noise sphere inside turning wire shells, the camera pulling out and back.
#include "scenes/wobbling_core.h"

#include <cmath>

#include "gfx/bitmap_font.h"
#include "gfx/texture.h"
#include "mesh/deformers.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/closing_constants.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr float kSpeedGrowth = 0.05f;  // per time unit
constexpr float kClimbRatio = 0.5f;    // eye y moves half as far as eye z
constexpr float kStartEyeY = 10.0f;
constexpr float kStartEyeZ = 30.0f;
constexpr int32_t kPullOutReach = 100;  // first snap-back when eye z passes this
constexpr int32_t kPullOutGrowth = 20;  // each later pull-out reaches this much further
constexpr float kSceneEnd = 200.0f;
constexpr int kShellCount = 5;

thread_local Mesh core;
thread_local Mesh shells[kShellCount];

}  // namespace

thread_local WobblingCore wobblingCore;

void WobblingCoreAdvance(WobblingCore& scene, float step) {
    scene.speed += kSpeedGrowth * step;
    scene.clock += step;
    const float d = step * scene.speed;
    scene.camera.eyeZ += d;
    scene.camera.eyeY += kClimbRatio * d;
}

void WobblingCoreSnapBack(WobblingCore& scene) {
    const int32_t reach = kPullOutGrowth * scene.pullOuts + kPullOutReach;
    if (scene.camera.eyeZ > static_cast<float>(reach)) {
        scene.camera.eyeZ = kStartEyeZ;
        scene.pullOuts += 1;
        scene.camera.eyeY = kStartEyeY;
    }
}

float WobblingCoreShellAngle(float clock) {
    return static_cast<float>(30 * static_cast<int32_t>(clock / 10.0f));
}

int WobblingCoreWords(float clock) {
    if (clock < 60.0f) {
        return 0;
    }
    if (clock < 120.0f) {
        return 1;
    }
    if (clock < 180.0f) {
        return 2;
    }
    return -1;
}

float WobblingCoreTremble(float clock) {
    return static_cast<float>(0.1 * std::sin(static_cast<double>(10.0f * clock)));
}

bool WobblingCoreFinishFrame(const WobblingCore& scene) {
    return scene.clock > kSceneEnd;
}

void WobblingCoreInit() {
    wobblingCore = WobblingCore{};
    CameraSet(wobblingCore.camera, 0.0f, kStartEyeY, kStartEyeZ, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f,
              0.0f);
    BuildSphere(core, 16, 30.0f);
    PrepareDeform(core);
    PrepareTopFirst(core);
    // Radii 60, 140, 220, 300, 380.
    for (int i = 0; i < kShellCount; ++i) {
        BuildSphere(shells[i], 16, 60.0f + 80.0f * static_cast<float>(i));
        PrepareDeform(shells[i]);
    }
}

bool WobblingCoreDraw(const FrameInput& frame) {
    WobblingCore& scene = wobblingCore;
    WobblingCoreAdvance(scene, frame.frameStep);
    CameraApply(scene.camera);
    // Deliberately after CameraApply: the frame that crosses the limit is still seen from afar.
    WobblingCoreSnapBack(scene);

    EnableCap(GL_TEXTURE_2D);
    scene.noiseIndex = NextNoiseIndex(scene.noiseIndex);
    bool opaque = false;
    if (const Texture* noise = sharedTextures[4 + scene.noiseIndex]) {
        BindTexture(*noise);
        opaque = TextureOpaque(noise->name);
    }

    SavePositions(core);
    WaveAlongX(core, 0.0f, 1.0f, 0.0f, 10.0f, scene.clock, 3.0f);
    if (TopFirstKeepsPicture(opaque)) {
        // Right after a snap-back the core fills the screen four layers deep (the sphere mesh
        // covers its surface twice): drawn top first, its outline then the sphere.
        BeginTopFirst();
        DrawMeshLinesTopFirst(core);
        DrawMeshTopFirst(core);
        EndTopFirst();
    } else {
        DrawMesh(core);
        DrawMeshLines(core);
    }
    RestorePositions(core);

    const float angle = WobblingCoreShellAngle(scene.clock);
    for (const Mesh& shell : shells) {
        glPushMatrix();
        glRotatef(angle, 1.0f, 1.0f, 1.0f);
        DrawMeshLines(shell);
        glPopMatrix();
    }

    const float w = WobblingCoreTremble(scene.clock);
    switch (WobblingCoreWords(scene.clock)) {
        case 0:
            PushTextSpace();
            SetTextPosition(largeFont, -2.0f, w + 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
            PrintText(largeFont, "%s", "YOU have");
            glPopMatrix();
            break;
        case 1:
            PushTextSpace();
            SetTextPosition(largeFont, -1.5f, w + 0.6f, 0.0f, 0.0f, 0.0f, 1.0f);
            PrintText(largeFont, "%s", "been");
            glPopMatrix();
            break;
        case 2:
            PushTextSpace();
            SetTextPosition(largeFont, -1.5f, w + 0.6f, 0.0f, 0.0f, 0.0f, 1.0f);
            PrintText(largeFont, "%s", "brain");
            SetTextPosition(largeFont, -1.2f, w + 0.2f, 0.0f, 0.0f, 0.0f, 1.0f);
            PrintText(largeFont, "%s", "washed");
            glPopMatrix();
            break;
        default:
            break;
    }

    return WobblingCoreFinishFrame(scene);
}

void WobblingCoreStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, wobblingCore);
}
