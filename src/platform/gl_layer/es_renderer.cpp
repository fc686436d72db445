// The GL layer's ES 3 side: the shader program, the vertex buffers, ES state set lazily, and
// the texture, clear and read-back calls.
#include "platform/gl_layer/es_renderer.h"

#include <GLES3/gl3.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/gl_layer/es_programs.h"

namespace gllayer {

namespace {

// Vertex data streams through one buffer, appended draw after draw and started afresh when full.
constexpr GLsizeiptr kStreamBytes = 8 << 20;

// What was last set on ES, so that only changes are sent.
struct Applied {
    bool valid = false;
    DrawState state;
    int32_t program = -1;
};

struct StreamBuffer {
    GLuint buffer = 0;
    GLenum target = GL_ARRAY_BUFFER;
    GLsizeiptr used = 0;
};

// Draws waiting to go out as one: consecutive draws with the same state and the same kind of
// vertices (a scene's dots, a string's glyphs) cost one ES draw instead of one each.
struct PendingDraw {
    DrawState state;
    Primitive primitive = Primitive::Triangles;
    int32_t positionSize = 4;
    bool texCoords = false;
    int32_t texCoordSize = 2;
    bool vertexColors = false;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};     // without vertex colours
    float texCoord[4] = {0.0f, 0.0f, 0.0f, 0.0f};  // without texture coordinates
    int32_t vertexCount = 0;
    std::vector<float> positions;
    std::vector<float> texCoordArray;
    std::vector<float> colors;
    std::vector<uint32_t> indices;
};

// A batch is sent before it outgrows this many position floats.
constexpr size_t kMostPendingFloats = 1 << 18;

struct Renderer {
    PendingDraw pending;
    EsProgram programs[kProgramKinds];
    GLuint vertexArray = 0;
    StreamBuffer vertices;
    StreamBuffer indices;
    std::vector<float> staging;
    Applied applied;
    int32_t width = 0;
    int32_t height = 0;
};

Renderer renderer;

// Appends bytes to a stream buffer and returns their offset in it.
GLintptr Stream(StreamBuffer& stream, const void* data, GLsizeiptr bytes) {
    // Offsets stay 16-byte aligned, which every attribute type is happy with.
    const GLsizeiptr aligned = (bytes + 15) & ~static_cast<GLsizeiptr>(15);
    glBindBuffer(stream.target, stream.buffer);
    if (stream.used + aligned > kStreamBytes || aligned > kStreamBytes) {
        // Fresh storage: draws still reading the old contents keep them.
        const GLsizeiptr size = aligned > kStreamBytes ? aligned : kStreamBytes;
        glBufferData(stream.target, size, nullptr, GL_STREAM_DRAW);
        stream.used = 0;
    }
    const GLintptr offset = stream.used;
    glBufferSubData(stream.target, offset, bytes, data);
    stream.used += aligned;
    return offset;
}

bool SameMatrix(const Mat4& a, const Mat4& b) {
    return std::memcmp(a.m, b.m, sizeof a.m) == 0;
}

void SetCapability(GLenum capability, bool on) {
    if (on) {
        glEnable(capability);
    } else {
        glDisable(capability);
    }
}

// The inverse-transpose's rows as a column-major 3 x 3 (normals for sphere mapping).
void NormalMatrix(const Mat4& modelview, float out[9]) {
    Mat4 inverse;
    Mat4Invert(modelview, &inverse);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            // transpose(inverse)(row, column) = inverse(column, row).
            out[column * 3 + row] = inverse.m[row * 4 + column];
        }
    }
}

ProgramKind KindOf(const DrawState& s) {
    switch (s.shading) {
        case Shading::Textured:
            return s.sphereMapS || s.sphereMapT ? ProgramKind::SphereMapped : ProgramKind::Textured;
        case Shading::Bitmap:
            return ProgramKind::Bitmap;
        case Shading::Color:
            break;
    }
    return ProgramKind::Color;
}

