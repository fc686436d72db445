// Bitmap-font text: glyph rasterising, list layout of the two fonts, printing and text state.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gl_test.h"
#include "platform/glyph_rasterizer.h"
#include "shell/embedded_data.h"
#include "toolkit_test_support.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

std::vector<GlyphBitmap> Rasterize(int32_t pixelHeight, int32_t alignment) {
    std::vector<GlyphBitmap> glyphs;
    EXPECT_TRUE(
        RasterizeGlyphs(fontFaceFile.data, fontFaceFile.size, pixelHeight, alignment, glyphs));
    return glyphs;
}

bool PixelSet(const GlyphBitmap& glyph, int32_t x, int32_t rowFromBottom, int32_t alignment) {
    const int32_t rowBytes = ((glyph.width + 7) / 8 + alignment - 1) / alignment * alignment;
    const uint8_t byte = glyph.rows[static_cast<size_t>(rowFromBottom * rowBytes + x / 8)];
    return (byte >> (7 - x % 8) & 1) != 0;
}

int32_t CountSet(const GlyphBitmap& glyph, int32_t rowFromBottom, int32_t alignment) {
    int32_t count = 0;
    for (int32_t x = 0; x < glyph.width; ++x) {
        count += PixelSet(glyph, x, rowFromBottom, alignment) ? 1 : 0;
    }
    return count;
}

const GlyphBitmap& Glyph(const std::vector<GlyphBitmap>& glyphs, int code) {
    return glyphs[static_cast<size_t>(code - kFirstGlyphCode)];
}

struct InkBox {
    int32_t left = 9999, top = 9999, right = -1, bottom = -1;
    int32_t Height() const { return bottom - top + 1; }
};

InkBox InkOf(const Picture& picture, Rgb background) {
    InkBox box;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            if (!(PixelAt(picture, x, y) == background)) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    }
    return box;
}

TEST(GlyphRasterizerTest, GivesAllCodesBottomRowFirstWithPaddedRows) {
    ASSERT_GT(fontFaceFile.size, 0);
    for (const int32_t alignment : {1, 4}) {
        const auto glyphs = Rasterize(100, alignment);
        ASSERT_EQ(glyphs.size(), static_cast<size_t>(kGlyphCount));
        const GlyphBitmap& t = Glyph(glyphs, 'T');
        ASSERT_GT(t.height, 50);
        const int32_t rowBytes = ((t.width + 7) / 8 + alignment - 1) / alignment * alignment;
        EXPECT_EQ(t.rows.size(), static_cast<size_t>(rowBytes * t.height));
        EXPECT_EQ(rowBytes % alignment, 0);
        // The crossbar is the top row (stored last), the stem the bottom row (stored first).
        EXPECT_GT(CountSet(t, t.height - 1, alignment), 2 * CountSet(t, 0, alignment));
        EXPECT_GT(CountSet(t, 0, alignment), 0);
    }
}

TEST(GlyphRasterizerTest, OriginsAndAdvancesFollowTheBaseline) {
    const auto glyphs = Rasterize(100, 1);
    const GlyphBitmap& h = Glyph(glyphs, 'H');
    const GlyphBitmap& g = Glyph(glyphs, 'g');
    const GlyphBitmap& space = Glyph(glyphs, ' ');
    EXPECT_NEAR(h.originY, 0.0f, 1.0f);  // sits on the baseline
    EXPECT_GT(g.originY, 10.0f);         // descender below it
    for (const uint8_t byte : space.rows) {
        EXPECT_EQ(byte, 0);
    }
    EXPECT_GT(space.advance, 10.0f);
    EXPECT_GT(Glyph(glyphs, 'W').advance, Glyph(glyphs, 'i').advance);
    EXPECT_EQ(h.advance, static_cast<float>(static_cast<int32_t>(h.advance)));  // whole pixels
    // A capital of the 100-pixel font is the face's cap height: about 0.72 of the em.
    EXPECT_GE(h.height, 68);
    EXPECT_LE(h.height, 78);
    const auto small = Rasterize(28, 1);
    EXPECT_NEAR(Glyph(small, 'H').height, h.height * 28 / 100, 2);
}

