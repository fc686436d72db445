// Bitmap-font text: glyph rasterising and the generated table, printing, advances and glyph shape.
#include <algorithm>
#include <string>
#include <vector>

#include "core/gl_objects.h"
#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/glyph_table.h"
#include "gl_test.h"
#include "platform/gl.h"
#include "platform/glyph_rasterizer.h"
#include "run_program.h"
#include "toolkit_test_support.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

const std::string kFacePath = std::string(DEMO_SOURCE_DIR) + "/assets/fonts/Lato-Black.ttf";
const std::string kTablePath = std::string(DEMO_SOURCE_DIR) + "/assets/fonts/glyph_table.cpp";

std::vector<GlyphBitmap> Rasterize(int32_t pixelHeight, int32_t alignment) {
    const std::string face = ReadFileBytes(kFacePath);
    std::vector<GlyphBitmap> glyphs;
    EXPECT_TRUE(RasterizeGlyphs(reinterpret_cast<const unsigned char*>(face.data()),
                                static_cast<int32_t>(face.size()), pixelHeight, alignment, glyphs));
    return glyphs;
}

const GlyphBitmap& Glyph(const std::vector<GlyphBitmap>& glyphs, int code) {
    return glyphs[static_cast<size_t>(code - kFirstGlyphCode)];
}

TEST(GlyphRasterizerTest, DescendersWholePixelAdvancesAndWindows1252HighCodes) {
    const auto glyphs = Rasterize(100, 1);
    const GlyphBitmap& h = Glyph(glyphs, 'H');
    EXPECT_GT(Glyph(glyphs, 'g').originY, 10.0f);  // the descender hangs below the baseline
    EXPECT_EQ(h.advance, static_cast<float>(static_cast<int32_t>(h.advance)));
    EXPECT_NEAR(Glyph(Rasterize(28, 1), 'H').height, h.height * 28 / 100, 2);
    const auto same = [&](int a, int b) {
        const GlyphBitmap &x = Glyph(glyphs, a), &y = Glyph(glyphs, b);
        return x.width == y.width && x.height == y.height && x.rows == y.rows;
    };
    // 0x81 is undefined in the code page; euro, S caron, trade mark and E acute are not.
    for (const int code : {0x80, 0x8A, 0x99, 0xC9}) {
        EXPECT_FALSE(same(code, 0x81)) << std::hex << code;
    }
    EXPECT_FALSE(same(0x8A, 'S'));
    EXPECT_GT(Glyph(glyphs, 0xC9).height, Glyph(glyphs, 'E').height);
}

TEST(GlyphRasterizerTest, UnreadableFaceFails) {
    const unsigned char junk[64] = {1, 2, 3};
    std::vector<GlyphBitmap> glyphs(3);
    EXPECT_FALSE(RasterizeGlyphs(junk, sizeof junk, 20, 1, glyphs));
    EXPECT_TRUE(glyphs.empty());
    EXPECT_FALSE(RasterizeGlyphs(nullptr, 0, 20, 1, glyphs));
}

TEST(GlyphTableTest, TheCompiledTablesHoldTheRasterisedGlyphsOfEverySize) {
    ASSERT_EQ(FindGlyphTable(27), nullptr);
    for (const int32_t size : {16, 28, 100}) {
        const GlyphTable* table = FindGlyphTable(size);
        ASSERT_NE(table, nullptr) << size;
        const auto glyphs = Rasterize(size, 1);
        ASSERT_EQ(table->firstCode, kFirstGlyphCode);
        ASSERT_EQ(table->count, static_cast<int32_t>(glyphs.size()));
        for (int32_t i = 0; i < table->count; ++i) {
            const GlyphImage& entry = table->glyphs[i];
            const GlyphBitmap& glyph = glyphs[static_cast<size_t>(i)];
            ASSERT_EQ(entry.width, glyph.width) << size << " " << i;
            ASSERT_EQ(entry.height, glyph.height) << size << " " << i;
            ASSERT_EQ(entry.originX, glyph.originX) << size << " " << i;
            ASSERT_EQ(entry.originY, glyph.originY) << size << " " << i;
            ASSERT_EQ(entry.advance, glyph.advance) << size << " " << i;
            ASSERT_TRUE(
                std::equal(glyph.rows.begin(), glyph.rows.end(), table->rows + entry.rowsAt))
                << size << " " << i;
        }
    }
}

