// The layer's GL state calls: capabilities, queries, the attribute stacks, and the state that
// blending, the depth buffer, the viewport and the scissor box keep.
#include <algorithm>
#include <cstdio>
#include <set>
#include <string>

#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/layer_state.h"

namespace gllayer {

namespace {

LayerState state;

// The capability's flag, or null for one the layer does not know.
bool* Capability(Enables& enables, GLenum cap) {
    switch (cap) {
        case GL_BLEND:
            return &enables.blend;
        case GL_DEPTH_TEST:
            return &enables.depthTest;
        case GL_TEXTURE_2D:
            return &enables.texture2d;
        case GL_TEXTURE_GEN_S:
            return &enables.texGenS;
        case GL_TEXTURE_GEN_T:
            return &enables.texGenT;
        case GL_CULL_FACE:
            return &enables.cullFace;
        case GL_COLOR_LOGIC_OP:
            return &enables.colorLogicOp;
        case GL_SCISSOR_TEST:
            return &enables.scissorTest;
        case GL_LIGHTING:
            return &enables.lighting;
        case GL_FOG:
            return &enables.fog;
        case GL_ALPHA_TEST:
            return &enables.alphaTest;
        case GL_STENCIL_TEST:
            return &enables.stencilTest;
        case GL_LINE_SMOOTH:
            return &enables.lineSmooth;
        case GL_POLYGON_SMOOTH:
            return &enables.polygonSmooth;
        case GL_NORMALIZE:
            return &enables.normalize;
        default:
            return nullptr;
    }
}

bool* ClientArrayFlag(ClientState& client, GLenum array) {
    switch (array) {
        case GL_VERTEX_ARRAY:
            return &client.vertex.enabled;
        case GL_TEXTURE_COORD_ARRAY:
            return &client.texCoord.enabled;
        case GL_NORMAL_ARRAY:
            return &client.normalArray;
        case GL_COLOR_ARRAY:
            return &client.colorArray;
        default:
            return nullptr;
    }
}

void SetCapability(GLenum cap, bool on) {
    bool* flag = Capability(state.server.enables, cap);
    if (flag == nullptr) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    *flag = on;
}

// A query's values as doubles; count 0 for a name the layer does not answer.
int QueryValues(GLenum pname, double* out) {
    const ServerState& s = state.server;
    const auto copy = [out](const auto* values, int count) {
        for (int i = 0; i < count; ++i) {
            out[i] = static_cast<double>(values[i]);
        }
        return count;
    };
    if (const bool* flag = Capability(state.server.enables, pname)) {
        out[0] = *flag ? 1.0 : 0.0;
        return 1;
    }
    switch (pname) {
        case GL_MODELVIEW_MATRIX:
            return copy(state.matrices.modelview.back().m, 16);
        case GL_PROJECTION_MATRIX:
            return copy(state.matrices.projection.back().m, 16);
        case GL_MODELVIEW_STACK_DEPTH:
            out[0] = static_cast<double>(state.matrices.modelview.size());
            return 1;
        case GL_PROJECTION_STACK_DEPTH:
            out[0] = static_cast<double>(state.matrices.projection.size());
            return 1;
        case GL_TEXTURE_BINDING_2D:
            out[0] = s.boundTexture;
            return 1;
        case GL_BLEND_SRC:
            out[0] = s.blendSource;
            return 1;
        case GL_BLEND_DST:
            out[0] = s.blendDestination;
            return 1;
        case GL_LOGIC_OP_MODE:
            out[0] = s.logicOp;
            return 1;
        case GL_COLOR_CLEAR_VALUE:
            return copy(s.clearColor, 4);
        case GL_DEPTH_CLEAR_VALUE:
            out[0] = s.clearDepth;
            return 1;
        case GL_DEPTH_FUNC:
            out[0] = s.depthFunc;
            return 1;
        case GL_DEPTH_WRITEMASK:
            out[0] = s.depthMask ? 1.0 : 0.0;
            return 1;
        case GL_VIEWPORT:
            return copy(s.viewport, 4);
        case GL_DEPTH_RANGE:
            return copy(s.depthRange, 2);
        case GL_SCISSOR_BOX:
            return copy(s.scissor, 4);
        case GL_CURRENT_COLOR:
            return copy(s.color, 4);
        case GL_CURRENT_TEXTURE_COORDS:
            return copy(s.texCoord, 4);
        case GL_CURRENT_RASTER_POSITION:
            return copy(s.raster.window, 4);
        case GL_CURRENT_RASTER_COLOR:
            return copy(s.raster.color, 4);
        case GL_CURRENT_RASTER_POSITION_VALID:
            out[0] = s.raster.valid ? 1.0 : 0.0;
            return 1;
        case GL_LIST_BASE:
            out[0] = s.listBase;
            return 1;
        case GL_MATRIX_MODE:
            out[0] = s.matrixMode;
            return 1;
        case GL_LINE_WIDTH:
            out[0] = s.lineWidth;
            return 1;
        case GL_SHADE_MODEL:
            out[0] = s.shadeModel;
            return 1;
        case GL_CULL_FACE_MODE:
            out[0] = s.cullFaceMode;
            return 1;
        case GL_FRONT_FACE:
            out[0] = s.frontFace;
            return 1;
        case GL_PACK_ALIGNMENT:
            out[0] = state.client.pack.alignment;
            return 1;
        case GL_UNPACK_ALIGNMENT:
            out[0] = state.client.unpack.alignment;
            return 1;
        case GL_MAX_TEXTURE_SIZE:
            out[0] = 2048;
            return 1;
        case GL_MAX_ATTRIB_STACK_DEPTH:
            out[0] = static_cast<double>(kMaxAttributeDepth);
            return 1;
        case GL_MAX_MODELVIEW_STACK_DEPTH:
            out[0] = static_cast<double>(kMaxModelviewDepth);
            return 1;
        case GL_MAX_PROJECTION_STACK_DEPTH:
            out[0] = static_cast<double>(kMaxProjectionDepth);
            return 1;
        default:
            return 0;
    }
}

// A glGet: the query's values converted to the caller's type.
template <typename T, typename Convert>
void Query(GLenum pname, T* params, Convert convert) {
    double values[16];
    const int count = QueryValues(pname, values);
    if (count == 0) {
        ReportUnsupported("this glGet name");
        return;
    }
    for (int i = 0; i < count; ++i) {
        params[i] = convert(values[i]);
    }
}

// glPopAttrib: the groups in mask come back from saved.
void RestoreGroups(ServerState& s, const ServerState& saved, GLbitfield mask) {
    Enables& e = s.enables;
    const Enables& was = saved.enables;
    if ((mask & GL_CURRENT_BIT) != 0) {
        std::copy(saved.color, saved.color + 4, s.color);
        std::copy(saved.texCoord, saved.texCoord + 4, s.texCoord);
        std::copy(saved.normal, saved.normal + 3, s.normal);
        s.raster = saved.raster;
    }
    if ((mask & GL_ENABLE_BIT) != 0) {
        e = was;
    }
    if ((mask & GL_COLOR_BUFFER_BIT) != 0) {
        e.alphaTest = was.alphaTest;
        e.blend = was.blend;
        e.colorLogicOp = was.colorLogicOp;
        s.blendSource = saved.blendSource;
        s.blendDestination = saved.blendDestination;
        s.logicOp = saved.logicOp;
        std::copy(saved.clearColor, saved.clearColor + 4, s.clearColor);
    }
    if ((mask & GL_DEPTH_BUFFER_BIT) != 0) {
        e.depthTest = was.depthTest;
        s.depthFunc = saved.depthFunc;
        s.depthMask = saved.depthMask;
        s.clearDepth = saved.clearDepth;
    }
    if ((mask & GL_VIEWPORT_BIT) != 0) {
        std::copy(saved.viewport, saved.viewport + 4, s.viewport);
        s.depthRange[0] = saved.depthRange[0];
        s.depthRange[1] = saved.depthRange[1];
    }
    if ((mask & GL_SCISSOR_BIT) != 0) {
        e.scissorTest = was.scissorTest;
        std::copy(saved.scissor, saved.scissor + 4, s.scissor);
    }
    if ((mask & GL_TEXTURE_BIT) != 0) {
        e.texture2d = was.texture2d;
        e.texGenS = was.texGenS;
        e.texGenT = was.texGenT;
        s.boundTexture = saved.boundTexture;
        s.texGenModeS = saved.texGenModeS;
        s.texGenModeT = saved.texGenModeT;
    }
    if ((mask & GL_LINE_BIT) != 0) {
        e.lineSmooth = was.lineSmooth;
        s.lineWidth = saved.lineWidth;
    }
    if ((mask & GL_POLYGON_BIT) != 0) {
        e.cullFace = was.cullFace;
        e.polygonSmooth = was.polygonSmooth;
        s.cullFaceMode = saved.cullFaceMode;
        s.frontFace = saved.frontFace;
    }
    if ((mask & GL_LIGHTING_BIT) != 0) {
        e.lighting = was.lighting;
        s.shadeModel = saved.shadeModel;
    }
    if ((mask & GL_FOG_BIT) != 0) {
        e.fog = was.fog;
    }
    if ((mask & GL_TRANSFORM_BIT) != 0) {
        e.normalize = was.normalize;
        s.matrixMode = saved.matrixMode;
    }
    if ((mask & GL_STENCIL_BUFFER_BIT) != 0) {
        e.stencilTest = was.stencilTest;
    }
    if ((mask & GL_LIST_BIT) != 0) {
        s.listBase = saved.listBase;
    }
}

}  // namespace

LayerState& State() {
    return state;
}

void SetError(GLenum error) {
    if (state.error == GL_NO_ERROR) {
        state.error = error;
    }
}

void ReportUnsupported(const char* what) {
    static std::set<std::string> reported;
    if (reported.insert(what).second) {
        std::fprintf(stderr, "GL layer: %s is not implemented; it is ignored\n", what);
    }
    SetError(GL_INVALID_ENUM);
}

Mat4& CurrentMatrix() {
    return CurrentMatrixStack().back();
}

std::vector<Mat4>& CurrentMatrixStack() {
    switch (state.server.matrixMode) {
        case GL_PROJECTION:
            return state.matrices.projection;
        case GL_TEXTURE:
            return state.matrices.texture;
        default:
            return state.matrices.modelview;
    }
}

}  // namespace gllayer