// The program's uniforms for this draw, where they differ from what it last had.
void SetUniforms(EsProgram& p, const DrawState& s, bool vertexColors) {
    const bool all = !p.uniformsSet;
    if (all || !SameMatrix(s.mvp, p.lastMvp)) {
        glUniformMatrix4fv(p.mvp, 1, GL_FALSE, s.mvp.m);
        p.lastMvp = s.mvp;
    }
    if (p.modelview >= 0 && (all || !SameMatrix(s.modelview, p.lastModelview))) {
        glUniformMatrix4fv(p.modelview, 1, GL_FALSE, s.modelview.m);
        float normalMatrix[9];
        NormalMatrix(s.modelview, normalMatrix);
        glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, normalMatrix);
        p.lastModelview = s.modelview;
    }
    if (p.normal >= 0 && (all || std::memcmp(s.normal, p.lastNormal, sizeof s.normal) != 0)) {
        glUniform3fv(p.normal, 1, s.normal);
        std::memcpy(p.lastNormal, s.normal, sizeof s.normal);
    }
    if (p.sphereMapS >= 0 &&
        (all || s.sphereMapS != p.lastSphereMapS || s.sphereMapT != p.lastSphereMapT)) {
        glUniform1i(p.sphereMapS, s.sphereMapS ? 1 : 0);
        glUniform1i(p.sphereMapT, s.sphereMapT ? 1 : 0);
        p.lastSphereMapS = s.sphereMapS;
        p.lastSphereMapT = s.sphereMapT;
    }
    if (all || s.invert != p.lastWhite) {
        glUniform1i(p.white, s.invert ? 1 : 0);
        p.lastWhite = s.invert;
    }
    if (all || vertexColors != p.lastVertexColors) {
        glUniform1i(p.vertexColors, vertexColors ? 1 : 0);
        p.lastVertexColors = vertexColors;
    }
    p.uniformsSet = true;
}

