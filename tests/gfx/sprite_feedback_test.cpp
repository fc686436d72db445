// Sprites and the feedback glow drawn on the software renderer and read back.
#include <cmath>
#include <memory>
#include <vector>

#include "gfx/gl_state.h"
#include "gfx/screen_feedback.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gl_test.h"
#include "platform/gl.h"
#include "toolkit_test_support.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

Sprite WhiteSprite(float x, float y, float halfWidth, float halfHeight) {
    // The record's alpha is not used.
    return {.x = x,
            .y = y,
            .alphaBlend = true,
            .color = {1.0f, 1.0f, 1.0f, 0.0f},
            .halfWidth = halfWidth,
            .halfHeight = halfHeight};
}

Picture DrawAlone(const Sprite& sprite) {
    glClear(GL_COLOR_BUFFER_BIT);
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();
    return ReadPicture();
}

// Colours by quadrant of a 2 x 2 texture: texel (x, y) at u, v = -1 or 0.
struct QuadrantGenerator : TextureGenerator {
    Color4 ColorAt(float u, float v) override {
        if (v < 0.0f) {
            return u < 0.0f ? Color4{1, 0, 0, 1} : Color4{0, 1, 0, 1};
        }
        return u < 0.0f ? Color4{0, 0, 1, 1} : Color4{1, 1, 1, 1};
    }
};

class SpriteTest : public GlTest {};

TEST_F(SpriteTest, SpritesCoverExactlyTheirAreaAndRotateAboutTheTopLeftCorner) {
    // A full-size sprite centred at (320, -240) is above the screen until turned 90 degrees,
    // which takes (x, y) to (-y, x): it then covers x 0..480, y 0..640.
    const struct {
        float x, y, half, rotation;
        int32_t left, top, width, height;
    } cases[] = {{-0.5f, -0.5f, 0.5f, 0.0f, 0, 0, 320, 240},
                 {0.5f, 0.5f, 0.5f, 0.0f, 320, 240, 320, 240},
                 {0.0f, 0.0f, 1.0f, 0.0f, 0, 0, 640, 480},
                 {0.0f, -2.0f, 1.0f, 0.0f, 0, 0, 0, 0},
                 {0.0f, -2.0f, 1.0f, 90.0f, 0, 0, 480, 480}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "sprite at " << c.x << "," << c.y << " " << c.rotation);
        Sprite sprite = WhiteSprite(c.x, c.y, c.half, c.half);
        sprite.rotation = c.rotation;
        const Picture picture = DrawAlone(sprite);
        const int32_t area = c.width * c.height;
        EXPECT_EQ(CountInRect(picture, kWhite, c.left, c.top, c.left + c.width, c.top + c.height),
                  area);
        EXPECT_EQ(CountPixels(picture, kWhite), area);
    }
}

TEST_F(SpriteTest, AdditiveWhiteGivesWhiteAlphaBlendMixesWhateverTheStateBefore) {
    Begin2D();
    FillRect2D(0.0f, 0.0f, 640.0f, 480.0f, 0.2f, 0.4f, 0.6f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    Sprite additive = WhiteSprite(-0.5f, 0.0f, 0.5f, 1.0f);
    additive.alphaBlend = false;
    DrawSprite(additive, 1.0f);
    Sprite half = WhiteSprite(0.5f, 0.0f, 0.5f, 1.0f);
    half.color = {1.0f, 0.0f, 0.0f, 1.0f};
    DrawSprite(half, 0.5f);
    End2D();
    const Picture picture = ReadPicture();
    EXPECT_EQ(CountInRect(picture, kWhite, 0, 0, 320, 480), 320 * 480);
    const Rgb mixed = PixelAt(picture, 480, 240);
    EXPECT_NEAR(mixed.r, (255 + 51) / 2, 2);
    EXPECT_NEAR(mixed.g, 102 / 2, 2);
    EXPECT_NEAR(mixed.b, 153 / 2, 2);
}

TEST_F(SpriteTest, TextureShowsUprightAndMirrored) {
    std::unique_ptr<Texture> texture(TextureCreate(2, 2));
    ASSERT_TRUE(texture);
    QuadrantGenerator quadrants;
    FillTexture(*texture, &quadrants);
    Sprite sprite = WhiteSprite(0.0f, 0.0f, 1.0f, 1.0f);
    sprite.textured = true;
    const Picture picture = DrawAlone(sprite);
    glDisable(GL_TEXTURE_2D);
    // Texel row 1 (t high) at the top, texel column 1 (s high) on the left.
    EXPECT_EQ(PixelAt(picture, 100, 100), kWhite);            // texel (1, 1)
    EXPECT_EQ(PixelAt(picture, 540, 100), (Rgb{0, 0, 255}));  // texel (0, 1)
    EXPECT_EQ(PixelAt(picture, 100, 380), (Rgb{0, 255, 0}));  // texel (1, 0)
    EXPECT_EQ(PixelAt(picture, 540, 380), (Rgb{255, 0, 0}));  // texel (0, 0)
}

// Draws a distinct colour into each pixel of the 64 x 64 capture corner (red 4 x column, green
// 4 x row from the bottom, blue 77) after clearing to blue `clearBlue`, and runs the glow.
Picture CaptureAndDraw(ScreenFeedback& feedback, float clearBlue, int32_t layers, float spread) {
    glClearColor(0.0f, 0.0f, clearBlue, 1.0f);
    SetCaptureViewport(feedback);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 64.0, 0.0, 64.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_POINTS);
    for (int i = 0; i < 64; ++i) {
        for (int j = 0; j < 64; ++j) {
            glColor3ub(static_cast<GLubyte>(i * 4), static_cast<GLubyte>(j * 4), 77);
            glVertex2f(static_cast<float>(i) + 0.5f, static_cast<float>(j) + 0.5f);
        }
    }
    glEnd();
    Begin2D();
    DrawFeedback(feedback, layers, spread);
    End2D();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    return ReadPicture();
}

