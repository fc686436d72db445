// A small scene built from the toolkit and the meshes, drawn as a frame of the show and checked
// where each piece must land.
#include <GL/gl.h>

#include <memory>

#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "toolkit_test_support.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

class SceneCaptureTest : public GlTest {};

TEST_F(SceneCaptureTest, TexturedTintedAndLinedMeshesSpritesAndTextLandWhereTheyBelong) {
    EnsureToolkitResources();
    // A solid blue texture: range zero, base blue.
    std::unique_ptr<Texture> blue(TextureCreate(8, 8));
    ASSERT_TRUE(blue);
    SetColorRange(*blue, {0.0f, 0.0f, 1.0f, 1.0f}, {0.0f, 0.0f, 1.0f, 1.0f});
    FillTexture(*blue, nullptr);

    Mesh box;
    BuildBox(box, 1.0f, 1.0f, 1.0f);
    Mesh grid;
    BuildGrid(grid, 4, 2, 4.0f, 2.0f);

    // One frame as the driver runs it: white clear, identity, the scene, the text-state step.
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    Camera camera;
    CameraSet(camera, 0.0f, 0.0f, 5.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f);
    CameraApply(camera);

    // Left: textured box (white modulated by blue). Depth 5 from the eye: 11.55 x 8.66 visible.
    glPushMatrix();
    glTranslatef(-3.0f, 0.0f, 0.0f);
    EnableCap(GL_TEXTURE_2D);
    BindTexture(*blue);
    DrawMesh(box);
    DisableCap(GL_TEXTURE_2D);
    glPopMatrix();
    // Right: tinted box.
    glPushMatrix();
    glTranslatef(3.0f, 0.0f, 0.0f);
    DrawMeshTinted(box, 1.0f, 0.0f, 0.0f);
    glPopMatrix();
    // Top: the grid's line overlay, turned to face the viewer.
    glPushMatrix();
    glTranslatef(0.0f, 4.0f, 0.0f);
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    DrawMeshLines(grid);
    glPopMatrix();

    // Bottom-left: a green sprite centred at pixel (80, 420).
    const Sprite sprite{.x = -0.75f,
                        .y = 0.75f,
                        .alphaBlend = true,
                        .color = {0.0f, 1.0f, 0.0f, 0.0f},
                        .halfWidth = 0.05f,
                        .halfHeight = 0.05f};
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();

    // Text below the centre, starting at pixel column 251, baseline at row 406.
    PushTextSpace();
    SetTextPosition(smallFont, -0.5f, -1.2f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "HI %d", 5);
    glPopMatrix();
    RestoreFrameTextState();

    const Picture picture = ReadPicture();
    // Boxes: front faces from x -4..-2 (and 2..4) at distance 4 project to columns 182..251
    // (and 389..458), rows 205..275; the inner side faces show beside them.
    EXPECT_EQ(PixelAt(picture, 216, 240), (Rgb{0, 0, 255}));
    EXPECT_GT(CountInRect(picture, Rgb{0, 0, 255}, 170, 170, 260, 310), 69 * 69);
    EXPECT_EQ(PixelAt(picture, 424, 240), (Rgb{255, 0, 0}));
    EXPECT_GT(CountInRect(picture, Rgb{255, 0, 0}, 380, 170, 470, 310), 69 * 69);
    EXPECT_EQ(PixelAt(picture, 320, 240), kWhite);  // nothing between them
    // Grid lines: black strokes around row 129 within columns 210..430, and nowhere above.
    EXPECT_GT(CountInRect(picture, kBlack, 200, 90, 440, 170), 200);
    EXPECT_EQ(CountInRect(picture, kBlack, 0, 0, 640, 80), 0);
    // Sprite.
    EXPECT_EQ(PixelAt(picture, 80, 420), (Rgb{0, 255, 0}));
    EXPECT_EQ(CountPixels(picture, Rgb{0, 255, 0}), 32 * 24);
    // Text: black glyphs just above the baseline row, right of the start column.
    EXPECT_GT(CountInRect(picture, kBlack, 248, 380, 340, 408), 150);
    EXPECT_EQ(CountInRect(picture, kBlack, 0, 380, 240, 480), 0);
    // The corners stay white.
    EXPECT_EQ(PixelAt(picture, 5, 5), kWhite);
    EXPECT_EQ(PixelAt(picture, 634, 474), kWhite);
}

}  // namespace
