// glBitmap: each bitmap copied into a glyph atlas once, and drawn as a quad at the raster position
// that keeps only the pixels whose bit is set, in the colour the raster position latched.
#pragma once

#include <cstdint>

#include "platform/gl_layer/gl1.h"

namespace gllayer {

// One bitmap as glBitmap received it, its bits expanded into an atlas page.
struct Glyph {
    int32_t page = -1;  // -1: no image (a bitmap of size 0 only moves the raster position)
    int32_t x = 0;      // where its bottom row starts in the page
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    float xorig = 0.0f;
    float yorig = 0.0f;
    float xmove = 0.0f;
    float ymove = 0.0f;
};

// Copies the bitmap (rows bottom first, unpacked as the client's pixel store says) into the
// atlas and returns its glyph index.
int32_t AddGlyph(GLsizei width, GLsizei height, GLfloat xorig, GLfloat yorig, GLfloat xmove,
                 GLfloat ymove, const GLubyte* bitmap);

// Draws glyph `index` at the raster position and moves the raster position on. While a batch is
// open the quads are collected and drawn together when it closes, in order, as one draw per page.
void DrawGlyph(int32_t index);
void BeginGlyphBatch();
void EndGlyphBatch();

// Draws what a batch holds so far (before anything else is drawn or the state changes).
void FlushGlyphBatch();

// Sets the raster position from object coordinates through the current matrices and viewport,
// latching the current colour; invalid when the point lies outside the clip volume.
void SetRasterPosition(float x, float y, float z, float w);

// Frees the atlas (the context is going away).
void DeleteGlyphs();

}  // namespace gllayer