using namespace gllayer;

void glEnable(GLenum cap) {
    if (RecordListCommand(ListCommand{.op = ListOp::Enable, .a = cap})) {
        return;
    }
    SetCapability(cap, true);
}

void glDisable(GLenum cap) {
    if (RecordListCommand(ListCommand{.op = ListOp::Disable, .a = cap})) {
        return;
    }
    SetCapability(cap, false);
}

GLboolean glIsEnabled(GLenum cap) {
    if (const bool* flag = Capability(State().server.enables, cap)) {
        return *flag ? GL_TRUE : GL_FALSE;
    }
    if (const bool* flag = ClientArrayFlag(State().client, cap)) {
        return *flag ? GL_TRUE : GL_FALSE;
    }
    SetError(GL_INVALID_ENUM);
    return GL_FALSE;
}

void glEnableClientState(GLenum array) {
    if (bool* flag = ClientArrayFlag(State().client, array)) {
        *flag = true;
    } else {
        SetError(GL_INVALID_ENUM);
    }
}

void glDisableClientState(GLenum array) {
    if (bool* flag = ClientArrayFlag(State().client, array)) {
        *flag = false;
    } else {
        SetError(GL_INVALID_ENUM);
    }
}

void glGetDoublev(GLenum pname, GLdouble* params) {
    Query(pname, params, [](double v) { return v; });
}

