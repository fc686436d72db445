// Window-resolution text: the glyph atlas, and quads in window pixels with the show's state kept.
#include "gfx/overlay_text.h"

#include <vector>

#include "gfx/glyph_table.h"
#include "platform/gl.h"

namespace {

constexpr int32_t kFirstCode = 32;
constexpr int32_t kGlyphSlots = 224;
constexpr int32_t kAtlasWidth = 256;
constexpr int32_t kGap = 1;  // empty texels between glyphs, so nearest sampling never bleeds

int32_t PowerOfTwoAtLeast(int32_t value) {
    int32_t size = 1;
    while (size < value) {
        size *= 2;
    }
    return size;
}

const GlyphImage* GlyphOf(const OverlayFont& font, unsigned char code) {
    const int32_t index = static_cast<int32_t>(code) - font.table->firstCode;
    if (index < 0 || index >= font.table->count || index >= kGlyphSlots) {
        return nullptr;
    }
    return &font.table->glyphs[index];
}

bool PixelSet(const GlyphTable& table, const GlyphImage& glyph, int32_t x, int32_t yFromBottom) {
    const int32_t rowBytes = (glyph.width + 7) / 8;
    const uint8_t byte = table.rows[glyph.rowsAt + static_cast<uint32_t>(yFromBottom * rowBytes) +
                                    static_cast<uint32_t>(x / 8)];
    return (byte & (0x80u >> (x % 8))) != 0;
}

}  // namespace

bool OverlayFontCreate(OverlayFont& font, int32_t pixelHeight) {
    const GlyphTable* table = FindGlyphTable(pixelHeight);
    if (table == nullptr || table->firstCode != kFirstCode) {
        return false;
    }
    font.table = table;
    // Shelf packing, row by row, in code order.
    int32_t x = 0;
    int32_t y = 0;
    int32_t shelf = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    for (int32_t i = 0; i < table->count && i < kGlyphSlots; ++i) {
        const GlyphImage& glyph = table->glyphs[i];
        if (x + glyph.width + kGap > kAtlasWidth) {
            x = 0;
            y += shelf + kGap;
            shelf = 0;
        }
        font.glyphs[i] = OverlayGlyph{static_cast<int16_t>(x), static_cast<int16_t>(y)};
        x += glyph.width + kGap;
        shelf = glyph.height > shelf ? glyph.height : shelf;
        ascent = glyph.height - glyph.originY > ascent ? glyph.height - glyph.originY : ascent;
        descent = glyph.originY > descent ? glyph.originY : descent;
    }
    font.atlasWidth = kAtlasWidth;
    font.atlasHeight = PowerOfTwoAtLeast(y + shelf);
    font.ascent = ascent;
    font.lineHeight = ascent + descent + 2;

    // Rows top first in the texture, so that t grows downwards like window y.
    std::vector<uint32_t> texels(static_cast<size_t>(font.atlasWidth) * font.atlasHeight,
                                 0x00FFFFFFu);
    for (int32_t i = 0; i < table->count && i < kGlyphSlots; ++i) {
        const GlyphImage& glyph = table->glyphs[i];
        for (int32_t row = 0; row < glyph.height; ++row) {
            for (int32_t column = 0; column < glyph.width; ++column) {
                if (PixelSet(*table, glyph, column, glyph.height - 1 - row)) {
                    const size_t at = static_cast<size_t>(font.glyphs[i].y + row) *
                                          static_cast<size_t>(font.atlasWidth) +
                                      static_cast<size_t>(font.glyphs[i].x + column);
                    texels[at] = 0xFFFFFFFFu;
                }
            }
        }
    }
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, font.atlasWidth, font.atlasHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    font.texture = name;
    return true;
}

int32_t OverlayTextWidth(const OverlayFont& font, const char* text, int32_t scale) {
    int32_t width = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (const GlyphImage* glyph = GlyphOf(font, static_cast<unsigned char>(*c))) {
            width += glyph->advance * scale;
        }
    }
    return width;
}

void OverlayBegin(GlStateSnapshot& saved, int32_t windowWidth, int32_t windowHeight) {
    GlStateCapture(saved);
    glViewport(0, 0, windowWidth, windowHeight);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, static_cast<double>(windowWidth), static_cast<double>(windowHeight), 0.0, -1.0,
            1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (const GLenum capability :
         {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_COLOR_LOGIC_OP, GL_TEXTURE_GEN_S,
          GL_TEXTURE_GEN_T, GL_SCISSOR_TEST, GL_FOG, GL_ALPHA_TEST, GL_STENCIL_TEST}) {
        glDisable(capability);
    }
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void OverlayEnd(const GlStateSnapshot& saved) {
    GlStateRestore(saved);
}

void OverlayRect(int32_t x, int32_t y, int32_t width, int32_t height, Color4 color) {
    glDisable(GL_TEXTURE_2D);
    glColor4f(color.r, color.g, color.b, color.a);
    const float left = static_cast<float>(x);
    const float top = static_cast<float>(y);
    const float right = static_cast<float>(x + width);
    const float bottom = static_cast<float>(y + height);
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
}

void OverlayText(const OverlayFont& font, int32_t x, int32_t y, int32_t scale, const char* text,
                 Color4 color) {
    if (font.texture == 0) {
        return;
    }
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glColor4f(color.r, color.g, color.b, color.a);
    const float toS = 1.0f / static_cast<float>(font.atlasWidth);
    const float toT = 1.0f / static_cast<float>(font.atlasHeight);
    const int32_t baseline = y + font.ascent * scale;
    int32_t pen = x;
    glBegin(GL_QUADS);
    for (const char* c = text; *c != '\0'; ++c) {
        const unsigned char code = static_cast<unsigned char>(*c);
        const GlyphImage* glyph = GlyphOf(font, code);
        if (glyph == nullptr) {
            continue;
        }
        if (glyph->width > 0 && glyph->height > 0) {
            const OverlayGlyph& place = font.glyphs[code - font.table->firstCode];
            const float left = static_cast<float>(pen - glyph->originX * scale);
            const float top =
                static_cast<float>(baseline - (glyph->height - glyph->originY) * scale);
            const float right = left + static_cast<float>(glyph->width * scale);
            const float bottom = top + static_cast<float>(glyph->height * scale);
            const float s0 = static_cast<float>(place.x) * toS;
            const float t0 = static_cast<float>(place.y) * toT;
            const float s1 = static_cast<float>(place.x + glyph->width) * toS;
            const float t1 = static_cast<float>(place.y + glyph->height) * toT;
            glTexCoord2f(s0, t0);
            glVertex2f(left, top);
            glTexCoord2f(s1, t0);
            glVertex2f(right, top);
            glTexCoord2f(s1, t1);
            glVertex2f(right, bottom);
            glTexCoord2f(s0, t1);
            glVertex2f(left, bottom);
        }
        pen += glyph->advance * scale;
    }
    glEnd();
}