TEST(GlyphRasterizerTest, HighCodesFollowWindows1252) {
    const auto glyphs = Rasterize(40, 1);
    const auto same = [](const GlyphBitmap& a, const GlyphBitmap& b) {
        return a.width == b.width && a.height == b.height && a.rows == b.rows;
    };
    const GlyphBitmap& missing = Glyph(glyphs, 0x81);  // undefined in the code page
    EXPECT_FALSE(same(Glyph(glyphs, 0x80), missing));  // euro sign
    EXPECT_FALSE(same(Glyph(glyphs, 0x8A), missing));  // S with caron
    EXPECT_FALSE(same(Glyph(glyphs, 0x99), missing));  // trade mark
    EXPECT_FALSE(same(Glyph(glyphs, 0xC9), missing));  // E with acute, as in Latin-1
    EXPECT_GT(Glyph(glyphs, 0xC9).height, Glyph(glyphs, 'E').height);
    EXPECT_FALSE(same(Glyph(glyphs, 0x8A), Glyph(glyphs, 'S')));
}

TEST(GlyphRasterizerTest, UnreadableFaceFails) {
    const unsigned char junk[64] = {1, 2, 3};
    std::vector<GlyphBitmap> glyphs(3);
    EXPECT_FALSE(RasterizeGlyphs(junk, sizeof junk, 20, 1, glyphs));
    EXPECT_TRUE(glyphs.empty());
    EXPECT_FALSE(RasterizeGlyphs(nullptr, 0, 20, 1, glyphs));
}

class BitmapFontTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureToolkitResources();
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        // Bitmaps write depth; repeated prints at one place would otherwise hide each other.
        glDisable(GL_DEPTH_TEST);
        PushTextSpace();
    }
    void TearDown() override {
        glPopMatrix();
        glDisable(GL_BLEND);
        GlTest::TearDown();
    }
};

TEST_F(BitmapFontTest, FontsGlyphListsAndControlGapsNeverOverlap) {
    ASSERT_NE(smallFont.base, 0u);
    ASSERT_NE(largeFont.base, 0u);
    // Each font owns names base - 31 .. base + 223 (the gap serves bytes 1..31).
    const uint32_t lowSmall = smallFont.base - 31;
    const uint32_t lowLarge = largeFont.base - 31;
    EXPECT_TRUE(smallFont.base + 224 <= lowLarge || largeFont.base + 224 <= lowSmall);
    for (uint32_t i = 0; i < 224; ++i) {
        ASSERT_TRUE(glIsList(smallFont.base + i));
        ASSERT_TRUE(glIsList(largeFont.base + i));
    }
}

