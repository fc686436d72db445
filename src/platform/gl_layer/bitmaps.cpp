// glBitmap and the raster position: a glyph atlas of luminance pages, and quads that keep only
// the set bits, drawn in window coordinates.
#include "platform/gl_layer/bitmaps.h"

#include <cmath>
#include <vector>

#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/draw_state.h"
#include "platform/gl_layer/layer_state.h"

namespace gllayer {

namespace {

// Atlas pages are square; glyphs sit on shelves, one texel apart.
constexpr int32_t kPageSize = 1024;

struct Atlas {
    std::vector<uint32_t> pages;  // ES textures
    int32_t shelfX = 0;
    int32_t shelfY = 0;
    int32_t shelfHeight = 0;
    std::vector<Glyph> glyphs;
};

// A run of glyph quads waiting to be drawn, all from one page.
struct Batch {
    int32_t depth = 0;  // nested Begin/End pairs
    int32_t page = -1;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    std::vector<float> positions;  // 4 a corner, clip coordinates
    std::vector<float> texCoords;  // 2 a corner
    std::vector<uint32_t> indices;
};

Atlas atlas;
Batch batch;

// Finds room for a width x height image, opening a new page when the last one is full.
bool Place(int32_t width, int32_t height, int32_t* page, int32_t* x, int32_t* y) {
    if (width + 1 > kPageSize || height + 1 > kPageSize) {
        return false;
    }
    if (atlas.pages.empty() || atlas.shelfX + width + 1 > kPageSize) {
        atlas.shelfX = 0;
        atlas.shelfY += atlas.shelfHeight;
        atlas.shelfHeight = 0;
    }
    if (atlas.pages.empty() || atlas.shelfY + height + 1 > kPageSize) {
        const uint32_t texture = RendererCreateTexture();
        RendererTextureImage(texture, true, kPageSize, kPageSize, 1, nullptr);
        RendererTextureFilter(texture, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        RendererTextureFilter(texture, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        // Blank first: a page's unused texels must read as unset bits.
        const std::vector<uint8_t> blank(static_cast<size_t>(kPageSize) * kPageSize, 0);
        RendererTextureSubImage(texture, 0, 0, kPageSize, kPageSize, blank.data());
        atlas.pages.push_back(texture);
        atlas.shelfX = 0;
        atlas.shelfY = 0;
        atlas.shelfHeight = 0;
    }
    *page = static_cast<int32_t>(atlas.pages.size()) - 1;
    *x = atlas.shelfX;
    *y = atlas.shelfY;
    atlas.shelfX += width + 1;
    atlas.shelfHeight = height + 1 > atlas.shelfHeight ? height + 1 : atlas.shelfHeight;
    return true;
}

// Bit (x, y) of a bitmap as the unpack state lays it out: rows bottom first, each padded to the
// unpack alignment, bits most significant first unless GL_UNPACK_LSB_FIRST.
bool BitAt(const GLubyte* bitmap, const PixelStore& unpack, int32_t width, int32_t x, int32_t y) {
    const int32_t rowPixels = unpack.rowLength > 0 ? unpack.rowLength : width;
    const int32_t alignment = unpack.alignment;
    const int32_t rowBytes = ((rowPixels + 7) / 8 + alignment - 1) / alignment * alignment;
    const int32_t column = x + unpack.skipPixels;
    const GLubyte byte = bitmap[(y + unpack.skipRows) * rowBytes + column / 8];
    const int32_t bit = unpack.lsbFirst ? column % 8 : 7 - column % 8;
    return ((byte >> bit) & 1) != 0;
}

void DrawBatch() {
    if (batch.indices.empty()) {
        return;
    }
    DrawState draw;
    if (PrepareDraw(&draw)) {
        draw.mvp = Mat4Identity();
        draw.shading = Shading::Bitmap;
        draw.texture = atlas.pages[static_cast<size_t>(batch.page)];
        draw.sphereMapS = false;
        draw.sphereMapT = false;
        draw.cullFace = false;
        draw.viewport[0] = 0;
        draw.viewport[1] = 0;
        draw.viewport[2] = FramebufferWidth();
        draw.viewport[3] = FramebufferHeight();
        draw.depthRange[0] = 0.0f;
        draw.depthRange[1] = 1.0f;
        VertexSource source;
        source.positions = batch.positions.data();
        source.positionSize = 4;
        source.positionStride = 4;
        source.texCoords = batch.texCoords.data();
        source.texCoordSize = 2;
        source.texCoordStride = 2;
        std::copy(batch.color, batch.color + 4, source.constantColor);
        source.vertexCount = static_cast<int32_t>(batch.positions.size() / 4);
        source.indices = batch.indices.data();
        source.indexCount = static_cast<int32_t>(batch.indices.size());
        RendererDraw(draw, Primitive::Triangles, source);
    }
    batch.positions.clear();
    batch.texCoords.clear();
    batch.indices.clear();
}

void AddQuad(const Glyph& glyph, float x0, float y0, float z, const float color[4]) {
    if (glyph.page != batch.page || !std::equal(color, color + 4, batch.color)) {
        DrawBatch();
        batch.page = glyph.page;
        std::copy(color, color + 4, batch.color);
    }
    const float toClipX = 2.0f / static_cast<float>(FramebufferWidth());
    const float toClipY = 2.0f / static_cast<float>(FramebufferHeight());
    const float x1 = x0 + static_cast<float>(glyph.width);
    const float y1 = y0 + static_cast<float>(glyph.height);
    const float clipZ = 2.0f * z - 1.0f;
    const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    const float s0 = static_cast<float>(glyph.x) / kPageSize;
    const float t0 = static_cast<float>(glyph.y) / kPageSize;
    const float s1 = static_cast<float>(glyph.x + glyph.width) / kPageSize;
    const float t1 = static_cast<float>(glyph.y + glyph.height) / kPageSize;
    const float texels[4][2] = {{s0, t0}, {s1, t0}, {s1, t1}, {s0, t1}};
    const uint32_t first = static_cast<uint32_t>(batch.positions.size() / 4);
    for (int k = 0; k < 4; ++k) {
        batch.positions.insert(
            batch.positions.end(),
            {corners[k][0] * toClipX - 1.0f, corners[k][1] * toClipY - 1.0f, clipZ, 1.0f});
        batch.texCoords.insert(batch.texCoords.end(), {texels[k][0], texels[k][1]});
    }
    batch.indices.insert(batch.indices.end(),
                         {first, first + 1, first + 2, first, first + 2, first + 3});
}

}  // namespace

int32_t AddGlyph(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                 GLfloat ymove, const GLubyte* bitmap) {
    Glyph glyph;
    glyph.xorig = xorig;
    glyph.yorig = yorig;
    glyph.xmove = xmove;
    glyph.ymove = ymove;
    if (width > 0 && height > 0 && bitmap != nullptr &&
        Place(width, height, &glyph.page, &glyph.x, &glyph.y)) {
        glyph.width = width;
        glyph.height = height;
        const PixelStore& unpack = State().client.unpack;
        std::vector<uint8_t> texels(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                texels[static_cast<size_t>(y) * width + x] =
                    BitAt(bitmap, unpack, width, x, y) ? 255 : 0;
            }
        }
        RendererTextureSubImage(atlas.pages[static_cast<size_t>(glyph.page)], glyph.x, glyph.y,
                                width, height, texels.data());
    }
    atlas.glyphs.push_back(glyph);
    return static_cast<int32_t>(atlas.glyphs.size()) - 1;
}

void DrawGlyph(int32_t index) {
    RasterPosition& raster = State().server.raster;
    if (!raster.valid || index < 0 || index >= static_cast<int32_t>(atlas.glyphs.size())) {
        return;
    }
    const Glyph& glyph = atlas.glyphs[static_cast<size_t>(index)];
    if (glyph.page >= 0) {
        // The bitmap's lower-left corner, as Mesa places it: a hair past the raster position so
        // that one lying exactly on a pixel edge does not fall to the pixel before it.
        constexpr float kEpsilon = 0.0001f;
        const float x = std::floor(raster.window[0] - glyph.xorig + kEpsilon);
        const float y = std::floor(raster.window[1] - glyph.yorig + kEpsilon);
        AddQuad(glyph, x, y, raster.window[2], raster.color);
        if (batch.depth == 0) {
            DrawBatch();
        }
    }
    raster.window[0] += glyph.xmove;
    raster.window[1] += glyph.ymove;
}

void BeginGlyphBatch() {
    ++batch.depth;
}

void EndGlyphBatch() {
    if (batch.depth > 0 && --batch.depth == 0) {
        DrawBatch();
    }
}

void FlushGlyphBatch() {
    DrawBatch();
}

void SetRasterPosition(float x, float y, float z, float w) {
    const LayerState& layer = State();
    ServerState& s = State().server;
    const Mat4 mvp =
        Mat4Multiply(layer.matrices.projection.back(), layer.matrices.modelview.back());
    const float object[4] = {x, y, z, w};
    float clip[4];
    Mat4Transform(mvp, object, clip);
    RasterPosition& raster = s.raster;
    raster.valid = clip[0] >= -clip[3] && clip[0] <= clip[3] && clip[1] >= -clip[3] &&
                   clip[1] <= clip[3] && clip[2] >= -clip[3] && clip[2] <= clip[3];
    std::copy(s.color, s.color + 4, raster.color);
    if (!raster.valid) {
        return;
    }
    const float inverseW = 1.0f / clip[3];
    const float halfWidth = static_cast<float>(s.viewport[2]) * 0.5f;
    const float halfHeight = static_cast<float>(s.viewport[3]) * 0.5f;
    const float nearVal = static_cast<float>(s.depthRange[0]);
    const float farVal = static_cast<float>(s.depthRange[1]);
    raster.window[0] = clip[0] * inverseW * halfWidth + (halfWidth + s.viewport[0]);
    raster.window[1] = clip[1] * inverseW * halfHeight + (halfHeight + s.viewport[1]);
    raster.window[2] = clip[2] * inverseW * (0.5f * (farVal - nearVal)) + 0.5f * (nearVal + farVal);
    raster.window[3] = inverseW;
}

void DeleteGlyphs() {
    for (const uint32_t page : atlas.pages) {
        RendererDeleteTexture(page);
    }
    atlas = Atlas{};
    batch = Batch{};
}

}  // namespace gllayer

using namespace gllayer;

void glRasterPos3f(GLfloat x, GLfloat y, GLfloat z) {
    if (RecordUnsupportedInList("glRasterPos")) {
        return;
    }
    SetRasterPosition(x, y, z, 1.0f);
}

void glRasterPos2f(GLfloat x, GLfloat y) {
    glRasterPos3f(x, y, 0.0f);
}

void glBitmap(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
              GLfloat ymove, const GLubyte* bitmap) {
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const Atlas before = atlas;
    const int32_t glyph = AddGlyph(width, height, xorig, yorig, xmove, ymove, bitmap);
    if (ListOpen()) {
        RecordListCommand(ListCommand{.op = ListOp::Bitmap, .index = glyph});
        if (CompilingOnly()) {
            return;
        }
    }
    DrawGlyph(glyph);
    if (!ListOpen()) {
        // Drawn and done with: its room in the atlas is free again (new pages stay).
        FlushGlyphBatch();
        std::vector<uint32_t> pages = std::move(atlas.pages);
        atlas = before;
        atlas.pages = std::move(pages);
    }
}
