// End titles: tori around a fat hub, glyph noise, credits sliding in and the screen covered cell
// by cell; its visit ends the show.
#include "scenes/end_titles.h"

#include "core/random.h"
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

constexpr float kSwingInEnd = 100.0f;
constexpr float kSwingOutStart = 200.0f;
constexpr float kSwingOutLimit = 300.0f;  // target x at which the swing out stops
constexpr float kWordsFrom = 100.0f;      // open interval of the middle words
constexpr float kWordsTo = 200.0f;
constexpr float kTitlesStart = 250.0f;  // titles after, glyph noise before
constexpr float kBlackStart = 330.0f;
constexpr float kWhiteStart = 350.0f;
constexpr float kCellInterval = 3.0f;
constexpr int32_t kCoveredCells = 24;  // cell 24 (bottom right) is never set
constexpr float kSlideBrake = 0.02f;   // per time unit
constexpr float kSlideMinSpeed = 0.05f;
constexpr float kSceneEnd = 580.0f;

struct Rider {
    float angleRate;  // degrees per time unit
    float axisX, axisY, axisZ;
    float moveX, moveY, moveZ;
};

constexpr Rider kRiders[4] = {
    {6.0f, 1.5f, 1.0f, 1.0f, 40.0f, 0.0f, 0.0f},
    {12.0f, -1.5f, 1.0f, 1.3f, 40.0f, 0.0f, 0.0f},
    {18.0f, -3.5f, 1.8f, 1.3f, 40.0f, 0.0f, 30.0f},
    {3.0f, -6.5f, 12.8f, -7.3f, 50.0f, 0.0f, 30.0f},
};

thread_local Mesh hub;
thread_local Mesh rider;
thread_local Mesh plate;
thread_local Sprite cell;

}  // namespace

thread_local EndTitles endTitles;

void EndTitlesAdvance(EndTitles& scene, float step) {
    scene.clock += step;
    Camera& camera = scene.camera;
    if (camera.targetX > 0.0f && scene.clock < kSwingInEnd) {
        camera.targetX -= 4.0f * step;
        camera.targetY -= 2.0f * step;
        camera.targetZ -= 8.0f * step;
    }
    if (scene.clock > kSwingOutStart && camera.targetX < kSwingOutLimit) {
        camera.eyeZ += 3.0f * step;
        camera.targetX += 4.0f * step;
        camera.targetY += 2.0f * step;
        camera.targetZ += 16.0f * step;
    }
}

void EndTitlesSlide(EndTitles& scene, float step) {
    if (scene.slideSpeed > kSlideMinSpeed) {
        scene.slideSpeed -= kSlideBrake * step;
    }
    if (scene.slideOffset > 0.0f) {
        scene.slideOffset -= scene.slideSpeed * step;
    }
}

void CellCoverStep(CellCover& cover, float step) {
    cover.timer += step;
    if (cover.timer > kCellInterval) {
        cover.timer = 0.0f;
        if (cover.count < kCoveredCells) {
            cover.fill[cover.count] = 1;
        }
        cover.count += 1;
    }
}

void EndTitlesCover(EndTitles& scene, float step) {
    if (scene.clock > kBlackStart) {
        CellCoverStep(scene.black, step);
        if (scene.clock > kWhiteStart) {
            CellCoverStep(scene.white, step);
        }
    }
}

void GlyphNoise(char (&text)[11]) {
    for (int i = 0; i < 10; ++i) {
        text[i] = static_cast<char>(Rand() % 255);
    }
    text[10] = '\0';
}

bool EndTitlesFinishFrame(const EndTitles& scene) {
    return scene.clock > kSceneEnd;
}

void EndTitlesInit() {
    endTitles = EndTitles{};
    cell.alphaBlend = true;
    cell.textured = false;
    cell.halfWidth = 0.2f;
    cell.halfHeight = 0.2f;
    cell.rotation = 0.0f;
    cell.x = 0.0f;
    cell.y = 0.0f;
    cell.color = Color4{0.0f, 0.0f, 0.0f, 1.0f};
    CameraSet(endTitles.camera, 0.0f, 50.0f, 110.0f, 200.0f, 100.0f, 400.0f, 0.0f, 1.0f, 0.0f);
    BuildTorus(hub, 16, 32, 30.0f, 40.0f);
    PrepareDeform(hub);
    BuildTorus(rider, 8, 16, 15.0f, 20.0f);
    PrepareDeform(rider);
    BuildGrid(plate, 1, 1, 200.0f, 200.0f);
    PrepareDeform(plate);
}