void glGetFloatv(GLenum pname, GLfloat* params) {
    Query(pname, params, [](double v) { return static_cast<float>(v); });
}

void glGetIntegerv(GLenum pname, GLint* params) {
    Query(pname, params, [](double v) { return static_cast<GLint>(v < 0 ? v - 0.5 : v + 0.5); });
}

void glGetBooleanv(GLenum pname, GLboolean* params) {
    Query(pname, params,
          [](double v) { return static_cast<GLboolean>(v != 0.0 ? GL_TRUE : GL_FALSE); });
}

GLenum glGetError() {
    const GLenum error = State().error;
    State().error = GL_NO_ERROR;
    return error;
}

void glPushAttrib(GLbitfield mask) {
    if (RecordListCommand(ListCommand{.op = ListOp::PushAttrib, .a = mask})) {
        return;
    }
    LayerState& s = State();
    if (s.attributeStack.size() >= kMaxAttributeDepth) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    s.attributeStack.push_back(SavedAttributes{mask, s.server});
}

void glPopAttrib() {
    if (RecordListCommand(ListCommand{.op = ListOp::PopAttrib})) {
        return;
    }
    LayerState& s = State();
    if (s.attributeStack.empty()) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    const SavedAttributes saved = s.attributeStack.back();
    s.attributeStack.pop_back();
    RestoreGroups(s.server, saved.state, saved.mask);
}

void glPushClientAttrib(GLbitfield mask) {
    LayerState& s = State();
    if (s.clientAttributeStack.size() >= kMaxAttributeDepth) {
        SetError(GL_STACK_OVERFLOW);
        return;
    }
    s.clientAttributeStack.push_back(SavedClientAttributes{mask, s.client});
}

void glPopClientAttrib() {
    LayerState& s = State();
    if (s.clientAttributeStack.empty()) {
        SetError(GL_STACK_UNDERFLOW);
        return;
    }
    const SavedClientAttributes saved = s.clientAttributeStack.back();
    s.clientAttributeStack.pop_back();
    if ((saved.mask & GL_CLIENT_PIXEL_STORE_BIT) != 0) {
        s.client.pack = saved.state.pack;
        s.client.unpack = saved.state.unpack;
    }
    if ((saved.mask & GL_CLIENT_VERTEX_ARRAY_BIT) != 0) {
        s.client.vertex = saved.state.vertex;
        s.client.texCoord = saved.state.texCoord;
        s.client.normalArray = saved.state.normalArray;
        s.client.colorArray = saved.state.colorArray;
    }
}

