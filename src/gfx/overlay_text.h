// Text and panels drawn over the presented picture at the window's own resolution, for the study
// overlay: one size of the compiled-in glyph table in a texture, drawn as textured quads in window
// pixels. Only calls every GL the show runs on implements (no glBitmap, whose raster position
// belongs to the picture's framebuffer).
#pragma once

#include <cstdint>

#include "gfx/gl_state_snapshot.h"
#include "gfx/glyph_table.h"
#include "gfx/texture.h"

// Where each glyph of codes 32..255 sits in the atlas texture.
struct OverlayGlyph {
    int16_t x = 0;  // top-left corner in the atlas, texels
    int16_t y = 0;
};

struct OverlayFont {
    uint32_t texture = 0;  // GL texture name; 0 until OverlayFontCreate succeeds
    int32_t atlasWidth = 0;
    int32_t atlasHeight = 0;
    int32_t ascent = 0;      // pixels above the baseline the tallest glyph reaches
    int32_t lineHeight = 0;  // baseline to baseline, pixels
    const GlyphTable* table = nullptr;
    OverlayGlyph glyphs[224];
};

// Builds the atlas of the table of `pixelHeight` (white, the glyph's bits in alpha) and uploads it.
// False when the table has no such size. Needs the GL context.
bool OverlayFontCreate(OverlayFont& font, int32_t pixelHeight);

// Width in window pixels of text drawn at `scale` (each glyph pixel a scale x scale block).
int32_t OverlayTextWidth(const OverlayFont& font, const char* text, int32_t scale);

// Brackets the overlay's drawing: OverlayBegin saves the whole GL state the show carries from
// frame to frame into `saved` and sets up drawing in window pixels (x right, y down, origin at
// the top left) over the bound framebuffer of windowWidth x windowHeight; OverlayEnd puts the
// state back, so the next frame of the show cannot tell the overlay was drawn.
void OverlayBegin(GlStateSnapshot& saved, int32_t windowWidth, int32_t windowHeight);
void OverlayEnd(const GlStateSnapshot& saved);

// A filled rectangle, blended by the colour's alpha.
void OverlayRect(int32_t x, int32_t y, int32_t width, int32_t height, Color4 color);

// One line of text whose top is at y, pen starting at x. Codes without a glyph draw nothing.
void OverlayText(const OverlayFont& font, int32_t x, int32_t y, int32_t scale, const char* text,
                 Color4 color);
