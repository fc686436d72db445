// Sprites and the feedback glow drawn on the software renderer and read back.
#include <GL/gl.h>

#include <cmath>
#include <memory>
#include <vector>

#include "gfx/gl_state.h"
#include "gfx/screen_feedback.h"
#include "gfx/sprite.h"
#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gl_test.h"
#include "toolkit_test_support.h"

namespace {

constexpr Rgb kBlack{0, 0, 0};
constexpr Rgb kWhite{255, 255, 255};

Sprite WhiteSprite(float x, float y, float halfWidth, float halfHeight) {
    Sprite sprite;
    sprite.x = x;
    sprite.y = y;
    sprite.alphaBlend = true;
    sprite.color = {1.0f, 1.0f, 1.0f, 0.0f};  // the record's alpha is not used
    sprite.halfWidth = halfWidth;
    sprite.halfHeight = halfHeight;
    return sprite;
}

int32_t CountInRect(const Picture& picture, Rgb color, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) {
    int32_t count = 0;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            count += PixelAt(picture, x, y) == color ? 1 : 0;
        }
    }
    return count;
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

TEST_F(SpriteTest, QuarterSpritesCoverExactlyTheirQuarter) {
    Begin2D();
    DrawSprite(WhiteSprite(-0.5f, -0.5f, 0.5f, 0.5f), 1.0f);
    End2D();
    Picture picture = ReadPicture();
    EXPECT_EQ(CountInRect(picture, kWhite, 0, 0, 320, 240), 320 * 240);
    EXPECT_EQ(CountPixels(picture, kWhite), 320 * 240);

    glClear(GL_COLOR_BUFFER_BIT);
    Begin2D();
    DrawSprite(WhiteSprite(0.5f, 0.5f, 0.5f, 0.5f), 1.0f);
    End2D();
    picture = ReadPicture();
    EXPECT_EQ(CountInRect(picture, kWhite, 320, 240, 640, 480), 320 * 240);
    EXPECT_EQ(CountPixels(picture, kWhite), 320 * 240);

    glClear(GL_COLOR_BUFFER_BIT);
    Begin2D();
    DrawSprite(WhiteSprite(0.0f, 0.0f, 1.0f, 1.0f), 1.0f);
    End2D();
    EXPECT_EQ(CountPixels(ReadPicture(), kWhite), 640 * 480);
}

TEST_F(SpriteTest, RotationSwingsAboutTheTopLeftCorner) {
    // Centre (320, -240), full size (y -480..0): entirely above the screen until rotated.
    Sprite sprite = WhiteSprite(0.0f, -2.0f, 1.0f, 1.0f);
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();
    EXPECT_EQ(CountPixels(ReadPicture(), kWhite), 0);

    // 90 degrees takes (x, y) to (-y, x): the sprite now covers x 0..480, y 0..640.
    sprite.rotation = 90.0f;
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();
    const Picture picture = ReadPicture();
    EXPECT_EQ(CountInRect(picture, kWhite, 0, 0, 480, 480), 480 * 480);
    EXPECT_EQ(CountPixels(picture, kWhite), 480 * 480);
}

TEST_F(SpriteTest, SmallRotationMovesTheCentreAlongAnArcAndKeepsTheArea) {
    // A 40 x 40 square centred at (400, 40); 30 degrees puts its centre at (326.4, 234.6).
    Sprite sprite =
        WhiteSprite(400.0f / 320.0f - 1.0f, 40.0f / 240.0f - 1.0f, 20.0f / 320.0f, 20.0f / 240.0f);
    sprite.rotation = 30.0f;
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();
    const Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 326, 234), kWhite);
    EXPECT_EQ(PixelAt(picture, 400, 40), kBlack);
    EXPECT_NEAR(CountPixels(picture, kWhite), 1600, 60);
    // Tilted: the pixel 19 to the right of the centre is outside the square near its corner row.
    EXPECT_EQ(PixelAt(picture, 326 + 19, 234 - 19), kBlack);
}

TEST_F(SpriteTest, AdditiveWhiteGivesWhiteAndAlphaBlendMixes) {
    Begin2D();
    FillRect2D(0.0f, 0.0f, 640.0f, 480.0f, 0.2f, 0.4f, 0.6f);
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

TEST_F(SpriteTest, LeavesDepthLightingAndBlendingOffWithAdditiveFunction) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_TEXTURE_2D);
    Begin2D();
    DrawSprite(WhiteSprite(0.0f, 0.0f, 0.1f, 0.1f), 1.0f);
    End2D();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(IntegerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE);

    Sprite textured = WhiteSprite(0.0f, 0.0f, 0.1f, 0.1f);
    textured.textured = true;
    Begin2D();
    DrawSprite(textured, 1.0f);
    End2D();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
}