void glBlendFunc(GLenum sfactor, GLenum dfactor) {
    if (RecordListCommand(ListCommand{.op = ListOp::BlendFunc, .a = sfactor, .b = dfactor})) {
        return;
    }
    State().server.blendSource = sfactor;
    State().server.blendDestination = dfactor;
}

void glLogicOp(GLenum opcode) {
    if (RecordUnsupportedInList("glLogicOp")) {
        return;
    }
    State().server.logicOp = opcode;
}

void glDepthFunc(GLenum func) {
    if (RecordUnsupportedInList("glDepthFunc")) {
        return;
    }
    State().server.depthFunc = func;
}

void glDepthMask(GLboolean flag) {
    if (RecordUnsupportedInList("glDepthMask")) {
        return;
    }
    State().server.depthMask = flag != GL_FALSE;
}

void glDepthRange(GLclampd nearVal, GLclampd farVal) {
    if (RecordUnsupportedInList("glDepthRange")) {
        return;
    }
    const auto clamp = [](double v) { return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v); };
    State().server.depthRange[0] = clamp(nearVal);
    State().server.depthRange[1] = clamp(farVal);
}

void glClearColor(GLclampf red, GLclampf green, GLclampf blue, GLclampf alpha) {
    if (RecordUnsupportedInList("glClearColor")) {
        return;
    }
    float* c = State().server.clearColor;
    c[0] = red;
    c[1] = green;
    c[2] = blue;
    c[3] = alpha;
}

void glClearDepth(GLclampd depth) {
    if (RecordUnsupportedInList("glClearDepth")) {
        return;
    }
    State().server.clearDepth = depth < 0.0 ? 0.0 : (depth > 1.0 ? 1.0 : depth);
}

void glViewport(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (RecordUnsupportedInList("glViewport")) {
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    GLint* v = State().server.viewport;
    v[0] = x;
    v[1] = y;
    v[2] = width;
    v[3] = height;
}

void glScissor(GLint x, GLint y, GLsizei width, GLsizei height) {
    if (RecordUnsupportedInList("glScissor")) {
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    GLint* box = State().server.scissor;
    box[0] = x;
    box[1] = y;
    box[2] = width;
    box[3] = height;
}

void glLineWidth(GLfloat width) {
    if (RecordListCommand(ListCommand{.op = ListOp::LineWidth, .values = {width}})) {
        return;
    }
    if (width <= 0.0f) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (width != 1.0f) {
        ReportUnsupported("a line width other than 1");
    }
    State().server.lineWidth = width;
}

void glShadeModel(GLenum mode) {
    if (RecordUnsupportedInList("glShadeModel")) {
        return;
    }
    if (mode != GL_SMOOTH) {
        ReportUnsupported("flat shading");
        return;
    }
    State().server.shadeModel = mode;
}

void glCullFace(GLenum mode) {
    if (RecordUnsupportedInList("glCullFace")) {
        return;
    }
    State().server.cullFaceMode = mode;
}

void glFrontFace(GLenum mode) {
    if (RecordUnsupportedInList("glFrontFace")) {
        return;
    }
    State().server.frontFace = mode;
}

void glPixelStorei(GLenum pname, GLint param) {
    ClientState& c = State().client;
    switch (pname) {
        case GL_PACK_ALIGNMENT:
        case GL_UNPACK_ALIGNMENT:
            if (param != 1 && param != 2 && param != 4 && param != 8) {
                SetError(GL_INVALID_VALUE);
                return;
            }
            (pname == GL_PACK_ALIGNMENT ? c.pack : c.unpack).alignment = param;
            return;
        case GL_UNPACK_ROW_LENGTH:
            c.unpack.rowLength = param;
            return;
        case GL_UNPACK_SKIP_ROWS:
            c.unpack.skipRows = param;
            return;
        case GL_UNPACK_SKIP_PIXELS:
            c.unpack.skipPixels = param;
            return;
        case GL_UNPACK_LSB_FIRST:
            c.unpack.lsbFirst = param != 0;
            return;
        case GL_UNPACK_SWAP_BYTES:
            c.unpack.swapBytes = param != 0;
            return;
        case GL_PACK_ROW_LENGTH:
            c.pack.rowLength = param;
            return;
        case GL_PACK_SKIP_ROWS:
            c.pack.skipRows = param;
            return;
        case GL_PACK_SKIP_PIXELS:
            c.pack.skipPixels = param;
            return;
        case GL_PACK_LSB_FIRST:
            c.pack.lsbFirst = param != 0;
            return;
        case GL_PACK_SWAP_BYTES:
            c.pack.swapBytes = param != 0;
            return;
        default:
            SetError(GL_INVALID_ENUM);
            return;
    }
}
