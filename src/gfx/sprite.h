// Screen-space sprites: coloured, optionally textured and rotated rectangles in half-screen units.
#pragma once

#include "gfx/texture.h"

struct Sprite {
    float x = 0.0f;  // centre: -1 left edge, 0 middle, 1 right edge
    float y = 0.0f;  // centre: -1 top edge, 1 bottom edge
    bool alphaBlend =
        false;     // true (SRC_ALPHA, ONE_MINUS_SRC_ALPHA); false additive (SRC_ALPHA, ONE)
    Color4 color;  // r, g, b used; the draw call brings the alpha
    bool textured = false;    // use whatever texture is bound
    float halfWidth = 0.0f;   // fraction of half the screen width
    float halfHeight = 0.0f;  // fraction of half the screen height
    float rotation = 0.0f;    // degrees about the top-left corner of the screen, not the centre
};

// Draws the rectangle in the 2D projection (between Begin2D and End2D). Leaves depth test and
// lighting off, blending off with function (SRC_ALPHA, ONE), 2D texturing as `textured` says.
// The texture shows upright and mirrored left to right.
void DrawSprite(const Sprite& sprite, float alpha);
