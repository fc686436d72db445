// Texture objects: CPU texel buffers computed from a generator plus random noise, then uploaded.
#pragma once

#include <cstdint>
#include <memory>

// Colour with channels nominally 0..1.
struct Color4 {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;
};

// Component-wise a - b.
Color4 operator-(const Color4& a, const Color4& b);

struct TextureGenerator;

// Texel (x, y) is pixels[y * width + x]; bytes in memory R, G, B, A.
struct Texture {
    uint32_t name = 0;                   // GL texture object
    std::unique_ptr<uint32_t[]> pixels;  // width * height texels, kept after upload
    int32_t width = 0;
    int32_t height = 0;
    Color4 base;   // added to every texel
    Color4 range;  // per-channel noise amplitude
};

// The shared textures: entry 1 is the white disc, entries 4..7 four frames of static noise; the
// others exist but are never bound. Null where allocation failed or before start-up.
constexpr int32_t kSharedTextureCount = 20;
extern thread_local Texture* sharedTextures[kSharedTextureCount];

// Frees the calling thread's shared-texture records and empties its table. Their GL names are
// the thread's to delete (core/gl_objects.h).
void ReleaseSharedTextures();

// New texture with zero base and range, an uninitialised buffer and a texture name; no image is
// uploaded. Null when the record or its buffer cannot be allocated.
Texture* TextureCreate(int32_t width, int32_t height);

// The same set-up on an existing record (one embedded in another). False when the buffer cannot
// be allocated; the record then has no pixels and size 0.
bool TextureInit(Texture& texture, int32_t width, int32_t height);

// base = low, range = high - low.
void SetColorRange(Texture& texture, Color4 low, Color4 high);

// Computes every texel column by column (x outer, y inner): the generator's colour at
// u, v in -1..1 (or zero without a generator), plus for r, g, b, a in turn
// (Rand() % 256) * range / 255 + base, clamped to 0..1 and packed; then nearest filtering and
// upload. Exactly four Rand() draws per texel after any the generator makes.
void FillTexture(Texture& texture, TextureGenerator* generator);

// Whether every texel of the texture object `name` has alpha 255: as FillTexture computed it, or as
// MarkTextureOpaque declared it after a copy. False for a name never filled (TextureInit resets it)
// and for 0.
bool TextureOpaque(uint32_t name);

// TextureOpaque of the texture bound to GL_TEXTURE_2D, asked of GL.
bool BoundTextureOpaque();

// For contents written outside FillTexture that are known to have alpha 255 everywhere.
void MarkTextureOpaque(const Texture& texture);

// glBindTexture(GL_TEXTURE_2D, name). Enabling GL_TEXTURE_2D is the caller's business.
void BindTexture(const Texture& texture);

// Each channel * 255 truncated toward zero, low 8 bits: R | G << 8 | B << 16 | A << 24.
uint32_t PackColor(Color4 color);
