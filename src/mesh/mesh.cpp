// Drawing of meshes with GL vertex arrays, and the black line overlay.
#include "mesh/mesh.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

// Every attribute group OpenGL 1.1 defines; later GL headers widen GL_ALL_ATTRIB_BITS to all ones.
constexpr GLbitfield kAllAttribBitsGl11 = 0x000FFFFF;

// Draws the mesh's corners in index order as the given primitive, from the vertex and
// texture-coordinate arrays; leaves every client array disabled.
void DrawCorners(const Mesh& mesh, GLenum mode) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    glDrawElements(mode, mesh.triangleCount * 3, GL_UNSIGNED_INT, mesh.indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

}  // namespace

void PrepareDeform(Mesh& mesh) {
    mesh.savedPositions.assign(static_cast<size_t>(mesh.vertexCount) * 3, 0.0f);
}

void DrawMesh(const Mesh& mesh) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawCorners(mesh, GL_TRIANGLES);
}

void DrawMeshTinted(const Mesh& mesh, float r, float g, float b) {
    glColor4f(r, g, b, 1.0f);
    DrawCorners(mesh, GL_TRIANGLES);
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
    DrawCorners(mesh, GL_LINES);
    glPopAttrib();
}

uint32_t RecordMeshLines(uint32_t list, const Mesh* meshes, int32_t count) {
    if (list == 0) {
        list = glGenLists(1);
    }
    glNewList(list, GL_COMPILE);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_TEXTURE_2D);
    for (int32_t i = 0; i < count; ++i) {
        DrawMeshLines(meshes[i]);
    }
    glPopAttrib();
    glEndList();
    return list;
}