using FeedbackTest = GlTest;

TEST_F(FeedbackTest, CopiesTheCornerAndDrawsZeroOneOrMoreLayers) {
    ScreenFeedback feedback;
    ScreenFeedbackCreate(feedback, 64);

    // 0 layers: the copy is made and the screen cleared, nothing drawn.
    Picture picture = CaptureAndDraw(feedback, 1.0f, 0, 0.0f);
    EXPECT_EQ(CountPixels(picture, (Rgb{0, 0, 255})), 640 * 480);
    std::vector<uint8_t> texels(64 * 64 * 4);
    BindTexture(feedback.texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(texels[(63 * 64 + 10) * 4], 40);
    EXPECT_EQ(texels[(63 * 64 + 10) * 4 + 1], 252);
    EXPECT_EQ(texels[(63 * 64 + 10) * 4 + 2], 77);
    EXPECT_EQ(texels[(5 * 64 + 7) * 4 + 3], 255);  // alpha 1: the framebuffer has none

    // 1 layer: the corner fills the screen in 10 x 7.5-pixel blocks.
    picture = CaptureAndDraw(feedback, 1.0f, 1, 0.0f);
    int32_t mismatches = 0;
    for (int32_t y = 0; y < 480; ++y) {
        // Screen row y (from the top) samples t = 1 - (y + 0.5) / 480, texel row floor(64 t).
        // Where that falls exactly on a texel edge (y = 7, 22, 37, ...) either neighbour may show.
        const double texelRow = 64.0 - (y + 0.5) / 7.5;
        const int32_t row = static_cast<int32_t>(std::floor(texelRow));
        const bool onEdge = texelRow == std::floor(texelRow);
        for (int32_t x = 0; x < 640; ++x) {
            const Rgb pixel = PixelAt(picture, x, y);
            const uint8_t red = static_cast<uint8_t>(x / 10 * 4);
            const bool match = pixel == Rgb{red, static_cast<uint8_t>(row * 4), 77} ||
                               (onEdge && pixel == Rgb{red, static_cast<uint8_t>(row * 4 - 4), 77});
            mismatches += match ? 0 : 1;
        }
    }
    EXPECT_EQ(mismatches, 0);

    // 2 layers: the second at alpha 0.5 shows texels 16..47 across x 80..560 (15 pixels each)
    // over the first, so pixel (85, y) mixes first-layer texel 8 and second-layer texel 16.
    picture = CaptureAndDraw(feedback, 0.0f, 2, 0.25f);
    EXPECT_NEAR(PixelAt(picture, 85, 240).r, (8 * 4 + 16 * 4) / 2, 2);
    EXPECT_EQ(PixelAt(picture, 75, 240).r, 7 * 4);  // left of x = 80 only the first layer shows

    GLuint name = feedback.texture.name;
    glDeleteTextures(1, &name);
}

}  // namespace
