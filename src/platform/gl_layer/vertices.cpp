// Vertices: the current colour, texture coordinate and normal, glBegin/glEnd, the client arrays
// and glDrawElements / glDrawArrays, turned into the renderer's triangles and lines.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/draw_state.h"
#include "platform/gl_layer/layer_state.h"

namespace gllayer {

namespace {

// A glBegin/glEnd block being collected.
struct Immediate {
    bool open = false;
    GLenum mode = GL_TRIANGLES;
    std::vector<float> positions;  // 4 a vertex
    std::vector<float> colors;     // 4 a vertex
    std::vector<float> texCoords;  // 4 a vertex
};

Immediate immediate;
std::vector<uint32_t> quadIndices;
std::vector<float> listVertices;

// The two triangles of quad (v0, v1, v2, v3), split as Mesa's software pipeline splits them: the
// triangles' plane equations decide how attributes round where they are interpolated, and a
// screen-filling quad sampled from a 64 x 64 texture has whole rows of pixel centres on texel
// edges, so the other diagonal would change rows of pixels.
constexpr uint32_t kQuadCorners[6] = {0, 1, 2, 0, 2, 3};

bool PrimitiveOf(GLenum mode, Primitive* primitive) {
    switch (mode) {
        case GL_TRIANGLES:
        case GL_QUADS:
            *primitive = Primitive::Triangles;
            return true;
        case GL_LINES:
            *primitive = Primitive::Lines;
            return true;
        default:
            ReportUnsupported("primitives other than triangles, quads and lines");
            return false;
    }
}

// Triangle indices for the quads among the given corners (or the corners in order when null).
const uint32_t* QuadsToTriangles(const uint32_t* corners, int32_t count, int32_t* indexCount) {
    quadIndices.clear();
    for (int32_t quad = 0; quad + 3 < count; quad += 4) {
        for (const uint32_t corner : kQuadCorners) {
            const uint32_t at = static_cast<uint32_t>(quad) + corner;
            quadIndices.push_back(corners != nullptr ? corners[at] : at);
        }
    }
    *indexCount = static_cast<int32_t>(quadIndices.size());
    return quadIndices.data();
}

// Copies the vertices a list draw uses, in index order, as the renderer keeps them.
void RecordDraw(Primitive primitive, const VertexSource& source) {
    listVertices.clear();
    const int32_t count = source.indices != nullptr ? source.indexCount : source.vertexCount;
    for (int32_t i = 0; i < count; ++i) {
        const uint32_t v = source.indices != nullptr ? source.indices[i] : static_cast<uint32_t>(i);
        const float* p = source.positions + static_cast<size_t>(v) * source.positionStride;
        float position[4] = {0.0f, 0.0f, 0.0f, 1.0f};
        for (int32_t k = 0; k < source.positionSize; ++k) {
            position[k] = p[k];
        }
        listVertices.insert(listVertices.end(), position, position + 4);
        if (source.texCoords != nullptr) {
            const float* t = source.texCoords + static_cast<size_t>(v) * source.texCoordStride;
            listVertices.push_back(t[0]);
            listVertices.push_back(source.texCoordSize > 1 ? t[1] : 0.0f);
        } else {
            listVertices.push_back(0.0f);
            listVertices.push_back(0.0f);
        }
    }
    RecordListDraw(primitive, listVertices.data(), count, source.texCoords != nullptr);
}

// Records, or draws, the vertices as the GL primitive mode says.
void Submit(GLenum mode, VertexSource source) {
    Primitive primitive;
    if (!PrimitiveOf(mode, &primitive)) {
        return;
    }
    if (mode == GL_QUADS) {
        const int32_t corners = source.indices != nullptr ? source.indexCount : source.vertexCount;
        source.indices = QuadsToTriangles(source.indices, corners, &source.indexCount);
    }
    if (source.colors == nullptr) {
        const ServerState& s = State().server;
        std::copy(s.color, s.color + 4, source.constantColor);
        std::copy(s.texCoord, s.texCoord + 4, source.constantTexCoord);
    }
    DrawState draw;
    if (PrepareDraw(&draw)) {
        RendererDraw(draw, primitive, source);
    }
}

// The vertex count a draw from the arrays needs: one past the largest index.
int32_t VerticesUsed(const uint32_t* indices, int32_t count) {
    uint32_t largest = 0;
    for (int32_t i = 0; i < count; ++i) {
        largest = indices[i] > largest ? indices[i] : largest;
    }
    return count > 0 ? static_cast<int32_t>(largest) + 1 : 0;
}

// The arrays' part of a draw; false (reported) for arrays the layer does not read.
bool ArraySource(VertexSource* source) {
    const ClientState& client = State().client;
    if (!client.vertex.enabled) {
        return false;  // GL draws nothing without positions
    }
    if (client.vertex.type != GL_FLOAT ||
        (client.texCoord.enabled && client.texCoord.type != GL_FLOAT) || client.colorArray) {
        ReportUnsupported("vertex arrays other than float positions and texture coordinates");
        return false;
    }
    const auto floatsApart = [](const ClientArray& array) {
        return array.stride == 0 ? array.size : static_cast<int32_t>(array.stride / sizeof(float));
    };
    source->positions = static_cast<const float*>(client.vertex.pointer);
    source->positionSize = client.vertex.size;
    source->positionStride = floatsApart(client.vertex);
    if (client.texCoord.enabled) {
        source->texCoords = static_cast<const float*>(client.texCoord.pointer);
        source->texCoordSize = client.texCoord.size;
        source->texCoordStride = floatsApart(client.texCoord);
    }
    return true;
}

void SetPointer(ClientArray& array, GLint size, GLenum type, GLsizei stride,
                const GLvoid* pointer) {
    if (size < 1 || size > 4 || stride < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    array.size = size;
    array.type = type;
    array.stride = stride;
    array.pointer = pointer;
}

}  // namespace

}  // namespace gllayer

using namespace gllayer;

void glColor4f(GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha) {
    if (RecordListCommand(ListCommand{.op = ListOp::Color, .values = {red, green, blue, alpha}})) {
        return;
    }
    float* c = State().server.color;
    c[0] = red;
    c[1] = green;
    c[2] = blue;
    c[3] = alpha;
}

void glColor3f(GLfloat red, GLfloat green, GLfloat blue) {
    glColor4f(red, green, blue, 1.0f);
}

void glColor3ub(GLubyte red, GLubyte green, GLubyte blue) {
    glColor4f(red / 255.0f, green / 255.0f, blue / 255.0f, 1.0f);
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    if (RecordUnsupportedInList("glTexCoord2f")) {
        return;
    }
    float* c = State().server.texCoord;
    c[0] = s;
    c[1] = t;
    c[2] = 0.0f;
    c[3] = 1.0f;
}

void glNormal3f(GLfloat nx, GLfloat ny, GLfloat nz) {
    if (RecordUnsupportedInList("glNormal3f")) {
        return;
    }
    float* n = State().server.normal;
    n[0] = nx;
    n[1] = ny;
    n[2] = nz;
}

void glBegin(GLenum mode) {
    if (immediate.open) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    immediate.open = true;
    immediate.mode = mode;
    immediate.positions.clear();
    immediate.colors.clear();
    immediate.texCoords.clear();
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!immediate.open) {
        return;  // GL ignores a vertex outside glBegin/glEnd
    }
    const ServerState& s = State().server;
    const float position[4] = {x, y, z, 1.0f};
    immediate.positions.insert(immediate.positions.end(), position, position + 4);
    immediate.colors.insert(immediate.colors.end(), s.color, s.color + 4);
    immediate.texCoords.insert(immediate.texCoords.end(), s.texCoord, s.texCoord + 4);
}

