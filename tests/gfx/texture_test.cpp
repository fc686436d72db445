// Textures: colour range, packing, and fills with and without generators.
#include <algorithm>
#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gl_test.h"
#include "platform/gl.h"

namespace {

// Texture sizes are powers of two (OpenGL 1.1) and not square, so x/y mix-ups show.
constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 16;

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

Rgba Bytes(uint32_t texel) {
    Rgba bytes{};
    std::memcpy(&bytes, &texel, sizeof bytes);  // memory order is the channel order
    return bytes;
}

Rgba TexelAt(const Texture& texture, int32_t x, int32_t y) {
    return Bytes(texture.pixels[static_cast<size_t>(y) * texture.width + x]);
}

std::unique_ptr<Texture> MakeTexture(int32_t width = kWidth, int32_t height = kHeight) {
    std::unique_ptr<Texture> texture(TextureCreate(width, height));
    if (texture) {
        // The buffer starts undefined; poison it so that a texel the fill misses shows.
        std::fill_n(texture->pixels.get(), static_cast<size_t>(width) * height, 0xA5A5A5A5u);
    }
    return texture;
}

class TextureTest : public GlTest {};

TEST_F(TextureTest, PackColorTruncatesKeepsLowBitsAndStoresRgbaBytes) {
    EXPECT_EQ(Bytes(PackColor({1.0f, 0.5f, 0.999f, 0.0f})), (Rgba{255, 127, 254, 0}));
    EXPECT_EQ(PackColor({2.0f, 0.0f, 0.0f, 0.0f}), 254u);  // 510 keeps only its low byte
}

TEST_F(TextureTest, DarkNoiseRangeGivesIndependentDarkChannelsAndOpaqueAlpha) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.0f, 0.0f, 0.0f, 1.0f}, {0.1f, 0.1f, 0.1f, 1.0f});
    FillTexture(*texture, nullptr);
    std::set<int> reds;
    int32_t channelsDiffer = 0;
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        const Rgba texel = Bytes(texture->pixels[i]);
        ASSERT_LE(std::max({texel.r, texel.g, texel.b}), 25) << "texel " << i;
        ASSERT_EQ(texel.a, 255) << "texel " << i;
        reds.insert(texel.r);
        channelsDiffer += (texel.r != texel.g || texel.g != texel.b) ? 1 : 0;
    }
    EXPECT_GE(reds.size(), 20u);  // spread over the 26 values, not a constant
    EXPECT_GT(channelsDiffer, kWidth * kHeight / 2);
}

TEST_F(TextureTest, SumsSaturateAt255AndBottomOutAtZero) {
    auto texture = MakeTexture();
    SetColorRange(*texture, {0.9f, 0.3f, 0.5f, -2.0f}, {1.2f, 0.8f, 0.5f, -1.5f});
    DiscGenerator disc;  // adds white inside the disc, black (alpha 1) outside
    FillTexture(*texture, &disc);
    // Centre: 1.9.., 1.3.., 1.5 saturate; alpha 1 - 2 .. 1 - 1.5 bottoms out.
    EXPECT_EQ(TexelAt(*texture, kWidth / 2, kHeight / 2), (Rgba{255, 255, 255, 0}));
    const Rgba corner = TexelAt(*texture, 0, 0);
    EXPECT_GE(corner.r, 229);  // 0.9 and more
    EXPECT_GE(corner.g, 76);   // 0.3 up to 0.8
    EXPECT_LE(corner.g, 204);
    EXPECT_EQ(corner.b, 127);  // 0.5 exactly
    EXPECT_EQ(corner.a, 0);    // negative sums
    // Outside the disc red spans 0.9..1.2, so a third of it (draws under 85) stays below 255.
    int32_t unsaturatedRed = 0;
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        unsaturatedRed += Bytes(texture->pixels[i]).r < 255 ? 1 : 0;
    }
    EXPECT_GT(unsaturatedRed, 30);
}

TEST_F(TextureTest, OpacityFollowsTheLastFillOrCopyAndTheBinding) {
    auto translucent = MakeTexture();
    auto opaque = MakeTexture();
    EXPECT_FALSE(TextureOpaque(opaque->name));  // created, never filled
    NoiseGenerator noise;
    FillTexture(*opaque, &noise);
    SetColorRange(*translucent, {0.0f, 0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f, 1.0f});
    FillTexture(*translucent, nullptr);  // alpha 0..1: some texel below 255
    EXPECT_TRUE(TextureOpaque(opaque->name));
    EXPECT_FALSE(TextureOpaque(translucent->name));
    // Opaque grey texels go up as luminance (sampled as L, L, L, 1: the same colours).
    BindTexture(*opaque);
    GLint internal = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(internal, GL_LUMINANCE8);
    std::vector<uint8_t> grey(kWidth * kHeight);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, grey.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    for (int32_t i = 0; i < kWidth * kHeight; ++i) {
        ASSERT_EQ(grey[i], opaque->pixels[i] & 0xFFu) << i;
    }
    BindTexture(*translucent);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &internal);
    EXPECT_EQ(internal, 4);
    EXPECT_FALSE(BoundTextureOpaque());
    BindTexture(*opaque);
    EXPECT_TRUE(BoundTextureOpaque());
    MarkTextureOpaque(*translucent);
    EXPECT_TRUE(TextureOpaque(translucent->name));
    EXPECT_FALSE(TextureOpaque(0));
    EXPECT_FALSE(TextureOpaque(opaque->name + 1000));
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
    // Middle row/column: u = x / 32 - 1, u^2 = 0.821 at 3 and 61, 0.766 at 4 and 60.
    // Diagonal: 2u^2 < 0.8 for |u| < 0.632: x = 12 gives u = -0.625, x = 11 -0.656.
    const struct {
        int32_t x, y;
        bool inside;
    } probes[] = {{32, 32, true}, {0, 0, false},  {63, 0, false}, {0, 63, false},  {63, 63, false},
                  {3, 32, false}, {4, 32, true},  {60, 32, true}, {61, 32, false}, {32, 3, false},
                  {32, 4, true},  {12, 12, true}, {11, 11, false}};
    for (const auto& probe : probes) {
        const Rgba expected = probe.inside ? Rgba{255, 255, 255, 255} : Rgba{0, 0, 0, 255};
        EXPECT_EQ(TexelAt(*texture, probe.x, probe.y), expected) << probe.x << "," << probe.y;
    }
    // A colour that is set is kept, with alpha 1 inside and out.
    disc.color = {0.5f, 0.01f, 0.01f, 0.3f};
    const Color4 inside = disc.ColorAt(0.0f, 0.0f);
    const Color4 outside = disc.ColorAt(0.9f, 0.0f);
    EXPECT_EQ(inside.r, 0.5f);
    EXPECT_EQ(inside.a, 1.0f);
    EXPECT_EQ(outside.r, 0.0f);
    EXPECT_EQ(outside.a, 1.0f);
}

}  // namespace
