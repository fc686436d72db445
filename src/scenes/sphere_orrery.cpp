// Sphere orrery: a turning sun with planets and satellites in a wire cage, flickering quarters.
#include "scenes/sphere_orrery.h"

#include <cmath>
#include <cstdint>

#include "gfx/bitmap_font.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/closing_constants.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr float kEyeDistance = 100.0f;
constexpr float kSunSpinRate = 4.0f;     // degrees per time unit
constexpr float kPlanetSpinRate = 4.4f;  // degrees per time unit
constexpr float kSceneEnd = 200.0f;

// Centres of the quarters in half-screen units, in flicker order: top left, top right,
// bottom right, bottom left. The closing quarters light in the same order.
constexpr float kQuarterX[4] = {-0.5f, 0.5f, 0.5f, -0.5f};
constexpr float kQuarterY[4] = {-0.5f, -0.5f, 0.5f, 0.5f};
constexpr float kClosingStart[4] = {170.0f, 180.0f, 190.0f, 200.0f};

struct OrreryWord {
    const char* text;
    float from;  // open interval of the clock
    float to;
    float x;      // text-space position
    float baseY;  // y before the tremble
    float shift;  // the tremble's argument is factor * (clock - shift)
    float factor;
};

constexpr OrreryWord kWords[4] = {
    {"everything", 30.0f, 60.0f, -2.0f, 1.0f, 0.0f, 10.0f},
    {"is not", 60.0f, 90.0f, -1.2f, 0.5f, 30.0f, 10.0f},
    {"under", 90.0f, 105.0f, -0.9f, 0.0f, 60.0f, 12.0f},
    {"control", 105.0f, 155.0f, -2.0f, -0.5f, 90.0f, 10.0f},
};

thread_local Mesh sun;
thread_local Mesh planet;
thread_local Mesh satellite;
thread_local Mesh cage;
thread_local Sprite flash;

void SetFlashQuarter(int quarter) {
    flash.x = kQuarterX[quarter];
    flash.y = kQuarterY[quarter];
}

}  // namespace

thread_local SphereOrrery sphereOrrery;

Vec3 SphereOrreryEye(float clock) {
    const float b = static_cast<float>(static_cast<double>(clock) / kHalfTurnDivisor / 2.0);
    const float a = 1.2f * b;
    Vec3 eye{-CosF(a), SinF(a), SinF(2.6f * b)};
    Vec3Normalize(eye);
    eye.x *= kEyeDistance;
    eye.y *= kEyeDistance;
    eye.z *= kEyeDistance;
    return eye;
}

void SphereOrreryAdvance(SphereOrrery& scene, float step) {
    scene.clock += step;
    const Vec3 eye = SphereOrreryEye(scene.clock);
    scene.camera.eyeX = eye.x;
    scene.camera.eyeY = eye.y;
    scene.camera.eyeZ = eye.z;
    scene.noiseIndex = NextNoiseIndex(scene.noiseIndex);
    scene.sunSpin += kSunSpinRate * step;
    scene.planetSpin += kPlanetSpinRate * step;
}

int SphereOrreryFlickerQuarter(float clock) {
    return static_cast<int32_t>(clock) % 4;
}

float SphereOrreryFlickerAlpha(float clock) {
    return static_cast<int32_t>(50.0f * clock) % 2 != 0 ? 1.0f : 0.0f;
}

int SphereOrreryClosedQuarters(float clock) {
    int lit = 0;
    for (const float start : kClosingStart) {
        if (clock > start) {
            ++lit;
        }
    }
    return lit;
}

int SphereOrreryWord(float clock) {
    for (int i = 0; i < 4; ++i) {
        if (clock > kWords[i].from && clock < kWords[i].to) {
            return i;
        }
    }
    return -1;
}

bool SphereOrreryFinishFrame(const SphereOrrery& scene) {
    return scene.clock > kSceneEnd;
}

void SphereOrreryInit() {
    sphereOrrery = SphereOrrery{};
    // Additive white quarter of the screen, untextured.
    flash.alphaBlend = false;
    flash.textured = false;
    flash.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
    flash.halfWidth = 0.5f;
    flash.halfHeight = 0.5f;
    flash.rotation = 0.0f;
    flash.x = 0.0f;
    flash.y = 0.0f;
    CameraSet(sphereOrrery.camera, 0.0f, 0.0f, 100.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    BuildSphere(sun, 32, 50.0f);
    PrepareDeform(sun);
    BuildSphere(planet, 16, 25.0f);
    PrepareDeform(planet);
    BuildSphere(satellite, 8, 12.5f);
    PrepareDeform(satellite);
    BuildSphere(cage, 32, 90.0f);
    PrepareDeform(cage);
}

bool SphereOrreryDraw(const FrameInput& frame) {
    SphereOrrery& scene = sphereOrrery;
    SphereOrreryAdvance(scene, frame.frameStep);
    CameraApply(scene.camera);

    if (const Texture* noise = sharedTextures[4 + scene.noiseIndex]) {
        BindTexture(*noise);
    }
    EnableCap(GL_TEXTURE_2D);

    // Every rotation of the system is about (1, 1, 1).
    glPushMatrix();
    glRotatef(scene.sunSpin, 1.0f, 1.0f, 1.0f);
    DrawMesh(sun);

    glPushMatrix();
    glTranslatef(-50.0f, 0.0f, 0.0f);
    glRotatef(scene.planetSpin, 1.0f, 1.0f, 1.0f);
    DrawMesh(planet);
    glPopMatrix();

    glPushMatrix();
    glTranslatef(50.0f, 0.0f, 0.0f);
    DrawMesh(planet);
    // This spin carries the satellites, not the right planet itself.
    glRotatef(scene.planetSpin, 1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(25.0f, 0.0f, 0.0f);
    DrawMesh(satellite);
    glPopMatrix();
    glPushMatrix();
    glTranslatef(-50.0f, 0.0f, 0.0f);
    DrawMesh(satellite);
    glPopMatrix();
    glPopMatrix();

    glPopMatrix();
    DrawMeshLines(cage);

    SetFlashQuarter(SphereOrreryFlickerQuarter(scene.clock));
    Begin2D();
    DrawSprite(flash, SphereOrreryFlickerAlpha(scene.clock));
    const int closed = SphereOrreryClosedQuarters(scene.clock);
    for (int quarter = 0; quarter < closed; ++quarter) {
        SetFlashQuarter(quarter);
        DrawSprite(flash, 1.0f);
    }
    End2D();

    const int word = SphereOrreryWord(scene.clock);
    if (word >= 0) {
        const OrreryWord& entry = kWords[word];
        const float argument = entry.factor * (scene.clock - entry.shift);
        // The tremble's product and the sum are formed in double, then handed over as float.
        const double y = entry.baseY + 0.1 * std::sin(static_cast<double>(argument));
        PushTextSpace();
        SetTextPosition(largeFont, entry.x, static_cast<float>(y), 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(largeFont, "%s", entry.text);
        glPopMatrix();
    }

    return SphereOrreryFinishFrame(scene);
}

void SphereOrreryStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, sphereOrrery);
    AddStateBlock(blocks, flash);
}