#ifdef GLYPH_TABLE_GENERATOR
TEST(GlyphTableTest, RegeneratedTableIsByteIdenticalToTheCommittedOne) {
    ScratchDir dir;
    const ProgramResult result = RunProgram(GLYPH_TABLE_GENERATOR, {kFacePath, dir.File("t.cpp")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    const std::string committed = ReadFileBytes(kTablePath);
    ASSERT_FALSE(committed.empty());
    EXPECT_TRUE(ReadFileBytes(dir.File("t.cpp")) == committed)
        << "assets/fonts/glyph_table.cpp is stale: build the glyph_table target and commit it";
    EXPECT_EQ(RunProgram(GLYPH_TABLE_GENERATOR, {dir.File("none.ttf"), dir.File("u.cpp")}).exitCode,
              1);
}
#endif

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

TEST_F(BitmapFontTest, EmptyTextControlBytesAndAlphaZeroDrawNothingAlphaOneIsOpaque) {
    std::string controls;
    for (char c = 1; c < 32; ++c) {
        controls += c;
    }
    for (const BitmapFont* font : {&smallFont, &largeFont}) {
        SetTextPosition(*font, -1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
        const auto start = RasterPosition();
        PrintText(*font, "%s", "");
        EXPECT_EQ(RasterPosition(), start);
        PrintText(*font, "%s", controls.c_str());
        EXPECT_EQ(RasterPosition(), start);
        const char* none = nullptr;
        PrintText(*font, none);
        EXPECT_EQ(RasterPosition(), start);
    }
    SetTextPosition(largeFont, -2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f);
    PrintText(largeFont, "HELLO");
    EXPECT_EQ(CountPixels(ReadPicture(), kWhite), 640 * 480);
    // Alpha one is opaque in the text's colour, with no edge shades (1-bit glyphs).
    SetTextPosition(largeFont, -2.0f, 0.0f, 1.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "HELLO");
    const Picture picture = ReadPicture();
    const int32_t red = CountPixels(picture, Rgb{255, 0, 0});
    EXPECT_GT(red, 5000);
    EXPECT_EQ(red + CountPixels(picture, kWhite), 640 * 480);
}

TEST_F(BitmapFontTest, PrintingFormatsAdvancesByTheGlyphsAndCutsAt255Bytes) {
    const auto glyphs = Rasterize(28, 1);
    SetTextPosition(smallFont, -2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    float startX = RasterPosition()[0];
    PrintText(smallFont, "%d%s", 42, "W");
    EXPECT_FLOAT_EQ(
        RasterPosition()[0] - startX,
        Glyph(glyphs, '4').advance + Glyph(glyphs, '2').advance + Glyph(glyphs, 'W').advance);
    SetTextPosition(smallFont, -2.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    startX = RasterPosition()[0];
    PrintText(smallFont, "%400s", ".");  // 399 spaces and a dot; the first 255 spaces remain
    ASSERT_TRUE(RasterPositionValid());
    EXPECT_FLOAT_EQ(RasterPosition()[0] - startX, 255 * Glyph(glyphs, ' ').advance);
}

TEST_F(BitmapFontTest, LargeCapitalIsUprightOnTheBaselineAndHasTheCapHeightOfA100PixelEm) {
    SetTextPosition(largeFont, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(largeFont, "T");
    const Picture picture = ReadPicture();
    int32_t left = 640, top = 480, bottom = -1;
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            if (!(PixelAt(picture, x, y) == kWhite)) {
                left = std::min(left, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    // The face's cap height is about 0.72 of the em.
    EXPECT_EQ(bottom - top + 1, Glyph(Rasterize(100, 1), 'T').height);
    EXPECT_GE(bottom - top + 1, 68);
    EXPECT_LE(bottom - top + 1, 78);
    EXPECT_NEAR(bottom, 239, 1);  // the baseline is the raster position's row
    EXPECT_NEAR(left, 320, 8);    // starts at the raster position, give or take the side bearing
    // The crossbar is at the top: glyph rows are stored bottom row first.
    const auto ink = [&](int32_t y) {
        return 640 - CountInRect(picture, kWhite, 0, y, 640, y + 1);
    };
    EXPECT_GT(ink(top), 2 * ink(bottom));
    EXPECT_GT(ink(bottom), 0);
}

// The rehearsing thread draws text without the glyph lists; it must issue what they hold: the same
// glyphs at the same places and the same advance, control bytes and codes 128..255 included.
TEST_F(BitmapFontTest, DrawnWithoutListsTextIsTheListsPictureAndAdvance) {
    std::string text = "Ag|\x01\x1f W\xc5\xe9\xff";
    for (const BitmapFont* font : {&smallFont, &largeFont}) {
        std::vector<Picture> pictures;
        std::vector<float> advances;
        for (const bool direct : {false, true}) {
            glClear(GL_COLOR_BUFFER_BIT);
            DrawListsDirectlyOnThisThread(direct);
            SetTextPosition(*font, -0.9f, -0.2f, 0.0f, 0.0f, 0.0f, 1.0f);
            const float startX = RasterPosition()[0];
            PrintText(*font, "%s", text.c_str());
            DrawListsDirectlyOnThisThread(false);
            advances.push_back(RasterPosition()[0] - startX);
            pictures.push_back(ReadPicture());
        }
        EXPECT_GT(640 * 480 - CountPixels(pictures[0], kWhite), 500);
        EXPECT_EQ(PixelHash(pictures[0]), PixelHash(pictures[1])) << font->pixelHeight;
        EXPECT_FLOAT_EQ(advances[0], advances[1]) << font->pixelHeight;
    }
}

TEST_F(BitmapFontTest, AFontMadeOnAThreadThatDrawsDirectlyHasNoListsAndStillPrints) {
    // A free list name: lists made after it would be at or above it.
    const GLuint freeBefore = glGenLists(1);
    glDeleteLists(freeBefore, 1);
    GLint listBefore = 0;
    glGetIntegerv(GL_LIST_BASE, &listBefore);
    DrawListsDirectlyOnThisThread(true);
    BitmapFont font;
    CreateBitmapFont(font, 28);
    EXPECT_EQ(font.base, 0u);
    EXPECT_EQ(font.pixelHeight, 28);
    SetTextPosition(font, -0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(font, "HELLO");
    DrawListsDirectlyOnThisThread(false);
    EXPECT_GT(640 * 480 - CountPixels(ReadPicture(), kWhite), 200);
    for (GLuint name = freeBefore; name < freeBefore + 512; ++name) {
        ASSERT_FALSE(glIsList(name)) << name;
    }
    GLint listAfter = 0;
    glGetIntegerv(GL_LIST_BASE, &listAfter);
    EXPECT_EQ(listAfter, listBefore);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
