// The mesh record: an indexed triangle list with one texture coordinate per vertex, and its
// drawing.
#pragma once

#include <cstdint>
#include <vector>

// Built once at start-up by a shape generator (shapes.h) and kept for the whole run. The arrays are
// laid out exactly as the GL vertex-array calls take them: 3 floats per position, 2 floats per
// texture coordinate, 3 unsigned 32-bit indices per triangle, no stride.
struct Mesh {
    std::vector<float> positions;       // vertexCount * 3: x, y, z
    std::vector<float> savedPositions;  // vertexCount * 3 once PrepareDeform ran, else empty
    std::vector<uint32_t> indices;      // triangleCount * 3: triangle t at 3t, 3t+1, 3t+2
    std::vector<uint32_t> lastFirst;    // the triangles of indices last to first, once
                                        // PrepareTopFirst ran, else empty
    std::vector<float> texCoords;       // vertexCount * 2: u, v
    int32_t vertexCount = 0;
    int32_t triangleCount = 0;
};

// Makes room for the copy the deformers keep; its contents stay unspecified until SavePositions.
// Call once, directly after the generator, for every mesh that will be deformed.
void PrepareDeform(Mesh& mesh);

// Fills mesh.lastFirst: the same triangles in reverse order, each keeping its corner order. Call
// once, after the generator, for every mesh drawn with DrawMeshTopFirst.
void PrepareTopFirst(Mesh& mesh);

// Draws the triangles in white with the current texture and matrices. Leaves the vertex, normal and
// texture-coordinate client arrays disabled. Never allocates.
void DrawMesh(const Mesh& mesh);

// As DrawMesh, in colour (r, g, b, 1).
void DrawMeshTinted(const Mesh& mesh, float r, float g, float b);

// Black line overlay: all triangle corners in index order sent as one flat GL_LINES list (so pairs
// of consecutive corners form segments; not a wireframe), with culling on and depth test and
// lighting off. All attribute state is saved and restored around it.
void DrawMeshLines(const Mesh& mesh);

// Records the line overlays of count meshes that never change shape into display list `list`
// (a new list when 0) and returns its name; calling the list replays the same lines. They are
// recorded untextured: the overlay is opaque black whatever opaque texture is bound, so texturing
// changes no pixel, and untextured lines cost the software rasteriser far less. Replaying the list
// leaves the enable state as it found it. On a thread that draws lists directly nothing is recorded
// and `list` comes back as it was.
uint32_t RecordMeshLines(uint32_t list, const Mesh* meshes, int32_t count);

// Draws the lines RecordMeshLines recorded from these meshes: glCallList(list), or on a thread that
// draws lists directly (core/gl_objects.h) the same calls, from the meshes as they are now.
void CallMeshLines(uint32_t list, const Mesh* meshes, int32_t count);

// Top-first drawing: the same picture as drawing opaque fragments in order over each other, with
// the hidden layers rejected by the depth test before texturing and blending. Between
// BeginTopFirst and EndTopFirst every fragment lies at depth 0 and passes only where nothing was
// drawn yet, so the draws must come in reverse order (the last one first) and each pixel keeps the
// fragment the forward order would have left on top. That picture is the forward one only where
// each fragment replaces what is under it: opaque colour and texture, or blending off (it is off
// in between). For scenes that draw with the depth test off: the depth buffer is cleared on entry
// and on exit (within the scissor box when the scissor test is on), and every other state is
// restored on exit.
void BeginTopFirst();
void EndTopFirst();

// Whether the current GL state lets top-first drawing of white (or black) meshes give the forward
// picture: depth, stencil and alpha tests, logic op, lighting and smoothing off, and blending off
// or replacing at alpha 1. With blending and texturing on, the caller vouches for the bound
// texture's alpha with `textureOpaque`.
bool TopFirstKeepsPicture(bool textureOpaque);

// As DrawMesh, last triangle first, from mesh.lastFirst (PrepareTopFirst). Between BeginTopFirst
// and EndTopFirst.
void DrawMeshTopFirst(const Mesh& mesh);

// As DrawMeshLines but with the depth test left as it is, for use between BeginTopFirst and
// EndTopFirst. The segments are all black, so their own order makes no difference.
void DrawMeshLinesTopFirst(const Mesh& mesh);
