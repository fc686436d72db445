// Drawing of meshes with GL vertex arrays, and the black line overlay.
#include "mesh/mesh.h"

#include <cstddef>

#include "core/gl_objects.h"
#include "platform/gl.h"

namespace {

// Every attribute group OpenGL 1.1 defines; later GL headers widen GL_ALL_ATTRIB_BITS to all ones.
constexpr GLbitfield kAllAttribBitsGl11 = 0x000FFFFF;

// Draws the mesh's corners in index order as the given primitive, from the vertex and
// texture-coordinate arrays; leaves every client array disabled.
void DrawCorners(const Mesh& mesh, GLenum mode, const std::vector<uint32_t>& indices) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    glDrawElements(mode, mesh.triangleCount * 3, GL_UNSIGNED_INT, indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace

void PrepareTopFirst(Mesh& mesh) {
    const size_t count = static_cast<size_t>(mesh.triangleCount) * 3;
    mesh.lastFirst.resize(count);
    for (size_t from = 0; from < count; from += 3) {
        const size_t to = count - 3 - from;
        for (size_t corner = 0; corner < 3; ++corner) {
            mesh.lastFirst[to + corner] = mesh.indices[from + corner];
        }
    }
}

void PrepareDeform(Mesh& mesh) {
    mesh.savedPositions.assign(static_cast<size_t>(mesh.vertexCount) * 3, 0.0f);
}

void DrawMesh(const Mesh& mesh) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawCorners(mesh, GL_TRIANGLES, mesh.indices);
}

void DrawMeshTinted(const Mesh& mesh, float r, float g, float b) {
    glColor4f(r, g, b, 1.0f);
    DrawCorners(mesh, GL_TRIANGLES, mesh.indices);
}

void DrawMeshLines(const Mesh& mesh) {
    glPushAttrib(kAllAttribBitsGl11);
    glEnable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    // One flat list of corners in index order: GL_LINES pairs them regardless of triangle
    // boundaries, and an odd corner count drops the last one. Deliberate; the overlay is not a
    // wireframe. The index array sends exactly the corners a glBegin/glEnd loop would, with
    // their texture coordinates, in one call instead of two per corner.
    DrawCorners(mesh, GL_LINES, mesh.indices);
    glPopAttrib();
}

bool TopFirstKeepsPicture(bool textureOpaque) {
    // Smoothing turns coverage into alpha, so it counts as translucency.
    const GLenum mustBeOff[] = {GL_DEPTH_TEST, GL_STENCIL_TEST, GL_ALPHA_TEST,    GL_COLOR_LOGIC_OP,
                                GL_LIGHTING,   GL_LINE_SMOOTH,  GL_POLYGON_SMOOTH};
    for (const GLenum capability : mustBeOff) {
        if (glIsEnabled(capability)) {
            return false;
        }
    }
    if (!glIsEnabled(GL_BLEND)) {
        return true;  // every fragment replaces what is under it, whatever its alpha
    }
    if (glIsEnabled(GL_TEXTURE_2D) && !textureOpaque) {
        return false;
    }
    GLint source = 0;
    GLint destination = 0;
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    const bool sourceWhole = source == GL_SRC_ALPHA || source == GL_ONE;
    const bool destinationNone = destination == GL_ONE_MINUS_SRC_ALPHA || destination == GL_ZERO;
    return sourceWhole && destinationNone;
}

void BeginTopFirst() {
    glPushAttrib(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_ENABLE_BIT | GL_VIEWPORT_BIT);
    // The scissor test stays as it is: a frame drawn unseen keeps to the feedback corner with it,
    // and the depth clears and the drawing inside the box come out the same either way.
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glClear(GL_DEPTH_BUFFER_BIT);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    // Window depth = 0 + z * (0 - 0): the first fragment at a pixel passes (0 < 1), later ones
    // fail.
    glDepthRange(0.0, 0.0);
}

void EndTopFirst() {
    // With the depth test off before, nothing had written depth: leave it cleared as it was.
    glClear(GL_DEPTH_BUFFER_BIT);
    glPopAttrib();
}

void DrawMeshTopFirst(const Mesh& mesh) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawCorners(mesh, GL_TRIANGLES, mesh.lastFirst);
}

void DrawMeshLinesTopFirst(const Mesh& mesh) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_LIGHTING);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    DrawCorners(mesh, GL_LINES, mesh.indices);
    glPopAttrib();
}

namespace {

void DrawUntexturedLines(const Mesh* meshes, int32_t count) {
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    for (int32_t i = 0; i < count; ++i) {
        DrawMeshLines(meshes[i]);
    }
    glPopAttrib();
}

}  // namespace

uint32_t RecordMeshLines(uint32_t list, const Mesh* meshes, int32_t count) {
    if (ThisThreadDrawsListsDirectly()) {
        return list;
    }
    if (list == 0) {
        list = glGenLists(1);
        NoteListsMade(list, 1);
    }
    glNewList(list, GL_COMPILE);
    DrawUntexturedLines(meshes, count);
    glEndList();
    return list;
}

void CallMeshLines(uint32_t list, const Mesh* meshes, int32_t count) {
    if (ThisThreadDrawsListsDirectly()) {
        DrawUntexturedLines(meshes, count);
        return;
    }
    glCallList(list);
}
