// Drawing of meshes with GL vertex arrays, and the black line overlay.
#include "mesh/mesh.h"

#include <GL/gl.h>

#include <cstddef>

namespace {

// Every attribute group OpenGL 1.1 defines; later GL headers widen GL_ALL_ATTRIB_BITS to all ones.
constexpr GLbitfield kAllAttribBitsGl11 = 0x000FFFFF;

void DrawTriangles(const Mesh& mesh) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    glDrawElements(GL_TRIANGLES, mesh.triangleCount * 3, GL_UNSIGNED_INT, mesh.indices.data());
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
    DrawTriangles(mesh);
}

void DrawMeshTinted(const Mesh& mesh, float r, float g, float b) {
    glColor4f(r, g, b, 1.0f);
    DrawTriangles(mesh);
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
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, mesh.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, mesh.texCoords.data());
    glDrawElements(GL_LINES, mesh.triangleCount * 3, GL_UNSIGNED_INT, mesh.indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopAttrib();
}
