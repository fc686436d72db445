// The GL layer's ES 3 side: the shader program, the vertex buffers, ES state set lazily, and
// the texture, clear and read-back calls.
#include "platform/gl_layer/es_renderer.h"

#include <GLES3/gl3.h>

#include <cstring>
#include <vector>

namespace gllayer {

namespace {

// The fixed-function vertex stage for the program's calls: the position through projection ×
// modelview as separate multiply-adds in column order (the order the fixed-function program
// uses, so that positions match it to the bit), the colour clamped to 0..1 as the fixed-function
// pipeline clamps vertex colours, and sphere-mapped texture coordinates where asked.
constexpr const char* kVertexShader = R"(#version 300 es
uniform mat4 uMvp;
uniform mat4 uModelview;
uniform mat3 uNormalMatrix;
uniform vec3 uNormal;
uniform bvec2 uSphereMap;
in vec4 aPosition;
in vec4 aColor;
in vec4 aTexCoord;
out vec4 vColor;
out vec4 vTexCoord;
void main() {
    vec4 p = uMvp[0] * aPosition.x;
    p = uMvp[1] * aPosition.y + p;
    p = uMvp[2] * aPosition.z + p;
    gl_Position = uMvp[3] * aPosition.w + p;
    vColor = clamp(aColor, 0.0, 1.0);
    vec4 st = aTexCoord;
    if (uSphereMap.x || uSphereMap.y) {
        vec4 e = uModelview[0] * aPosition.x;
        e = uModelview[1] * aPosition.y + e;
        e = uModelview[2] * aPosition.z + e;
        e = uModelview[3] * aPosition.w + e;
        vec3 u = e.xyz * inversesqrt(dot(e.xyz, e.xyz));
        vec3 n = uNormalMatrix * uNormal;
        float nu = dot(n, u);
        vec3 r = -(nu + nu) * n + u;
        vec3 r1 = r + vec3(0.0, 0.0, 1.0);
        float halfInverseM = inversesqrt(dot(r1, r1)) * 0.5;
        vec2 mapped = r.xy * halfInverseM + 0.5;
        if (uSphereMap.x) { st.x = mapped.x; }
        if (uSphereMap.y) { st.y = mapped.y; }
    }
    vTexCoord = st;
}
)";

// GL_MODULATE texturing, or a bitmap's mask; GL_INVERT's source is white. Texture coordinates
// are looked up projectively (divided by the interpolated q, which is 1 at every vertex), as the
// fixed-function pipeline does: the division rounds, and a plain lookup would land on the
// neighbouring texel wherever a pixel centre falls on a texel edge.
constexpr const char* kFragmentShader = R"(#version 300 es
precision highp float;
uniform sampler2D uTexture;
uniform int uShading;
uniform bool uWhite;
in vec4 vColor;
in vec4 vTexCoord;
out vec4 fragColor;
void main() {
    vec4 color = vColor;
    if (uShading == 1) {
        color = textureProj(uTexture, vTexCoord.xyw) * vColor;
    } else if (uShading == 2) {
        if (texture(uTexture, vTexCoord.xy).r == 0.0) {
            discard;
        }
    }
    fragColor = uWhite ? vec4(1.0) : color;
}
)";

constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kColorAttribute = 1;
constexpr GLuint kTexCoordAttribute = 2;

// Vertex data streams through one buffer, appended draw after draw and started afresh when full.
constexpr GLsizeiptr kStreamBytes = 8 << 20;

struct Uniforms {
    GLint mvp = -1;
    GLint modelview = -1;
    GLint normalMatrix = -1;
    GLint normal = -1;
    GLint sphereMap = -1;
    GLint texture = -1;
    GLint shading = -1;
    GLint white = -1;
};

// What was last set on ES, so that only changes are sent.
struct Applied {
    bool valid = false;
    DrawState state;
    bool white = false;
};

struct StreamBuffer {
    GLuint buffer = 0;
    GLenum target = GL_ARRAY_BUFFER;
    GLsizeiptr used = 0;
};

struct Renderer {
    GLuint program = 0;
    GLuint vertexArray = 0;
    Uniforms uniforms;
    StreamBuffer vertices;
    StreamBuffer indices;
    std::vector<float> staging;
    Applied applied;
    int32_t width = 0;
    int32_t height = 0;
};

Renderer renderer;

