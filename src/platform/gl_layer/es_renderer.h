// The GL layer's drawing on OpenGL ES 3 / WebGL 2: a shader program for each kind of draw, a
// streaming vertex buffer, static buffers for display lists, and the ES state set before each
// draw only where it changed. With es_programs, the only part of the layer that calls ES; the rest
// keeps GL 1.x state on the CPU and hands each draw here complete.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gl_layer/matrix_math.h"

namespace gllayer {

// What the fragment shader does with the colour and the texture.
enum class Shading : int32_t {
    Color = 0,     // the interpolated colour
    Textured = 1,  // texel × colour (GL_MODULATE)
    Bitmap = 2,    // the colour where the bitmap texel is set; elsewhere nothing is drawn
};

enum class Primitive { Triangles, Lines };

// The fixed-function state a draw needs, flattened. Enums carry their GL values, which ES shares.
struct DrawState {
    Mat4 mvp;        // projection × modelview
    Mat4 modelview;  // for sphere mapping
    Shading shading = Shading::Color;
    uint32_t texture = 0;  // ES texture object
    bool sphereMapS = false;
    bool sphereMapT = false;
    float normal[3] = {0.0f, 0.0f, 1.0f};
    bool blend = false;
    uint32_t blendSource = 1;       // GL_ONE
    uint32_t blendDestination = 0;  // GL_ZERO
    bool invert = false;            // logic op GL_INVERT: blending replaced by 1 - destination
    bool depthTest = false;
    uint32_t depthFunc = 0x0201;  // GL_LESS
    bool depthMask = true;
    float depthRange[2] = {0.0f, 1.0f};
    bool cullFace = false;
    uint32_t cullFaceMode = 0x0405;  // GL_BACK
    uint32_t frontFace = 0x0901;     // GL_CCW
    bool scissorTest = false;
    int32_t scissor[4] = {0, 0, 0, 0};
    int32_t viewport[4] = {0, 0, 0, 0};
    float lineWidth = 1.0f;
};

// Where a draw's vertices come from. Arrays are read from index 0 to vertexCount - 1; a null
// array stands for the constant value beside it.
struct VertexSource {
    const float* positions = nullptr;  // positionSize floats a vertex, positionStride apart
    int32_t positionSize = 4;
    int32_t positionStride = 4;  // floats
    const float* texCoords = nullptr;
    int32_t texCoordSize = 2;
    int32_t texCoordStride = 2;
    float constantTexCoord[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const float* colors = nullptr;  // 4 floats a vertex
    float constantColor[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    int32_t vertexCount = 0;
    const uint32_t* indices = nullptr;  // null: the vertices in order
    int32_t indexCount = 0;
};

// Vertices kept by the renderer for a display list: 4 floats position and 2 texture coordinate,
// interleaved; the colour is the current one when the list runs.
constexpr int32_t kStaticVertexFloats = 6;

struct StaticGeometry {
    uint32_t buffer = 0;
    int32_t vertexCount = 0;
    bool texCoords = false;  // false: the current texture coordinate when the list runs
};

// Needs a current ES 3.0 context. False with the reason when the program does not build.
bool RendererOpen(int32_t framebufferWidth, int32_t framebufferHeight, std::string* error);
void RendererClose();
int32_t FramebufferWidth();
int32_t FramebufferHeight();

// Sets every ES state again before the next draw (someone else changed it).
void RendererForgetAppliedState();

// Draws, possibly later: a draw with the same state and kind of vertices as the one before joins
// it, and the two go out as one when something else comes.
void RendererDraw(const DrawState& state, Primitive primitive, const VertexSource& source);

// kStaticVertexFloats floats for each of count vertices.
StaticGeometry RendererCreateStatic(const float* vertices, int32_t count, bool texCoords);
void RendererDrawStatic(const DrawState& state, Primitive primitive, const StaticGeometry& geometry,
                        const float color[4], const float texCoord[4]);
void RendererDeleteStatic(StaticGeometry& geometry);

// Clears the buffers in mask (GL bits) with the scissor box applied when scissorTest is on.
void RendererClear(uint32_t mask, const float color[4], float depth, bool depthMask,
                   bool scissorTest, const int32_t scissor[4]);

// Texture objects: created on first bind of a new name.
uint32_t RendererCreateTexture();
void RendererDeleteTexture(uint32_t texture);
// Uploads level 0 from tightly packed rows with the given unpack alignment: luminance 1 byte a
// texel, or RGBA 4. Nearest filtering is the caller's to set.
void RendererTextureImage(uint32_t texture, bool luminance, int32_t width, int32_t height,
                          int32_t unpackAlignment, const void* pixels);
void RendererTextureFilter(uint32_t texture, uint32_t pname, int32_t value);
// Replaces part of a luminance texture (the glyph atlas) from packed bytes.
void RendererTextureSubImage(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                             const void* pixels);

// Reads RGBA bytes of the framebuffer bound for reading, bottom row first, rows tightly packed.
void RendererReadRgba(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* rgba);

// Sends the draws collected so far (every other call here does it first).
void RendererSendDraws();

void RendererFinish();
void RendererFlush();

}  // namespace gllayer
