// Bitmap-font text: glyph display lists from the compiled-in glyph tables, text position and
// state, formatted printing.
#include "gfx/bitmap_font.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/gl_objects.h"
#include "gfx/gfx_constants.h"
#include "gfx/glyph_table.h"
#include "platform/gl.h"

thread_local BitmapFont smallFont;
thread_local BitmapFont largeFont;

namespace {

// Codes with a glyph list: 32..255.
constexpr int32_t kFirstGlyphCode = 32;
constexpr int32_t kGlyphCount = 224;

// Bytes 1..31 call the lists at base - 31 .. base - 1. Those names are reserved together with the
// glyphs and left empty, so control bytes draw nothing and do not advance, and they can never
// reach another font's glyphs.
constexpr GLsizei kControlGap = kFirstGlyphCode - 1;

// The glyph tables' rows are byte-aligned; set as GL_UNPACK_ALIGNMENT while the lists are
// compiled (glBitmap copies the image into the list at that moment).
constexpr int32_t kGlyphRowAlignment = 1;

// The glyph tables are read with these, whether into the lists or straight to glBitmap.
void PushGlyphUnpacking() {
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, kGlyphRowAlignment);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
}

// The table's glyph for `code`; null for a code the table lacks, or without a table.
const GlyphImage* FindGlyph(const GlyphTable* table, int32_t code) {
    const int32_t index = code - (table ? table->firstCode : 0);
    if (table == nullptr || index < 0 || index >= table->count) {
        return nullptr;
    }
    return &table->glyphs[index];
}

// One glyph's glBitmap from its table. A glyph without an image (the space) still advances.
void BitmapGlyph(const GlyphTable& table, const GlyphImage& glyph) {
    const bool hasImage = glyph.width > 0 && glyph.height > 0;
    glBitmap(hasImage ? glyph.width : 0, hasImage ? glyph.height : 0, glyph.originX, glyph.originY,
             glyph.advance, 0.0f, hasImage ? table.rows + glyph.rowsAt : nullptr);
}

// What glyph list `code` holds: one glBitmap, or nothing for a code the table lacks.
void DrawGlyph(const GlyphTable* table, int32_t code) {
    if (const GlyphImage* glyph = FindGlyph(table, code)) {
        BitmapGlyph(*table, *glyph);
    }
}

// Drawing a glyph directly as the lists draw it. Mesa keeps a texture of each listed glyph's own
// size and draws that, while a direct glBitmap up to this many rows tall goes into a shared strip
// texture instead, and the driver builds another program for that. So a direct glyph is padded
// with blank rows above it to more rows than this, keeping whether its height is a power of two,
// which is all of the size that the program depends on. Pixels and advance are the same.
constexpr int32_t kStripRows = 32;
constexpr int32_t kPaddedPowerOfTwoRows = 64;

bool IsPowerOfTwo(int32_t n) {
    return n > 0 && (n & (n - 1)) == 0;
}

thread_local std::vector<uint8_t> paddedRows;

void DrawGlyphAsListed(const GlyphTable* table, int32_t code) {
    const GlyphImage* found = FindGlyph(table, code);
    if (found == nullptr) {
        return;
    }
    const GlyphImage& glyph = *found;
    if (glyph.width <= 0 || glyph.height <= 0 || glyph.height > kStripRows) {
        BitmapGlyph(*table, glyph);
        return;
    }
    const int32_t rows = IsPowerOfTwo(glyph.height) ? kPaddedPowerOfTwoRows : kStripRows + 1;
    const size_t rowBytes = (static_cast<size_t>(glyph.width) + 7) / 8;
    const uint8_t* image = table->rows + glyph.rowsAt;
    paddedRows.assign(rowBytes * static_cast<size_t>(rows), 0);
    std::copy(image, image + rowBytes * static_cast<size_t>(glyph.height), paddedRows.begin());
    glBitmap(glyph.width, rows, glyph.originX, glyph.originY, glyph.advance, 0.0f,
             paddedRows.data());
}

}  // namespace

void CreateBitmapFont(BitmapFont& font, int32_t pixelHeight) {
    font.pixelHeight = pixelHeight;
    if (ThisThreadDrawsListsDirectly()) {
        font.base = 0;
        return;
    }
    // One block for the control gap and the 224 glyphs, so the glyph range is clear of every
    // other font's lists by construction.
    const GLuint block = glGenLists(kControlGap + kGlyphCount);
    if (block == 0) {
        font.base = 0;
        return;
    }
    NoteListsMade(block, kControlGap + kGlyphCount);
    font.base = block + static_cast<GLuint>(kControlGap);

    // A size without a table gets empty lists: text in it draws nothing and does not advance.
    const GlyphTable* table = FindGlyphTable(pixelHeight);

    PushGlyphUnpacking();
    for (int32_t i = 0; i < kGlyphCount; ++i) {
        glNewList(font.base + static_cast<GLuint>(i), GL_COMPILE);
        DrawGlyph(table, kFirstGlyphCode + i);
        glEndList();
    }
    glPopClientAttrib();
}

void SetTextPosition(const BitmapFont& font, float x, float y, float r, float g, float b, float a) {
    (void)font;
    // Colour first: the raster colour is latched from the current colour by glRasterPos.
    glColor4f(r, g, b, a);
    glRasterPos2f(x, y);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void PrintText(const BitmapFont& font, const char* format, ...) {
    if (format == nullptr) {
        return;
    }
    char text[kTextBufferSize];
    va_list arguments;
    va_start(arguments, format);
    const int written = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (written <= 0) {
        return;
    }
    const size_t length = std::strlen(text);
    if (ThisThreadDrawsListsDirectly()) {
        const GlyphTable* table = FindGlyphTable(font.pixelHeight);
        PushGlyphUnpacking();
        for (size_t i = 0; i < length; ++i) {
            const int32_t code = static_cast<uint8_t>(text[i]);
            if (code >= kFirstGlyphCode) {
                DrawGlyphAsListed(table, code);
            }
        }
        glPopClientAttrib();
        return;
    }
    glPushAttrib(GL_LIST_BIT);
    glListBase(font.base - static_cast<GLuint>(kFirstGlyphCode));
    glCallLists(static_cast<GLsizei>(length), GL_UNSIGNED_BYTE, text);
    glPopAttrib();
}