void glVertex2f(GLfloat x, GLfloat y) {
    glVertex3f(x, y, 0.0f);
}

void glEnd() {
    if (!immediate.open) {
        SetError(GL_INVALID_OPERATION);
        return;
    }
    immediate.open = false;
    VertexSource source;
    source.positions = immediate.positions.data();
    source.positionSize = 4;
    source.positionStride = 4;
    source.colors = immediate.colors.data();
    source.texCoords = immediate.texCoords.data();
    source.texCoordSize = 4;
    source.texCoordStride = 4;
    int32_t count = static_cast<int32_t>(immediate.positions.size() / 4);
    // Incomplete primitives at the end are dropped, as GL drops them.
    if (immediate.mode == GL_QUADS) {
        count -= count % 4;
    } else if (immediate.mode == GL_TRIANGLES) {
        count -= count % 3;
    } else if (immediate.mode == GL_LINES) {
        count -= count % 2;
    }
    source.vertexCount = count;
    if (ListOpen()) {
        ReportUnsupported("glBegin/glEnd in a display list");
        if (CompilingOnly()) {
            return;
        }
    }
    if (count > 0) {
        Submit(immediate.mode, source);
    }
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(State().client.vertex, size, type, stride, pointer);
}

void glTexCoordPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    SetPointer(State().client.texCoord, size, type, stride, pointer);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    if (count < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    if (type != GL_UNSIGNED_INT) {
        ReportUnsupported("glDrawElements with indices other than 32-bit");
        return;
    }
    VertexSource source;
    if (count == 0 || !ArraySource(&source)) {
        return;
    }
    const uint32_t* corners = static_cast<const uint32_t*>(indices);
    // Lines pair up corners and triangles take them in threes; a last partial one is dropped.
    const int32_t whole = mode == GL_LINES ? count - count % 2 : count - count % 3;
    source.indices = corners;
    source.indexCount = mode == GL_QUADS ? count - count % 4 : whole;
    source.vertexCount = VerticesUsed(corners, source.indexCount);
    if (ListOpen()) {
        // The list keeps the vertices as they are now.
        Primitive primitive;
        if (PrimitiveOf(mode, &primitive)) {
            VertexSource triangles = source;
            if (mode == GL_QUADS) {
                triangles.indices =
                    QuadsToTriangles(corners, source.indexCount, &triangles.indexCount);
            }
            RecordDraw(primitive, triangles);
        }
        if (CompilingOnly()) {
            return;
        }
    }
    Submit(mode, source);
}

void glDrawArrays(GLenum mode, GLint first, GLsizei count) {
    if (count < 0 || first < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    VertexSource source;
    if (count == 0 || !ArraySource(&source)) {
        return;
    }
    source.positions += static_cast<size_t>(first) * source.positionStride;
    if (source.texCoords != nullptr) {
        source.texCoords += static_cast<size_t>(first) * source.texCoordStride;
    }
    source.vertexCount = count;
    if (ListOpen()) {
        ReportUnsupported("glDrawArrays in a display list");
        if (CompilingOnly()) {
            return;
        }
    }
    Submit(mode, source);
}
