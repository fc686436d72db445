// Bitmap-font text: glyph display lists built from the bundled face, positioned and printed.
#pragma once

#include <cstdint>

// Glyph lists of codes 32..255 live at base + (code - 32); codes 128..255 are Windows-1252.
struct BitmapFont {
    uint32_t base = 0;        // first display-list name, as glGenLists returns it
    int32_t pixelHeight = 0;  // the glyph table's, for drawing without the lists
};

// The two fonts of the show: 28 and 100 pixels, created at start-up in that order.
extern thread_local BitmapFont smallFont;
extern thread_local BitmapFont largeFont;

// Builds the 224 glyph lists at the given pixel height (em height, like a negative height asked of
// a system font). Needs the GL context. The lists of different fonts never share names. A thread
// that draws lists directly (core/gl_objects.h) gets no lists, and PrintText there issues the
// glyphs' glBitmap calls itself.
void CreateBitmapFont(BitmapFont& font, int32_t pixelHeight);

// Sets the colour (first, since the raster colour is latched from it), the raster position in the
// current modelview space, and the text drawing state: blending (SRC_ALPHA, ONE_MINUS_SRC_ALPHA)
// on; lighting, 2D texturing and S/T generation off. The font is not consulted.
void SetTextPosition(const BitmapFont& font, float x, float y, float r, float g, float b, float a);

// printf-like. Formats into 256 bytes (longer text is cut) and draws it from the raster position
// with one glCallLists. A null format draws nothing; bytes 1..31 draw nothing and do not advance.
void PrintText(const BitmapFont& font, const char* format, ...)
    __attribute__((format(printf, 2, 3)));
