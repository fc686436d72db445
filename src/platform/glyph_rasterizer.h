// Glyph rasteriser: 1-bit glyph bitmaps of a TrueType face held in memory, ready for glBitmap.
#pragma once

#include <cstdint>
#include <vector>

// Character codes rasterised: 32..255, codes 128..255 taken as Windows-1252.
constexpr int32_t kFirstGlyphCode = 32;
constexpr int32_t kGlyphCount = 224;

// One glyph in glBitmap's terms. Rows run bottom row first; each row holds ceil(width / 8) bytes,
// most significant bit leftmost, padded to a multiple of the requested row alignment.
struct GlyphBitmap {
    int32_t width = 0;     // pixels
    int32_t height = 0;    // pixels
    float originX = 0.0f;  // glBitmap xorig: pen position measured from the bitmap's left edge
    float originY = 0.0f;  // glBitmap yorig: baseline measured up from the bitmap's bottom row
    float advance = 0.0f;  // pixels the pen moves right after the glyph
    std::vector<uint8_t> rows;
};

// Rasterises codes 32..255 of the face at the given pixel height (em size in pixels), monochrome,
// into glyphs[code - 32]. A code the face lacks gets its missing-glyph shape. rowAlignment is 1,
// 2, 4 or 8, matching GL_UNPACK_ALIGNMENT at draw time. False (glyphs left empty) when the face
// cannot be read. Any thread; nothing is kept between calls.
bool RasterizeGlyphs(const unsigned char* faceData, int32_t faceSize, int32_t pixelHeight,
                     int32_t rowAlignment, std::vector<GlyphBitmap>& glyphs);
