// Single-precision constants of the toolkit's colour, texture and text computations.
#pragma once

#include <cstdint>

// Texture channels: Rand() % 256 scaled by range / 255; packing multiplies by 255.
constexpr int32_t kNoiseSteps = 256;
constexpr float kChannelScale = 255.0f;

// NoiseGenerator: n = Rand() % 255, white when n / 255 > 0.5.
constexpr int32_t kNoiseModulus = 255;
constexpr float kNoiseThreshold = 0.5f;

// DiscGenerator: a colour with r, g and b all below this counts as unset and becomes white.
constexpr float kDiscUnsetLimit = 0.04f;
// Squared radius of the disc in u, v units (-1..1 across the texture).
constexpr float kDiscRadiusSquared = 0.8f;

// Formatted text, terminator included.
constexpr int32_t kTextBufferSize = 256;

// Start-up sizes.
constexpr int32_t kFeedbackSize = 64;
constexpr int32_t kSmallFontHeight = 28;
constexpr int32_t kLargeFontHeight = 100;
// The study overlay's text, drawn at the window's resolution rather than into the picture.
constexpr int32_t kOverlayFontHeight = 16;
constexpr int32_t kSharedTextureSize = 512;

// End-of-frame text position, in text-space units (towards the lower-left corner).
constexpr float kParkedTextX = -1.5f;
constexpr float kParkedTextY = -1.5f;