TEST_F(SpriteTest, TextureShowsUprightAndMirrored) {
    std::unique_ptr<Texture> texture(TextureCreate(2, 2));
    ASSERT_TRUE(texture);
    QuadrantGenerator quadrants;
    FillTexture(*texture, &quadrants);
    Sprite sprite = WhiteSprite(0.0f, 0.0f, 1.0f, 1.0f);
    sprite.textured = true;
    Begin2D();
    DrawSprite(sprite, 1.0f);
    End2D();
    glDisable(GL_TEXTURE_2D);
    const Picture picture = ReadPicture();
    // Texel row 1 (t high) at the top, texel column 1 (s high) on the left.
    EXPECT_EQ(PixelAt(picture, 100, 100), kWhite);            // texel (1, 1)
    EXPECT_EQ(PixelAt(picture, 540, 100), (Rgb{0, 0, 255}));  // texel (0, 1)
    EXPECT_EQ(PixelAt(picture, 100, 380), (Rgb{0, 255, 0}));  // texel (1, 0)
    EXPECT_EQ(PixelAt(picture, 540, 380), (Rgb{255, 0, 0}));  // texel (0, 0)
}

class FeedbackTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ScreenFeedbackCreate(feedback, 64);
    }
    void TearDown() override {
        GLuint name = feedback.texture.name;
        glDeleteTextures(1, &name);
        GlTest::TearDown();
    }

    // Draws a distinct colour into each pixel of the 64 x 64 capture corner.
    static void DrawCornerPattern() {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(0.0, 64.0, 0.0, 64.0, -1.0, 1.0);
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
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
        glPopMatrix();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    }

    ScreenFeedback feedback;
};

TEST_F(FeedbackTest, CreateFillsOpaqueBlackAndStoresTheSize) {
    EXPECT_EQ(feedback.size, 64);
    ASSERT_TRUE(feedback.texture.pixels);
    for (int32_t i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(feedback.texture.pixels[i], 0xFF000000u);
    }
}

TEST_F(FeedbackTest, OneLayerShowsTheCornerAsTenBySevenAndAHalfPixelBlocks) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    SetCaptureViewport(feedback);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 64);
    EXPECT_EQ(viewport[3], 64);
    DrawCornerPattern();
    Begin2D();
    DrawFeedback(feedback, 1, 0.0f);
    End2D();
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
    const Picture picture = ReadPicture();
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
    // Blocks: rows 0..6 show the top texel row, 8..14 the next one.
    EXPECT_EQ(PixelAt(picture, 0, 6).g, 252);
    EXPECT_EQ(PixelAt(picture, 0, 8).g, 248);
    EXPECT_EQ(PixelAt(picture, 9, 0).r, 0);
    EXPECT_EQ(PixelAt(picture, 10, 0).r, 4);

    // The copy has alpha 1 everywhere and the texture stays bound and nearest-filtered.
    std::vector<uint8_t> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[3], 255);
    EXPECT_EQ(texels[(5 * 64 + 7) * 4], 7 * 4);
    EXPECT_EQ(texels[(5 * 64 + 7) * 4 + 1], 5 * 4);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glDisable(GL_TEXTURE_2D);
}

TEST_F(FeedbackTest, ZeroLayersCopiesAndClearsButDrawsNothing) {
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glEnable(GL_FOG);
    SetCaptureViewport(feedback);
    DrawCornerPattern();
    Begin2D();
    DrawFeedback(feedback, 0, 0.0f);
    End2D();
    EXPECT_TRUE(glIsEnabled(GL_FOG));  // switched off for the layers only
    glDisable(GL_FOG);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(CountPixels(ReadPicture(), (Rgb{0, 0, 255})), 640 * 480);
    BindTexture(feedback.texture);
    std::vector<uint8_t> texels(64 * 64 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels[(63 * 64 + 10) * 4], 40);
    EXPECT_EQ(texels[(63 * 64 + 10) * 4 + 1], 252);
    EXPECT_EQ(texels[(63 * 64 + 10) * 4 + 2], 77);
}

TEST_F(FeedbackTest, FurtherLayersMagnifyTheCentreAndFade) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    SetCaptureViewport(feedback);
    DrawCornerPattern();
    Begin2D();
    DrawFeedback(feedback, 2, 0.25f);
    End2D();
    glDisable(GL_TEXTURE_2D);
    const Picture picture = ReadPicture();
    // Second layer at alpha 0.5: texels 16..47 across x 80..560 (15 pixels each), blended
    // half and half over the first layer. Pixel (85, y) takes first-layer texel 8 and second-layer
    // texel 16 in red.
    const Rgb left = PixelAt(picture, 85, 240);
    EXPECT_NEAR(left.r, (8 * 4 + 16 * 4) / 2, 2);
    // Left of x = 80 only the first layer shows.
    EXPECT_EQ(PixelAt(picture, 75, 240).r, 7 * 4);
}

}  // namespace
