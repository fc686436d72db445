// Texture generators: opaque black, black-and-white noise, centred disc.
#include "gfx/texture_generators.h"

#include "core/random.h"
#include "gfx/gfx_constants.h"

Color4 TextureGenerator::ColorAt(float u, float v) {
    (void)u;
    (void)v;
    return {0.0f, 0.0f, 0.0f, 1.0f};
}

Color4 NoiseGenerator::ColorAt(float u, float v) {
    (void)u;
    (void)v;
    const int32_t n = Rand() % kNoiseModulus;
    if (static_cast<float>(n) / static_cast<float>(kNoiseModulus) > kNoiseThreshold) {
        return {1.0f, 1.0f, 1.0f, 1.0f};
    }
    return {0.0f, 0.0f, 0.0f, 1.0f};
}

Color4 DiscGenerator::ColorAt(float u, float v) {
    if (color.r < kDiscUnsetLimit && color.g < kDiscUnsetLimit && color.b < kDiscUnsetLimit) {
        color = {1.0f, 1.0f, 1.0f, 1.0f};
    }
    if (u * u + v * v < kDiscRadiusSquared) {
        return {color.r, color.g, color.b, 1.0f};
    }
    return {0.0f, 0.0f, 0.0f, 1.0f};
}
