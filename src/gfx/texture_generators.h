// Colour sources for FillTexture: the opaque-black base, black-and-white noise and a centred disc.
#pragma once

#include "gfx/texture.h"

// Colour as a function of position, u and v in -1..1. The base returns opaque black everywhere.
struct TextureGenerator {
    virtual Color4 ColorAt(float u, float v);
    virtual ~TextureGenerator() = default;
};

// White (1, 1, 1, 1) when Rand() % 255 >= 128, else black (0, 0, 0, 1); one draw per call.
struct NoiseGenerator : TextureGenerator {
    Color4 ColorAt(float u, float v) override;
};

// Disc of radius sqrt(0.8) in colour (white when left near black) on opaque black.
struct DiscGenerator : TextureGenerator {
    Color4 color;  // near-black (r, g, b all < 0.04) becomes white on the first call
    Color4 ColorAt(float u, float v) override;
};