// Sets on ES whatever differs from what was last set; vertexColors: the colours vary from vertex
// to vertex.
void Apply(const DrawState& s, bool vertexColors) {
    Applied& a = renderer.applied;
    const DrawState& was = a.state;
    const bool all = !a.valid;
    if (all) {
        glBindVertexArray(renderer.vertexArray);
        glActiveTexture(GL_TEXTURE0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
    }
    const int32_t kind = static_cast<int32_t>(KindOf(s));
    EsProgram& program = renderer.programs[kind];
    if (all || kind != a.program) {
        glUseProgram(program.program);
        a.program = kind;
    }
    SetUniforms(program, s, vertexColors);
    if (all || s.texture != was.texture) {
        glBindTexture(GL_TEXTURE_2D, s.texture);
    }
    // GL_INVERT writes 1 - destination whatever the fragment's colour: white, blended by
    // (1 - destination colour, zero).
    const bool blend = s.blend || s.invert;
    const GLenum source = s.invert ? GL_ONE_MINUS_DST_COLOR : s.blendSource;
    const GLenum destination = s.invert ? GL_ZERO : s.blendDestination;
    const bool wasBlend = was.blend || was.invert;
    const GLenum wasSource = was.invert ? GL_ONE_MINUS_DST_COLOR : was.blendSource;
    const GLenum wasDestination = was.invert ? GL_ZERO : was.blendDestination;
    if (all || blend != wasBlend) {
        SetCapability(GL_BLEND, blend);
    }
    if (all || source != wasSource || destination != wasDestination) {
        glBlendFunc(source, destination);
    }
    if (all || s.depthTest != was.depthTest) {
        SetCapability(GL_DEPTH_TEST, s.depthTest);
    }
    if (all || s.depthFunc != was.depthFunc) {
        glDepthFunc(s.depthFunc);
    }
    if (all || s.depthMask != was.depthMask) {
        glDepthMask(s.depthMask ? GL_TRUE : GL_FALSE);
    }
    if (all || s.depthRange[0] != was.depthRange[0] || s.depthRange[1] != was.depthRange[1]) {
        glDepthRangef(s.depthRange[0], s.depthRange[1]);
    }
    if (all || s.cullFace != was.cullFace) {
        SetCapability(GL_CULL_FACE, s.cullFace);
    }
    if (all || s.cullFaceMode != was.cullFaceMode) {
        glCullFace(s.cullFaceMode);
    }
    if (all || s.frontFace != was.frontFace) {
        glFrontFace(s.frontFace);
    }
    if (all || s.scissorTest != was.scissorTest) {
        SetCapability(GL_SCISSOR_TEST, s.scissorTest);
    }
    if (all || std::memcmp(s.scissor, was.scissor, sizeof s.scissor) != 0) {
        glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
    }
    if (all || std::memcmp(s.viewport, was.viewport, sizeof s.viewport) != 0) {
        glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    }
    if (all || s.lineWidth != was.lineWidth) {
        glLineWidth(s.lineWidth);
    }
    a.state = s;
    a.valid = true;
}

GLenum Mode(Primitive primitive) {
    return primitive == Primitive::Lines ? GL_LINES : GL_TRIANGLES;
}

// Whether all count colours (4 floats each) are the same.
bool SameColors(const float* colors, int32_t count) {
    for (int32_t i = 1; i < count; ++i) {
        if (std::memcmp(colors, colors + 4 * static_cast<size_t>(i), 4 * sizeof(float)) != 0) {
            return false;
        }
    }
    return true;
}

// Appends count vertices of size floats, stride apart.
void AppendArray(std::vector<float>& to, const float* data, int32_t size, int32_t stride,
                 int32_t count) {
    if (stride == size) {
        to.insert(to.end(), data, data + static_cast<size_t>(size) * count);
        return;
    }
    for (int32_t i = 0; i < count; ++i) {
        const float* vertex = data + static_cast<size_t>(i) * stride;
        to.insert(to.end(), vertex, vertex + size);
    }
}

bool SameFloats(const float* a, const float* b, int32_t count) {
    return std::memcmp(a, b, sizeof(float) * static_cast<size_t>(count)) == 0;
}

bool SameDrawState(const DrawState& a, const DrawState& b) {
    return SameMatrix(a.mvp, b.mvp) && SameMatrix(a.modelview, b.modelview) &&
           a.shading == b.shading && a.texture == b.texture && a.sphereMapS == b.sphereMapS &&
           a.sphereMapT == b.sphereMapT && SameFloats(a.normal, b.normal, 3) &&
           a.blend == b.blend && a.blendSource == b.blendSource &&
           a.blendDestination == b.blendDestination && a.invert == b.invert &&
           a.depthTest == b.depthTest && a.depthFunc == b.depthFunc && a.depthMask == b.depthMask &&
           SameFloats(a.depthRange, b.depthRange, 2) && a.cullFace == b.cullFace &&
           a.cullFaceMode == b.cullFaceMode && a.frontFace == b.frontFace &&
           a.scissorTest == b.scissorTest &&
           std::memcmp(a.scissor, b.scissor, sizeof a.scissor) == 0 &&
           std::memcmp(a.viewport, b.viewport, sizeof a.viewport) == 0 &&
           a.lineWidth == b.lineWidth;
}

// Sends the draws collected so far as one.
void FlushPendingDraw() {
    PendingDraw& p = renderer.pending;
    if (p.vertexCount == 0) {
        return;
    }
    Apply(p.state, p.vertexColors);
    std::vector<float>& staging = renderer.staging;
    staging.clear();
    staging.insert(staging.end(), p.positions.begin(), p.positions.end());
    const size_t texCoords = staging.size();
    staging.insert(staging.end(), p.texCoordArray.begin(), p.texCoordArray.end());
    const size_t colors = staging.size();
    staging.insert(staging.end(), p.colors.begin(), p.colors.end());
    const GLintptr base = Stream(renderer.vertices, staging.data(),
                                 static_cast<GLsizeiptr>(staging.size() * sizeof(float)));
    const auto at = [base](size_t floats) {
        return reinterpret_cast<const void*>(base + static_cast<GLintptr>(floats * sizeof(float)));
    };
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, p.positionSize, GL_FLOAT, GL_FALSE, 0, at(0));
    if (p.texCoords) {
        glEnableVertexAttribArray(kTexCoordAttribute);
        glVertexAttribPointer(kTexCoordAttribute, p.texCoordSize, GL_FLOAT, GL_FALSE, 0,
                              at(texCoords));
    } else {
        glDisableVertexAttribArray(kTexCoordAttribute);
        glVertexAttrib4fv(kTexCoordAttribute, p.texCoord);
    }
    if (p.vertexColors) {
        glEnableVertexAttribArray(kColorAttribute);
        glVertexAttribPointer(kColorAttribute, 4, GL_FLOAT, GL_FALSE, 0, at(colors));
    } else {
        glDisableVertexAttribArray(kColorAttribute);
        glVertexAttrib4fv(kColorAttribute, p.color);
    }
    const GLintptr offset =
        Stream(renderer.indices, p.indices.data(),
               static_cast<GLsizeiptr>(p.indices.size()) * static_cast<GLsizeiptr>(4));
    glDrawElements(Mode(p.primitive), static_cast<GLsizei>(p.indices.size()), GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(offset));
    p.vertexCount = 0;
    p.positions.clear();
    p.texCoordArray.clear();
    p.colors.clear();
    p.indices.clear();
}

}  // namespace

