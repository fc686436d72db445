// Textures: allocation, colour range, fills with and without generators, packing and upload.
#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <set>

#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gl_test.h"
#include "shell/random.h"

namespace {

// Texture sizes are powers of two (OpenGL 1.1) and not square, so x/y mix-ups show.
constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 16;

struct Rgba {
    uint8_t r, g, b, a;
};

Rgba TexelAt(const Texture& texture, int32_t x, int32_t y) {
    const uint32_t texel = texture.pixels[static_cast<size_t>(y) * texture.width + x];
    Rgba bytes{};
    std::memcpy(&bytes, &texel, sizeof bytes);  // memory order is the channel order
    return bytes;
}

std::unique_ptr<Texture> MakeTexture(int32_t width = kWidth, int32_t height = kHeight) {
    std::unique_ptr<Texture> texture(TextureCreate(width, height));
    if (texture) {
        // The buffer starts undefined; poison it so that a texel the fill misses shows.
        std::fill_n(texture->pixels.get(), static_cast<size_t>(width) * height, 0xA5A5A5A5u);
    }
    return texture;
}

// The generator's draws plus four per texel, counted by replaying Rand().
uint32_t StateAfterDraws(int64_t draws) {
    ResetRand();
    for (int64_t i = 0; i < draws; ++i) {
        Rand();
    }
    return RandState();
}

class TextureTest : public GlTest {};

TEST_F(TextureTest, CreateGivesZeroColoursAFreshNameAndTheSize) {
    auto first = MakeTexture();
    auto second = MakeTexture();
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->width, kWidth);
    EXPECT_EQ(first->height, kHeight);
    EXPECT_NE(first->name, 0u);
    EXPECT_NE(first->name, second->name);
    EXPECT_EQ(first->base.r + first->base.g + first->base.b + first->base.a, 0.0f);
    EXPECT_EQ(first->range.r + first->range.g + first->range.b + first->range.a, 0.0f);
}

TEST_F(TextureTest, SetColorRangeStoresLowAndTheDifference) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.1f, 0.2f, 0.3f, 0.4f}, {0.5f, 0.2f, 0.0f, 1.0f});
    EXPECT_FLOAT_EQ(texture->base.g, 0.2f);
    EXPECT_FLOAT_EQ(texture->base.a, 0.4f);
    EXPECT_FLOAT_EQ(texture->range.r, 0.4f);
    EXPECT_FLOAT_EQ(texture->range.g, 0.0f);
    EXPECT_FLOAT_EQ(texture->range.b, -0.3f);
    EXPECT_FLOAT_EQ(texture->range.a, 0.6f);
}

TEST_F(TextureTest, PackColorTruncatesKeepsLowBitsAndStoresRgbaBytes) {
    const uint32_t packed = PackColor({1.0f, 0.5f, 0.999f, 0.0f});
    Rgba bytes{};
    std::memcpy(&bytes, &packed, sizeof bytes);
    EXPECT_EQ(bytes.r, 255);
    EXPECT_EQ(bytes.g, 127);  // 127.5 truncated
    EXPECT_EQ(bytes.b, 254);  // 254.745 truncated
    EXPECT_EQ(bytes.a, 0);
    EXPECT_EQ(PackColor({2.0f, 0.0f, 0.0f, 0.0f}), 254u);  // 510 keeps only its low byte
}

TEST_F(TextureTest, FillWithoutGeneratorAndZeroRangeIsTransparentBlack) {
    auto texture = MakeTexture();
    FillTexture(*texture, nullptr);
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        ASSERT_EQ(texture->pixels[i], 0u) << "texel " << i;
    }
}

