// Greetings scroll: four tumbling tori and a list of names rising through the 3D scene.
#include "scenes/greetings_scroll.h"

#include "gfx/bitmap_font.h"
#include "gfx/texture.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"
#include "scenes/closing_constants.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr float kRiseSpeed = 0.15f;  // world units per time unit
constexpr float kSpinRate = 10.0f;   // degrees per time unit
constexpr float kSceneEnd = 200.0f;

struct GreetingLine {
    const char* text;
    float offset;  // world units relative to the rising baseline
};

constexpr GreetingLine kLines[kGreetingLineCount] = {
    {"Greetings:", 0.5f}, {"marblequay", -1.5f}, {"lunarwhistle", -3.5f}, {"pulvik", -5.5f},
    {"7prism", -7.5f},    {"vesto", -9.5f},      {"kalmor", -11.5f},      {"dremp", -13.5f},
    {"zov", -15.5f},      {"quimbelt", -17.5f},
};

thread_local Mesh ring;

}  // namespace

thread_local GreetingsScroll greetingsScroll;

const char* GreetingText(int line) {
    return kLines[line].text;
}

float GreetingLineY(float clock, int line) {
    return kRiseSpeed * clock + kLines[line].offset;
}

void GreetingsScrollAdvance(GreetingsScroll& scene, float step) {
    scene.clock += step;
    scene.camera.eyeX = 3.0f * SinF(scene.clock / kTurnDivisor);
    scene.noiseIndex = NextNoiseIndex(scene.noiseIndex);
}

bool GreetingsScrollFinishFrame(const GreetingsScroll& scene) {
    return scene.clock > kSceneEnd;
}

void GreetingsScrollInit() {
    greetingsScroll = GreetingsScroll{};
    CameraSet(greetingsScroll.camera, -2.0f, 0.0f, 5.0f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    BuildTorus(ring, 16, 16, 5.0f, 3.0f);
    PrepareDeform(ring);
}

bool GreetingsScrollDraw(const FrameInput& frame) {
    GreetingsScroll& scene = greetingsScroll;
    GreetingsScrollAdvance(scene, frame.frameStep);
    CameraApply(scene.camera);

    // An entry whose texture could not be allocated stays null: draw untextured-as-bound then.
    if (const Texture* noise = sharedTextures[4 + scene.noiseIndex]) {
        BindTexture(*noise);
    }
    EnableCap(GL_TEXTURE_2D);

    for (int j = 0; j < 4; ++j) {
        glPushMatrix();
        glTranslatef(-2.0f + 10.0f * static_cast<float>(j), 0.0f,
                     -7.0f - 2.0f * static_cast<float>(j));
        glRotatef(kSpinRate * scene.clock, 1.0f, 1.0f, 0.0f);
        EnableCap(GL_TEXTURE_2D);
        DrawMesh(ring);
        DisableCap(GL_TEXTURE_2D);
        DrawMeshLines(ring);
        glPopMatrix();
    }

    // Under the camera matrix, so the names sway with the view; a line whose anchor projects
    // outside the window is dropped by the raster-position rule.
    for (int line = 0; line < kGreetingLineCount; ++line) {
        SetTextPosition(smallFont, 0.0f, GreetingLineY(scene.clock, line), 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(smallFont, "%s", GreetingText(line));
    }

    return GreetingsScrollFinishFrame(scene);
}

void GreetingsScrollStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, greetingsScroll);
}
