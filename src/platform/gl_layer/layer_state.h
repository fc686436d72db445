// The GL layer's state: everything OpenGL 1.x keeps for the calls the program makes, held on the
// CPU, with the attribute stacks and the error flag. Main thread only, like the GL context.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/gl_layer/gl1.h"
#include "platform/gl_layer/matrix_math.h"

namespace gllayer {

// Capabilities of glEnable that the layer knows. Those it cannot draw (lighting, fog, the alpha
// and stencil tests, smoothing) may be switched and queried, but draws made with them on are
// reported as unsupported.
struct Enables {
    bool blend = false;
    bool depthTest = false;
    bool texture2d = false;
    bool texGenS = false;
    bool texGenT = false;
    bool cullFace = false;
    bool colorLogicOp = false;
    bool scissorTest = false;
    bool lighting = false;
    bool fog = false;
    bool alphaTest = false;
    bool stencilTest = false;
    bool lineSmooth = false;
    bool polygonSmooth = false;
    bool normalize = false;
};

// The raster position of glRasterPos, in window coordinates, with the colour it latched.
struct RasterPosition {
    float window[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    bool valid = true;
};

struct PixelStore {
    GLint alignment = 4;
    GLint rowLength = 0;
    GLint skipRows = 0;
    GLint skipPixels = 0;
    bool lsbFirst = false;
    bool swapBytes = false;
};

// One client array of glVertexPointer / glTexCoordPointer.
struct ClientArray {
    bool enabled = false;
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};

struct ClientState {
    ClientArray vertex;
    ClientArray texCoord;
    bool normalArray = false;
    bool colorArray = false;
    PixelStore pack;
    PixelStore unpack;
};

// The server-side state, as glPushAttrib saves it.
struct ServerState {
    Enables enables;
    // GL_CURRENT_BIT
    float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    float texCoord[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    float normal[3] = {0.0f, 0.0f, 1.0f};
    RasterPosition raster;
    // GL_COLOR_BUFFER_BIT
    GLenum blendSource = GL_ONE;
    GLenum blendDestination = GL_ZERO;
    GLenum logicOp = GL_COPY;
    float clearColor[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    // GL_DEPTH_BUFFER_BIT
    GLenum depthFunc = GL_LESS;
    bool depthMask = true;
    double clearDepth = 1.0;
    // GL_VIEWPORT_BIT
    GLint viewport[4] = {0, 0, 0, 0};
    double depthRange[2] = {0.0, 1.0};
    // GL_SCISSOR_BIT
    GLint scissor[4] = {0, 0, 0, 0};
    // GL_TEXTURE_BIT
    GLuint boundTexture = 0;
    GLenum texGenModeS = GL_EYE_LINEAR;
    GLenum texGenModeT = GL_EYE_LINEAR;
    // GL_LINE_BIT
    float lineWidth = 1.0f;
    // GL_POLYGON_BIT
    GLenum cullFaceMode = GL_BACK;
    GLenum frontFace = GL_CCW;
    // GL_LIGHTING_BIT
    GLenum shadeModel = GL_SMOOTH;
    // GL_TRANSFORM_BIT
    GLenum matrixMode = GL_MODELVIEW;
    // GL_LIST_BIT
    GLuint listBase = 0;
};

struct SavedAttributes {
    GLbitfield mask = 0;
    ServerState state;
};

struct SavedClientAttributes {
    GLbitfield mask = 0;
    ClientState state;
};

// The three matrix stacks of a GL 1.1 context (the texture stack is never moved from identity).
struct MatrixStacks {
    std::vector<Mat4> modelview{Mat4Identity()};
    std::vector<Mat4> projection{Mat4Identity()};
    std::vector<Mat4> texture{Mat4Identity()};
};

struct LayerState {
    ServerState server;
    ClientState client;
    MatrixStacks matrices;
    std::vector<SavedAttributes> attributeStack;
    std::vector<SavedClientAttributes> clientAttributeStack;
    GLenum error = GL_NO_ERROR;  // the first error since glGetError last asked
};

// The layer's one state record; reset by GlLayerOpen.
LayerState& State();

// Records an error for glGetError (only the first one sticks until it is read).
void SetError(GLenum error);

// Says once on stderr that a call or a mode the layer does not implement was used, and records
// GL_INVALID_ENUM. The show never does this; a change that starts to would be seen at once.
void ReportUnsupported(const char* what);

// The top of the stack glMatrixMode selects.
Mat4& CurrentMatrix();
std::vector<Mat4>& CurrentMatrixStack();

// Deepest each stack may grow, as Mesa's software driver allows.
constexpr std::size_t kMaxModelviewDepth = 32;
constexpr std::size_t kMaxProjectionDepth = 32;
constexpr std::size_t kMaxAttributeDepth = 16;

}  // namespace gllayer