TEST_F(TextureTest, BaseGeneratorGivesOpaqueBlackAndIsUploadedWithNearestFilters) {
    auto texture = MakeTexture();
    TextureGenerator generator;
    FillTexture(*texture, &generator);
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        ASSERT_EQ(texture->pixels[i], 0xFF000000u) << "texel " << i;
    }
    GLint boundName = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &boundName);
    EXPECT_EQ(static_cast<uint32_t>(boundName), texture->name);
    GLint minFilter = 0;
    GLint magFilter = 0;
    GLint width = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &magFilter);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(minFilter, GL_NEAREST);
    EXPECT_EQ(magFilter, GL_NEAREST);
    EXPECT_EQ(width, kWidth);
    std::vector<uint32_t> uploaded(kWidth * kHeight);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_TRUE(std::equal(uploaded.begin(), uploaded.end(), texture->pixels.get()));
}

TEST_F(TextureTest, DarkNoiseRangeGivesIndependentDarkChannelsAndOpaqueAlpha) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.0f, 0.0f, 0.0f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f});
    FillTexture(*texture, nullptr);
    std::set<int> reds;
    int32_t channelsDiffer = 0;
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            const Rgba texel = TexelAt(*texture, x, y);
            ASSERT_LE(texel.r, 25);
            ASSERT_LE(texel.g, 25);
            ASSERT_LE(texel.b, 25);
            ASSERT_EQ(texel.a, 255);
            reds.insert(texel.r);
            channelsDiffer += (texel.r != texel.g || texel.g != texel.b) ? 1 : 0;
        }
    }
    EXPECT_GE(reds.size(), 20u);  // spread over the 26 values, not a constant
    EXPECT_GT(channelsDiffer, kWidth * kHeight / 2);
}

TEST_F(TextureTest, SumsSaturateAt255AndBottomOutAtZero) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.9f, 0.3f, 0.5f, -2.0f}, {1.2f, 0.8f, 0.5f, -1.5f});
    DiscGenerator disc;  // adds white inside the disc, black (alpha 1) outside
    FillTexture(*texture, &disc);
    const Rgba centre = TexelAt(*texture, kWidth / 2, kHeight / 2);
    EXPECT_EQ(centre.r, 255);  // 1.9 and more
    EXPECT_EQ(centre.g, 255);  // 1.3 and more
    EXPECT_EQ(centre.b, 255);  // 1.5
    EXPECT_EQ(centre.a, 0);    // 1 - 2 up to 1 - 1.5
    const Rgba corner = TexelAt(*texture, 0, 0);
    EXPECT_GE(corner.r, 229);  // 0.9 and more
    EXPECT_GE(corner.g, 76);   // 0.3 up to 0.8
    EXPECT_LE(corner.g, 204);
    EXPECT_EQ(corner.b, 127);  // 0.5 exactly
    EXPECT_EQ(corner.a, 0);    // negative sums
}

TEST_F(TextureTest, NoiseHasOnlyBlackAndWhiteTexelsInRoughlyEqualShares) {
    auto texture = MakeTexture(64, 64);
    NoiseGenerator noise;
    FillTexture(*texture, &noise);
    int32_t white = 0;
    for (int32_t i = 0; i < 64 * 64; ++i) {
        const uint32_t texel = texture->pixels[i];
        ASSERT_TRUE(texel == 0xFFFFFFFFu || texel == 0xFF000000u) << std::hex << texel;
        white += texel == 0xFFFFFFFFu ? 1 : 0;
    }
    EXPECT_GT(white, 64 * 64 * 4 / 10);
    EXPECT_LT(white, 64 * 64 * 6 / 10);
}