bool Compile(GLenum kind, const char* source, GLuint* shader, std::string* error) {
    *shader = glCreateShader(kind);
    glShaderSource(*shader, 1, &source, nullptr);
    glCompileShader(*shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(*shader, GL_COMPILE_STATUS, &ok);
    if (ok == GL_TRUE) {
        return true;
    }
    char log[1024] = {};
    glGetShaderInfoLog(*shader, sizeof log, nullptr, log);
    *error = std::string("the GL layer's shader does not compile: ") + log;
    return false;
}

bool BuildProgram(std::string* error) {
    GLuint vertex = 0;
    GLuint fragment = 0;
    if (!Compile(GL_VERTEX_SHADER, kVertexShader, &vertex, error) ||
        !Compile(GL_FRAGMENT_SHADER, kFragmentShader, &fragment, error)) {
        return false;
    }
    const GLuint program = glCreateProgram();
    glAttachShader(program, vertex);
    glAttachShader(program, fragment);
    glBindAttribLocation(program, kPositionAttribute, "aPosition");
    glBindAttribLocation(program, kColorAttribute, "aColor");
    glBindAttribLocation(program, kTexCoordAttribute, "aTexCoord");
    glLinkProgram(program);
    glDeleteShader(vertex);
    glDeleteShader(fragment);
    GLint ok = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (ok != GL_TRUE) {
        char log[1024] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        *error = std::string("the GL layer's shader does not link: ") + log;
        glDeleteProgram(program);
        return false;
    }
    renderer.program = program;
    Uniforms& u = renderer.uniforms;
    u.mvp = glGetUniformLocation(program, "uMvp");
    u.modelview = glGetUniformLocation(program, "uModelview");
    u.normalMatrix = glGetUniformLocation(program, "uNormalMatrix");
    u.normal = glGetUniformLocation(program, "uNormal");
    u.sphereMap = glGetUniformLocation(program, "uSphereMap");
    u.texture = glGetUniformLocation(program, "uTexture");
    u.shading = glGetUniformLocation(program, "uShading");
    u.white = glGetUniformLocation(program, "uWhite");
    return true;
}

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

// Sets on ES whatever differs from what was last set.
void Apply(const DrawState& s) {
    Applied& a = renderer.applied;
    const DrawState& was = a.state;
    const bool all = !a.valid;
    const Uniforms& u = renderer.uniforms;
    if (all) {
        glUseProgram(renderer.program);
        glBindVertexArray(renderer.vertexArray);
        glUniform1i(u.texture, 0);
        glActiveTexture(GL_TEXTURE0);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
    }
    if (all || !SameMatrix(s.mvp, was.mvp)) {
        glUniformMatrix4fv(u.mvp, 1, GL_FALSE, s.mvp.m);
    }
    const bool sphereMap = s.sphereMapS || s.sphereMapT;
    if (sphereMap &&
        (all || !SameMatrix(s.modelview, was.modelview) || !(was.sphereMapS || was.sphereMapT))) {
        glUniformMatrix4fv(u.modelview, 1, GL_FALSE, s.modelview.m);
        float normalMatrix[9];
        NormalMatrix(s.modelview, normalMatrix);
        glUniformMatrix3fv(u.normalMatrix, 1, GL_FALSE, normalMatrix);
        glUniform3fv(u.normal, 1, s.normal);
    }
    if (all || s.sphereMapS != was.sphereMapS || s.sphereMapT != was.sphereMapT) {
        glUniform2i(u.sphereMap, s.sphereMapS ? 1 : 0, s.sphereMapT ? 1 : 0);
    }
    if (all || s.shading != was.shading) {
        glUniform1i(u.shading, static_cast<GLint>(s.shading));
    }
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
    if (all || s.invert != a.white) {
        glUniform1i(u.white, s.invert ? 1 : 0);
        a.white = s.invert;
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

// Copies count vertices of size floats, stride apart, into the staging area; returns the float
// offset where they start.
size_t StageArray(const float* data, int32_t size, int32_t stride, int32_t count) {
    std::vector<float>& staging = renderer.staging;
    const size_t at = staging.size();
    if (stride == size) {
        staging.insert(staging.end(), data, data + static_cast<size_t>(size) * count);
        return at;
    }
    for (int32_t i = 0; i < count; ++i) {
        const float* vertex = data + static_cast<size_t>(i) * stride;
        staging.insert(staging.end(), vertex, vertex + size);
    }
    return at;
}

}  // namespace

bool RendererOpen(int32_t framebufferWidth, int32_t framebufferHeight, std::string* error) {
    RendererClose();
    if (!BuildProgram(error)) {
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
    if (renderer.program != 0) {
        glDeleteProgram(renderer.program);
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
    renderer.applied.valid = false;
}

void RendererDraw(const DrawState& state, Primitive primitive, const VertexSource& source) {
    if (source.vertexCount <= 0 || (source.indices != nullptr && source.indexCount <= 0)) {
        return;
    }
    Apply(state);
    std::vector<float>& staging = renderer.staging;
    staging.clear();
    const int32_t count = source.vertexCount;
    const size_t positions =
        StageArray(source.positions, source.positionSize, source.positionStride, count);
    const size_t texCoords =
        source.texCoords != nullptr
            ? StageArray(source.texCoords, source.texCoordSize, source.texCoordStride, count)
            : 0;
    const size_t colors = source.colors != nullptr ? StageArray(source.colors, 4, 4, count) : 0;
    const GLintptr base = Stream(renderer.vertices, staging.data(),
                                 static_cast<GLsizeiptr>(staging.size() * sizeof(float)));
    const auto at = [base](size_t floats) {
        return reinterpret_cast<const void*>(base + static_cast<GLintptr>(floats * sizeof(float)));
    };
    glEnableVertexAttribArray(kPositionAttribute);
    glVertexAttribPointer(kPositionAttribute, source.positionSize, GL_FLOAT, GL_FALSE, 0,
                          at(positions));
    if (source.texCoords != nullptr) {
        glEnableVertexAttribArray(kTexCoordAttribute);
        glVertexAttribPointer(kTexCoordAttribute, source.texCoordSize, GL_FLOAT, GL_FALSE, 0,
                              at(texCoords));
    } else {
        glDisableVertexAttribArray(kTexCoordAttribute);
        glVertexAttrib4fv(kTexCoordAttribute, source.constantTexCoord);
    }
    if (source.colors != nullptr) {
        glEnableVertexAttribArray(kColorAttribute);
        glVertexAttribPointer(kColorAttribute, 4, GL_FLOAT, GL_FALSE, 0, at(colors));
    } else {
        glDisableVertexAttribArray(kColorAttribute);
        glVertexAttrib4fv(kColorAttribute, source.constantColor);
    }
    if (source.indices == nullptr) {
        glDrawArrays(Mode(primitive), 0, count);
        return;
    }
    const GLintptr offset =
        Stream(renderer.indices, source.indices,
               static_cast<GLsizeiptr>(source.indexCount) * static_cast<GLsizeiptr>(4));
    glDrawElements(Mode(primitive), source.indexCount, GL_UNSIGNED_INT,
                   reinterpret_cast<const void*>(offset));
}

StaticGeometry RendererCreateStatic(const float* vertices, int32_t count, bool texCoords) {
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
    if (geometry.vertexCount <= 0) {
        return;
    }
    Apply(state);
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
    if (geometry.buffer != 0) {
        glDeleteBuffers(1, &geometry.buffer);
    }
    geometry = StaticGeometry{};
}

void RendererClear(uint32_t mask, const float color[4], float depth, bool depthMask,
                   bool scissorTest, const int32_t scissor[4]) {
    Applied& a = renderer.applied;
    if (!a.valid) {
        // Everything the clear does not set is set at the next draw.
        glUseProgram(renderer.program);
    }
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
    GLuint texture = 0;
    glGenTextures(1, &texture);
    return texture;
}

void RendererDeleteTexture(uint32_t texture) {
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
    BindForUpload(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, unpackAlignment);
    const GLenum format = luminance ? GL_LUMINANCE : GL_RGBA;
    glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(format), width, height, 0, format,
                 GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void RendererTextureFilter(uint32_t texture, uint32_t pname, int32_t value) {
    BindForUpload(texture);
    glTexParameteri(GL_TEXTURE_2D, pname, value);
}

void RendererTextureSubImage(uint32_t texture, int32_t x, int32_t y, int32_t width, int32_t height,
                             const void* pixels) {
    BindForUpload(texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexSubImage2D(GL_TEXTURE_2D, 0, x, y, width, height, GL_LUMINANCE, GL_UNSIGNED_BYTE, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

void RendererReadRgba(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* rgba) {
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
}

void RendererFinish() {
    glFinish();
}

void RendererFlush() {
    glFlush();
}

}  // namespace gllayer