namespace {

void DrawGroup(const EndTitles& scene) {
    glPushMatrix();
    glRotatef(4.0f * scene.clock, 1.0f, 1.0f, 1.0f);
    DrawMesh(hub);
    for (const Rider& entry : kRiders) {
        glPushMatrix();
        glRotatef(entry.angleRate * scene.clock, entry.axisX, entry.axisY, entry.axisZ);
        glTranslatef(entry.moveX, entry.moveY, entry.moveZ);
        DrawMesh(rider);
        glPopMatrix();
    }
    DisableCap(GL_TEXTURE_2D);
    DrawMeshTinted(plate, 0.0f, 0.0f, 0.0f);
    glPopMatrix();
}

void DrawTitles(const EndTitles& scene) {
    const float offset = scene.slideOffset;
    PushTextSpace();
    SetTextPosition(smallFont, offset - 1.5f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "%s", "code : wrenic");
    SetTextPosition(smallFont, offset - 1.5f, 0.7f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "%s", "music : tolvane");
    // The spaces leave room for the large capitals printed below: together they spell the title.
    SetTextPosition(smallFont, offset - 1.4f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "%s", "         ale          ortex 2OO3");
    glPopMatrix();

    PushTextSpace();
    SetTextPosition(largeFont, offset - 1.5f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "%s", "P  V");
    glPopMatrix();
}

void DrawCover(const EndTitles& scene) {
    Begin2D();
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 5; ++c) {
            const int k = 5 * r + c;
            cell.x = 0.4f * static_cast<float>(r) - 0.8f;
            cell.y = 0.4f * static_cast<float>(c) - 0.8f;
            if (scene.black.fill[k] != 0) {
                cell.color = Color4{0.0f, 0.0f, 0.0f, 1.0f};
                DrawSprite(cell, 1.0f);
            }
            if (scene.white.fill[k] != 0) {
                cell.color = Color4{1.0f, 1.0f, 1.0f, 1.0f};
                DrawSprite(cell, 1.0f);
            }
        }
    }
    End2D();
}

}  // namespace

bool EndTitlesDraw(const FrameInput& frame) {
    EndTitles& scene = endTitles;
    EnableCap(GL_DEPTH_TEST);
    EndTitlesAdvance(scene, frame.frameStep);
    CameraApply(scene.camera);

    scene.noiseIndex = NextNoiseIndex(scene.noiseIndex);
    if (const Texture* noise = sharedTextures[4 + scene.noiseIndex]) {
        BindTexture(*noise);
    }
    EnableCap(GL_TEXTURE_2D);
    DrawGroup(scene);

    if (scene.clock > kWordsFrom && scene.clock < kWordsTo) {
        PushTextSpace();
        SetTextPosition(smallFont, -1.5f, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(smallFont, "%s", "out of INSPIRATION");
        glPopMatrix();
        PushTextSpace();
        SetTextPosition(largeFont, -2.2f, 0.3f, 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(largeFont, "%s", "out of INSPIRATION");
        glPopMatrix();
    }

    if (scene.clock > kTitlesStart) {
        EndTitlesSlide(scene, frame.frameStep);
        DrawTitles(scene);
        if (scene.clock > kBlackStart) {
            EndTitlesCover(scene, frame.frameStep);
            DrawCover(scene);
        }
    }

    if (scene.clock < kTitlesStart) {
        char text[11];
        GlyphNoise(text);
        // Plain characters, never a format: a per-cent sign among the bytes is drawn as itself.
        PushTextSpace();
        SetTextPosition(largeFont, -2.1f, 0.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        PrintText(largeFont, "%s", text);
        SetTextPosition(largeFont, -1.8f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        PrintText(largeFont, "%s", text);
        glPopMatrix();
    }

    return EndTitlesFinishFrame(scene);
}

void EndTitlesStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, endTitles);
    AddStateBlock(blocks, cell);
}