TEST_F(BitmapFontTest, EmptyTextAndControlBytesLeaveThePositionAndDrawNothing) {
    for (const BitmapFont* font : {&smallFont, &largeFont}) {
        SetTextPosition(*font, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        const auto start = RasterPosition();
        PrintText(*font, "%s", "");
        EXPECT_EQ(RasterPosition(), start);
        std::string controls;
        for (char c = 1; c < 32; ++c) {
            controls += c;
        }
        PrintText(*font, "%s", controls.c_str());
        EXPECT_EQ(RasterPosition(), start);
        const char* none = nullptr;
        PrintText(*font, none);
        EXPECT_EQ(RasterPosition(), start);
    }
    EXPECT_EQ(CountPixels(ReadPicture(), kWhite), 640 * 480);
}

TEST_F(BitmapFontTest, PrintingAdvancesByTheGlyphsAndFormats) {
    const auto glyphs = Rasterize(28, 1);
    SetTextPosition(smallFont, -2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    const float startX = RasterPosition()[0];
    PrintText(smallFont, "%d%s", 42, "W");
    const float expected =
        Glyph(glyphs, '4').advance + Glyph(glyphs, '2').advance + Glyph(glyphs, 'W').advance;
    EXPECT_FLOAT_EQ(RasterPosition()[0] - startX, expected);
}

TEST_F(BitmapFontTest, LongTextIsCutAt255Bytes) {
    const auto glyphs = Rasterize(28, 1);
    SetTextPosition(smallFont, -2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    const float startX = RasterPosition()[0];
    PrintText(smallFont, "%400s", ".");
    // 399 spaces and a dot, of which the first 255 spaces remain.
    ASSERT_TRUE(RasterPositionValid());
    EXPECT_FLOAT_EQ(RasterPosition()[0] - startX, 255 * Glyph(glyphs, ' ').advance);
}

TEST_F(BitmapFontTest, AlphaZeroIsInvisibleAndAlphaOneOpaqueInItsColour) {
    SetTextPosition(largeFont, -2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    PrintText(largeFont, "HELLO");
    EXPECT_EQ(CountPixels(ReadPicture(), kWhite), 640 * 480);

    SetTextPosition(largeFont, -2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "HELLO");
    const Picture picture = ReadPicture();
    const int32_t red = CountPixels(picture, Rgb{255, 0, 0});
    EXPECT_GT(red, 5000);
    EXPECT_EQ(red + CountPixels(picture, kWhite), 640 * 480);  // 1-bit glyphs: no edge shades
}

TEST_F(BitmapFontTest, SetTextPositionLatchesTheColourAndSetsTheTextState) {
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(0.0f, 1.0f, 0.0f, 1.0f);
    SetTextPosition(smallFont, 0.5f, 0.25f, 0.2f, 0.4f, 0.6f, 0.8f);
    std::array<float, 4> rasterColor{};
    glGetFloatv(GL_CURRENT_RASTER_COLOR, rasterColor.data());
    EXPECT_FLOAT_EQ(rasterColor[0], 0.2f);
    EXPECT_FLOAT_EQ(rasterColor[1], 0.4f);
    EXPECT_FLOAT_EQ(rasterColor[3], 0.8f);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(IntegerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    // (0.5, 0.25) one unit ahead: right of and above the centre.
    const auto position = RasterPosition();
    EXPECT_NEAR(position[0], 320.0f + 0.5f / 2.3094f * 320.0f, 0.5f);
    EXPECT_NEAR(position[1], 240.0f + 0.25f / 1.7321f * 240.0f, 0.5f);

    // Lighting is switched off after the position is set, so it still lights that raster colour.
    glEnable(GL_LIGHTING);
    SetTextPosition(smallFont, 0.5f, 0.25f, 0.2f, 0.4f, 0.6f, 0.8f);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    glGetFloatv(GL_CURRENT_RASTER_COLOR, rasterColor.data());
    EXPECT_NE(rasterColor[0], 0.2f);
}

TEST_F(BitmapFontTest, InvertLogicOpInvertsUnderTheGlyphsWhateverTheColour) {
    const auto drawBackground = [] {
        glPushMatrix();
        Begin2D();
        FillRect2D(0.0f, 0.0f, 320.0f, 480.0f, 0.8f, 0.2f, 0.05f);
        FillRect2D(320.0f, 0.0f, 640.0f, 480.0f, 0.1f, 0.7f, 0.35f);
        End2D();
        glPopMatrix();
    };
    drawBackground();
    const Picture before = ReadPicture();
    std::vector<std::vector<bool>> inverted;
    for (const float shade : {0.0f, 1.0f}) {
        drawBackground();
        EnableLogicOp(GL_INVERT);
        SetTextPosition(largeFont, -1.0f, -0.2f, shade, shade, shade, 1.0f);
        PrintText(largeFont, "Mix");
        DisableLogicOp();
        const Picture after = ReadPicture();
        std::vector<bool> mask(640 * 480);
        int32_t changed = 0;
        for (int32_t y = 0; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                const Rgb old = PixelAt(before, x, y);
                const Rgb now = PixelAt(after, x, y);
                if (now == old) {
                    continue;
                }
                const Rgb flipped{static_cast<uint8_t>(255 - old.r),
                                  static_cast<uint8_t>(255 - old.g),
                                  static_cast<uint8_t>(255 - old.b)};
                ASSERT_EQ(now, flipped) << x << "," << y;
                mask[static_cast<size_t>(y * 640 + x)] = true;
                ++changed;
            }
        }
        EXPECT_GT(changed, 3000);
        inverted.push_back(mask);
    }
    EXPECT_EQ(inverted[0], inverted[1]);
}

TEST_F(BitmapFontTest, LargeCapitalHasTheFacesCapHeightOnTheBaseline) {
    const auto glyphs = Rasterize(100, 1);
    SetTextPosition(largeFont, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "H");
    const InkBox box = InkOf(ReadPicture(), kWhite);
    EXPECT_EQ(box.Height(), Glyph(glyphs, 'H').height);
    EXPECT_GE(box.Height(), 68);
    EXPECT_LE(box.Height(), 78);
    EXPECT_NEAR(box.bottom, 239, 1);  // the baseline is the raster position's row
    EXPECT_NEAR(box.left, 320, 8);  // starts at the raster position, give or take the side bearing
}

TEST_F(BitmapFontTest, HighCodesDrawTheirGlyphs) {
    SetTextPosition(largeFont, -2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "%s", "\x80\xC9\xE9\xFC");
    const InkBox box = InkOf(ReadPicture(), kWhite);
    EXPECT_GT(box.right - box.left, 150);
    EXPECT_LT(box.top, 240 - 75);  // the accent rises above the capitals' height
}

}  // namespace