TEST_F(TextureTest, DiscIsWhiteInsideRadiusSqrtPoint8OnOpaqueBlack) {
    auto texture = MakeTexture(64, 64);
    DiscGenerator disc;
    FillTexture(*texture, &disc);
    EXPECT_FLOAT_EQ(disc.color.r, 1.0f);  // the unset colour became white and was kept
    const Rgba white{255, 255, 255, 255};
    const Rgba black{0, 0, 0, 255};
    const auto same = [](Rgba a, Rgba b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    EXPECT_TRUE(same(TexelAt(*texture, 32, 32), white));
    for (const auto& [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}}) {
        EXPECT_TRUE(same(TexelAt(*texture, x, y), black)) << x << "," << y;
    }
    // Along the middle row (v = 0) u = x / 32 - 1: u^2 = 0.821 at x = 3 and 61, 0.766 at 4 and 60.
    EXPECT_TRUE(same(TexelAt(*texture, 3, 32), black));
    EXPECT_TRUE(same(TexelAt(*texture, 4, 32), white));
    EXPECT_TRUE(same(TexelAt(*texture, 60, 32), white));
    EXPECT_TRUE(same(TexelAt(*texture, 61, 32), black));
    // Along the middle column the same, with y.
    EXPECT_TRUE(same(TexelAt(*texture, 32, 3), black));
    EXPECT_TRUE(same(TexelAt(*texture, 32, 4), white));
    // The diagonal: u = v, 2u^2 < 0.8 for |u| < 0.632: x = 12 gives u = -0.625, x = 11 -0.656.
    EXPECT_TRUE(same(TexelAt(*texture, 12, 12), white));
    EXPECT_TRUE(same(TexelAt(*texture, 11, 11), black));
}

TEST_F(TextureTest, DiscKeepsAColourThatIsSet) {
    DiscGenerator disc;
    disc.color = {0.5f, 0.01f, 0.01f, 0.3f};
    const Color4 inside = disc.ColorAt(0.0f, 0.0f);
    EXPECT_EQ(inside.r, 0.5f);
    EXPECT_EQ(inside.g, 0.01f);
    EXPECT_EQ(inside.a, 1.0f);
    const Color4 outside = disc.ColorAt(0.9f, 0.0f);
    EXPECT_EQ(outside.r, 0.0f);
    EXPECT_EQ(outside.a, 1.0f);
}

TEST_F(TextureTest, EveryFillDrawsFourNumbersPerTexelAfterTheGenerator) {
    auto texture = MakeTexture();
    ResetRand();
    FillTexture(*texture, nullptr);  // draws even with zero range
    const uint32_t plain = RandState();
    ResetRand();
    TextureGenerator black;
    FillTexture(*texture, &black);
    const uint32_t withBase = RandState();
    ResetRand();
    NoiseGenerator noise;
    FillTexture(*texture, &noise);
    const uint32_t withNoise = RandState();
    EXPECT_EQ(plain, StateAfterDraws(4 * kWidth * kHeight));
    EXPECT_EQ(withBase, StateAfterDraws(4 * kWidth * kHeight));
    EXPECT_EQ(withNoise, StateAfterDraws(5 * kWidth * kHeight));
}

TEST_F(TextureTest, TexelsAreVisitedColumnByColumnRedGreenBlueAlpha) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.0f, 0.0f, 0.0f, 0.0f}, {1.0f, 1.0f, 1.0f, 1.0f});
    ResetRand();
    std::vector<int32_t> draws(4 * kHeight + 4);
    for (int32_t& draw : draws) {
        draw = Rand() % 256;
    }
    ResetRand();
    FillTexture(*texture, nullptr);
    // Texel (0, 1) takes draws 4..7, texel (1, 0) the four after the whole first column.
    const auto expectTexel = [&](int32_t x, int32_t y, size_t firstDraw) {
        const Rgba texel = TexelAt(*texture, x, y);
        const int32_t channels[4] = {texel.r, texel.g, texel.b, texel.a};
        for (size_t k = 0; k < 4; ++k) {
            // n / 255 * 255 in float may land just below n.
            EXPECT_NEAR(channels[k], draws[firstDraw + k], 1) << x << "," << y << " channel " << k;
        }
    };
    expectTexel(0, 0, 0);
    expectTexel(0, 1, 4);
    expectTexel(1, 0, 4 * kHeight);
}

}  // namespace