bool RendererOpen(int32_t framebufferWidth, int32_t framebufferHeight, std::string* error) {
    RendererClose();
    if (!BuildPrograms(renderer.programs, error)) {
        return false;
    }
    renderer.width = framebufferWidth;
    renderer.height = framebufferHeight;
    glGenVertexArrays(1, &renderer.vertexArray);
    glGenBuffers(1, &renderer.vertices.buffer);
    glGenBuffers(1, &renderer.indices.buffer);
    renderer.vertices.target = GL_ARRAY_BUFFER;
    renderer.indices.target = GL_ELEMENT_ARRAY_BUFFER;
    glBindVertexArray(renderer.vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, renderer.vertices.buffer);
    glBufferData(GL_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, renderer.indices.buffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, kStreamBytes, nullptr, GL_STREAM_DRAW);
    renderer.vertices.used = 0;
    renderer.indices.used = 0;
    renderer.applied.valid = false;
    return true;
}

void RendererClose() {
    FlushPendingDraw();
    if (renderer.vertexArray != 0) {
        DeletePrograms(renderer.programs);
        glDeleteVertexArrays(1, &renderer.vertexArray);
        glDeleteBuffers(1, &renderer.vertices.buffer);
        glDeleteBuffers(1, &renderer.indices.buffer);
    }
    renderer = Renderer{};
}

int32_t FramebufferWidth() {
    return renderer.width;
}

int32_t FramebufferHeight() {
    return renderer.height;
}

void RendererForgetAppliedState() {
    FlushPendingDraw();
    renderer.applied.valid = false;
}

void RendererDraw(const DrawState& state, Primitive primitive, const VertexSource& source) {
    if (source.vertexCount <= 0 || (source.indices != nullptr && source.indexCount <= 0)) {
        return;
    }
    // Vertices that share one colour draw with it as a constant, which arrives exactly.
    const float* colors = source.colors;
    float sharedColor[4];
    std::copy(source.constantColor, source.constantColor + 4, sharedColor);
    if (colors != nullptr && SameColors(colors, source.vertexCount)) {
        std::copy(colors, colors + 4, sharedColor);
        colors = nullptr;
    }
    PendingDraw& pending = renderer.pending;
    const bool texCoords = source.texCoords != nullptr;
    const bool joins =
        pending.vertexCount > 0 && pending.primitive == primitive &&
        pending.positionSize == source.positionSize && pending.texCoords == texCoords &&
        (!texCoords || pending.texCoordSize == source.texCoordSize) &&
        pending.vertexColors == (colors != nullptr) &&
        (colors != nullptr || SameFloats(pending.color, sharedColor, 4)) &&
        (texCoords || SameFloats(pending.texCoord, source.constantTexCoord, 4)) &&
        SameDrawState(pending.state, state) && pending.positions.size() < kMostPendingFloats;
    if (!joins) {
        FlushPendingDraw();
        pending.state = state;
        pending.primitive = primitive;
        pending.positionSize = source.positionSize;
        pending.texCoords = texCoords;
        pending.texCoordSize = source.texCoordSize;
        pending.vertexColors = colors != nullptr;
        std::copy(sharedColor, sharedColor + 4, pending.color);
        std::copy(source.constantTexCoord, source.constantTexCoord + 4, pending.texCoord);
    }
    // Later draws join in order after it, so the picture is the one separate draws would give.
    const auto first = static_cast<uint32_t>(pending.vertexCount);
    const int32_t count = source.vertexCount;
    AppendArray(pending.positions, source.positions, source.positionSize, source.positionStride,
                count);
    if (texCoords) {
        AppendArray(pending.texCoordArray, source.texCoords, source.texCoordSize,
                    source.texCoordStride, count);
    }
    if (colors != nullptr) {
        AppendArray(pending.colors, colors, 4, 4, count);
    }
    if (source.indices != nullptr) {
        for (int32_t i = 0; i < source.indexCount; ++i) {
            pending.indices.push_back(first + source.indices[i]);
        }
    } else {
        for (int32_t i = 0; i < count; ++i) {
            pending.indices.push_back(first + static_cast<uint32_t>(i));
        }
    }
    pending.vertexCount += count;
}

