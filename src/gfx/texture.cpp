// Texture objects: allocation, colour range, fill and upload, binding and texel packing.
#include "gfx/texture.h"

#include <new>
#include <vector>

#include "core/gl_objects.h"
#include "core/random.h"
#include "gfx/gfx_constants.h"
#include "gfx/texture_generators.h"
#include "platform/gl.h"

thread_local Texture* sharedTextures[kSharedTextureCount] = {};

namespace {

// Indexed by texture name; GL hands out small names and the show's thread never deletes a texture.
thread_local std::vector<bool> opaqueByName;

void SetOpaque(uint32_t name, bool opaque) {
    if (name == 0) {
        return;
    }
    if (name >= opaqueByName.size()) {
        if (!opaque) {
            return;
        }
        opaqueByName.resize(name + 1, false);
    }
    opaqueByName[name] = opaque;
}

}  // namespace

Color4 operator-(const Color4& a, const Color4& b) {
    return {a.r - b.r, a.g - b.g, a.b - b.b, a.a - b.a};
}

bool TextureInit(Texture& texture, int32_t width, int32_t height) {
    texture.base = Color4{};
    texture.range = Color4{};
    texture.width = 0;
    texture.height = 0;
    texture.pixels.reset();
    if (width > 0 && height > 0) {
        const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
        texture.pixels.reset(new (std::nothrow) uint32_t[count]);
        if (!texture.pixels) {
            return false;
        }
        texture.width = width;
        texture.height = height;
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    NoteTextureMade(name);
    texture.name = name;
    SetOpaque(name, false);
    return true;
}

void ReleaseSharedTextures() {
    for (Texture*& texture : sharedTextures) {
        delete texture;
        texture = nullptr;
    }
}

Texture* TextureCreate(int32_t width, int32_t height) {
    Texture* texture = new (std::nothrow) Texture;
    if (texture == nullptr) {
        return nullptr;
    }
    if (!TextureInit(*texture, width, height)) {
        delete texture;
        return nullptr;
    }
    return texture;
}

void SetColorRange(Texture& texture, Color4 low, Color4 high) {
    texture.base = low;
    texture.range = high - low;
}

namespace {

float Clamp01(float value) {
    if (value < 0.0f) {
        return 0.0f;
    }
    if (value > 1.0f) {
        return 1.0f;
    }
    return value;
}

// One channel's noise: (Rand() % 256) * range / 255 + base, then the generator's share.
float AddNoise(float generated, float range, float base) {
    const float draw = static_cast<float>(Rand() % kNoiseSteps);
    return draw * range / kChannelScale + base + generated;
}

struct TexelKinds {
    bool opaque = true;  // every alpha 255
    bool grey = true;    // every r = g = b
};

TexelKinds ScanTexels(const uint32_t* pixels, size_t count) {
    TexelKinds kinds;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t texel = pixels[i];
        const uint32_t red = texel & 0xFFu;
        kinds.opaque = kinds.opaque && (texel >> 24) == 0xFFu;
        kinds.grey = kinds.grey && (texel & 0xFFFFFFu) == (red | red << 8 | red << 16);
    }
    return kinds;
}

// Opaque grey texels sample to the very same colours (L, L, L, 1) from a luminance texture, a
// quarter of the size: the static noise is black and white, and a software rasteriser fetching
// scattered texels from 256 KB instead of 1 MB misses its caches far less.
void UploadAsLuminance(const uint32_t* pixels, int32_t width, int32_t height) {
    std::vector<uint8_t> luminance(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (size_t i = 0; i < luminance.size(); ++i) {
        luminance[i] = static_cast<uint8_t>(pixels[i] & 0xFFu);
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8, width, height, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                 luminance.data());
    glPopClientAttrib();
}

}  // namespace

void FillTexture(Texture& texture, TextureGenerator* generator) {
    BindTexture(texture);
    const int32_t width = texture.width;
    const int32_t height = texture.height;
    uint32_t* pixels = texture.pixels.get();
    if (pixels == nullptr) {
        return;  // nothing was allocated, so there is nothing to compute or upload
    }
    const float widthF = static_cast<float>(width);
    const float heightF = static_cast<float>(height);
    // Column by column: this order decides which random numbers land in which texel.
    for (int32_t x = 0; x < width; ++x) {
        const float u = (static_cast<float>(x) / widthF - 0.5f) * 2.0f;
        for (int32_t y = 0; y < height; ++y) {
            const float v = (static_cast<float>(y) / heightF - 0.5f) * 2.0f;
            Color4 c = generator != nullptr ? generator->ColorAt(u, v) : Color4{};
            c.r = AddNoise(c.r, texture.range.r, texture.base.r);
            c.g = AddNoise(c.g, texture.range.g, texture.base.g);
            c.b = AddNoise(c.b, texture.range.b, texture.base.b);
            c.a = AddNoise(c.a, texture.range.a, texture.base.a);
            c = {Clamp01(c.r), Clamp01(c.g), Clamp01(c.b), Clamp01(c.a)};
            pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + x] = PackColor(c);
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    const TexelKinds kinds =
        ScanTexels(pixels, static_cast<size_t>(width) * static_cast<size_t>(height));
    if (kinds.opaque && kinds.grey) {
        UploadAsLuminance(pixels, width, height);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    }
    SetOpaque(texture.name, kinds.opaque);
}

bool TextureOpaque(uint32_t name) {
    return name != 0 && name < opaqueByName.size() && opaqueByName[name];
}

bool BoundTextureOpaque() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return name > 0 && TextureOpaque(static_cast<uint32_t>(name));
}

void MarkTextureOpaque(const Texture& texture) {
    SetOpaque(texture.name, true);
}

void BindTexture(const Texture& texture) {
    glBindTexture(GL_TEXTURE_2D, texture.name);
}

uint32_t PackColor(Color4 color) {
    // Truncation toward zero, then only the low 8 bits of each channel survive.
    const auto channel = [](float value) {
        return static_cast<uint32_t>(static_cast<int32_t>(value * kChannelScale)) & 0xFFu;
    };
    return channel(color.r) | channel(color.g) << 8 | channel(color.b) << 16 |
           channel(color.a) << 24;
}
