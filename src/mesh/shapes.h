// Shape generators: each fills a Mesh with a box, open tube, flat grid, sphere or torus.
#pragma once

#include "mesh/mesh.h"

// Each generator replaces positions, texCoords and indices and sets vertexCount and triangleCount;
// savedPositions is left alone (see PrepareDeform). Shapes are centred on the origin (the tube
// stands on it) with y as the axis of the curved shapes.

// 8 vertices, 12 triangles; half extents along x, y, z.
void BuildBox(Mesh& mesh, float halfX, float halfY, float halfZ);

// Open tube without caps, rings at y = 0..height: (rings + 1) * segments vertices,
// 2 * segments * rings triangles.
void BuildTube(Mesh& mesh, int32_t segments, int32_t rings, float radius, float height);

// Flat grid in the XZ plane: (columns + 1) * (rows + 1) vertices, 2 * columns * rows triangles.
void BuildGrid(Mesh& mesh, int32_t columns, int32_t rows, float width, float depth);

// Sphere swept over a full turn of latitude: (segments + 1) * (segments + 2) vertices,
// 2 * segments^2 triangles; the unused tail of the arrays is zero.
void BuildSphere(Mesh& mesh, int32_t segments, float radius);

// Torus about the y axis: (tubeSegments + 1) * (ringSegments + 1) vertices,
// 2 * tubeSegments * ringSegments triangles.
void BuildTorus(Mesh& mesh, int32_t tubeSegments, int32_t ringSegments, float ringRadius,
                float tubeRadius);