StaticGeometry RendererCreateStatic(const float* vertices, int32_t count, bool texCoords) {
    FlushPendingDraw();
    StaticGeometry geometry;
    geometry.texCoords = texCoords;
    if (count <= 0) {
        return geometry;
    }
    glGenBuffers(1, &geometry.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, geometry.buffer);
    glBufferData(GL_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(count) * kStaticVertexFloats *
                     static_cast<GLsizeiptr>(sizeof(float)),
                 vertices, GL_STATIC_DRAW);
    geometry.vertexCount = count;
    return geometry;
}

void RendererDrawStatic(const DrawState& state, Primitive primitive, const StaticGeometry& geometry,
                        const float color[4], const float texCoord[4]) {
    FlushPendingDraw();
    if (geometry.vertexCount <= 0) {
        return;
    }
    Apply(state, false);
    glBindBuffer(GL_ARRAY_BUFFER, geometry.buffer);
    const GLsizei stride = kStaticVertexFloats * sizeof(float);
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, 4, GL_FLOAT, GL_FALSE, stride, nullptr);
    glDisableVertexAttribArray(kColorAttribute);
    glVertexAttrib4fv(kColorAttribute, color);
    if (geometry.texCoords) {
        glEnableVertexAttribArray(kTexCoordAttribute);
        glVertexAttribPointer(kTexCoordAttribute, 2, GL_FLOAT, GL_FALSE, stride,
                              reinterpret_cast<const void*>(4 * sizeof(float)));
    } else {
        glDisableVertexAttribArray(kTexCoordAttribute);
        glVertexAttrib4fv(kTexCoordAttribute, texCoord);
    }
    glDrawArrays(Mode(primitive), 0, geometry.vertexCount);
}

void RendererDeleteStatic(StaticGeometry& geometry) {
    FlushPendingDraw();
    if (geometry.buffer != 0) {
        glDeleteBuffers(1, &geometry.buffer);
    }
    geometry = StaticGeometry{};
}

void RendererClear(uint32_t mask, const float color[4], float depth, bool depthMask,
                   bool scissorTest, const int32_t scissor[4]) {
    FlushPendingDraw();
    Applied& a = renderer.applied;
    SetCapability(GL_SCISSOR_TEST, scissorTest);
    glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    glDepthMask(depthMask ? GL_TRUE : GL_FALSE);
    a.state.scissorTest = scissorTest;
    std::memcpy(a.state.scissor, scissor, sizeof a.state.scissor);
    a.state.depthMask = depthMask;
    glClearColor(color[0], color[1], color[2], color[3]);
    glClearDepthf(depth);
    GLbitfield bits = 0;
    if ((mask & GL_COLOR_BUFFER_BIT) != 0) {
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if ((mask & GL_DEPTH_BUFFER_BIT) != 0) {
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if (bits != 0) {
        glClear(bits);
    }
}

uint32_t RendererCreateTexture() {
    FlushPendingDraw();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

void RendererDeleteTexture(uint32_t texture) {
    FlushPendingDraw();
    if (renderer.applied.state.texture == texture) {
        renderer.applied.valid = false;
    }
    glDeleteTextures(1, &texture);
}

namespace {

void BindForUpload(uint32_t texture) {
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, texture);
    renderer.applied.state.texture = texture;
}

}  // namespace

void RendererTextureImage(uint32_t texture, bool luminance, int32_t width, int32_t height,
                          int32_t unpackAlignment, const void* pixels) {
    FlushPendingDraw();
    BindForUpload(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    const GLenum format = luminance ? GL_LUMINANCE : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void RendererTextureFilter(uint32_t texture, uint32_t pname, int32_t value) {
    FlushPendingDraw();
    BindForUpload(texture);
    glTexParameteri(GL_TEXTURE_2D, pname, value);
}

void RendererTextureSubImage(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                             const void* pixels) {
    FlushPendingDraw();
    BindForUpload(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void RendererReadRgba(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* rgba) {
    FlushPendingDraw();
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void RendererFinish() {
    FlushPendingDraw();
    glFinish();
}

void RendererSendDraws() {
    FlushPendingDraw();
}

void RendererFlush() {
    FlushPendingDraw();
    glFlush();
}

}  // namespace gllayer
