// Glyph rasteriser on FreeType: monochrome glyphs of codes 32..255 (Windows-1252) for glBitmap.
#include "platform/glyph_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstring>

namespace {

// Unicode code points of Windows-1252 bytes 0x80..0x9F. The five bytes the code page leaves
// undefined keep their C1 value, which no face maps, so they get the missing-glyph shape.
constexpr uint32_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

uint32_t CodeToUnicode(int32_t code) {
    if (code >= 0x80 && code <= 0x9F) {
        return kWindows1252High[code - 0x80];
    }
    return static_cast<uint32_t>(code);  // ASCII and Latin-1 coincide with Unicode
}

// Copies FreeType's monochrome bitmap (top row first) into glBitmap's layout (bottom row first,
// rows padded to rowAlignment bytes).
void CopyRows(const FT_Bitmap& bitmap, int32_t rowAlignment, GlyphBitmap& glyph) {
    const int32_t width = static_cast<int32_t>(bitmap.width);
    const int32_t height = static_cast<int32_t>(bitmap.rows);
    const int32_t packedBytes = (width + 7) / 8;
    const int32_t rowBytes = (packedBytes + rowAlignment - 1) / rowAlignment * rowAlignment;
    glyph.width = width;
    glyph.height = height;
    glyph.rows.assign(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
    const int32_t pitch = bitmap.pitch < 0 ? -bitmap.pitch : bitmap.pitch;
    for (int32_t row = 0; row < height; ++row) {
        // A negative pitch means the buffer already runs bottom row first.
        const int32_t sourceRow = bitmap.pitch < 0 ? row : height - 1 - row;
        const unsigned char* source = bitmap.buffer + static_cast<size_t>(sourceRow) * pitch;
        std::memcpy(glyph.rows.data() + static_cast<size_t>(row) * rowBytes, source,
                    static_cast<size_t>(packedBytes));
    }
}

}  // namespace

bool RasterizeGlyphs(const unsigned char* faceData, int32_t faceSize, int32_t pixelHeight,
                     int32_t rowAlignment, std::vector<GlyphBitmap>& glyphs) {
    glyphs.clear();
    if (faceData == nullptr || faceSize <= 0 || pixelHeight <= 0) {
        return false;
    }
    if (rowAlignment != 1 && rowAlignment != 2 && rowAlignment != 4 && rowAlignment != 8) {
        rowAlignment = 1;
    }
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) {
        return false;
    }
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, faceData, faceSize, 0, &face) != 0) {
        FT_Done_FreeType(library);
        return false;
    }
    FT_Select_Charmap(face, FT_ENCODING_UNICODE);
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelHeight));

    glyphs.resize(kGlyphCount);
    for (int32_t i = 0; i < kGlyphCount; ++i) {
        GlyphBitmap& glyph = glyphs[static_cast<size_t>(i)];
        const FT_UInt index = FT_Get_Char_Index(face, CodeToUnicode(kFirstGlyphCode + i));
        if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) {
            continue;  // left empty: draws nothing, does not advance
        }
        const FT_GlyphSlot slot = face->glyph;
        if (slot->format != FT_GLYPH_FORMAT_BITMAP ||
            slot->bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
            FT_Render_Glyph(slot, FT_RENDER_MODE_MONO);
        }
        if (slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
            CopyRows(slot->bitmap, rowAlignment, glyph);
        }
        glyph.originX = static_cast<float>(-slot->bitmap_left);
        glyph.originY = static_cast<float>(glyph.height - slot->bitmap_top);
        // 26.6 fixed point, rounded to whole pixels as a bitmap font's cell advance is.
        glyph.advance = static_cast<float>((slot->advance.x + 32) >> 6);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return true;
}
