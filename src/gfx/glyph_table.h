// The bitmap fonts' glyph images, generated once from the bundled face and compiled in, so that
// every platform's build draws the same pixels without a font rasteriser.
#pragma once

#include <cstdint>

// One glyph in glBitmap's terms. Rows run bottom row first, ceil(width / 8) bytes each (row
// alignment 1), most significant bit leftmost.
struct GlyphImage {
    int16_t width;    // pixels; 0 for a glyph without an image (the space)
    int16_t height;   // pixels
    int16_t originX;  // glBitmap xorig: pen position measured from the bitmap's left edge
    int16_t originY;  // glBitmap yorig: baseline measured up from the bitmap's bottom row
    int16_t advance;  // whole pixels the pen moves right after the glyph
    uint32_t rowsAt;  // offset of the glyph's first row in the table's rows
};

// The glyphs of codes firstCode .. firstCode + count - 1 (codes 128..255 as Windows-1252) at one
// pixel height (em size).
struct GlyphTable {
    int32_t pixelHeight;
    int32_t firstCode;
    int32_t count;
    const GlyphImage* glyphs;
    const uint8_t* rows;
};

// The generated tables (assets/fonts/glyph_table.cpp), one per size the show uses.
extern const GlyphTable glyphTables[];
extern const int32_t glyphTableCount;

// The table for pixelHeight; null when none was generated for it.
const GlyphTable* FindGlyphTable(int32_t pixelHeight);
