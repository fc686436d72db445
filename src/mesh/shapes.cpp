// Shape generators: box, open tube, flat grid, sphere and torus, with their index patterns.
#include "mesh/shapes.h"

#include <cmath>
#include <cstddef>

namespace {

// A full turn as the generators use it: single precision, slightly less than 2 pi.
constexpr float kFullTurn = 6.283184f;

// Sine and cosine of a single-precision angle, taken in double and rounded back to float.
float Sin(float angle) {
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}
float Cos(float angle) {
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}

void Allocate(Mesh& mesh, int32_t vertexCount, int32_t triangleCount) {
    const size_t vertices = vertexCount > 0 ? static_cast<size_t>(vertexCount) : 0;
    const size_t triangles = triangleCount > 0 ? static_cast<size_t>(triangleCount) : 0;
    mesh.positions.assign(vertices * 3, 0.0f);
    mesh.texCoords.assign(vertices * 2, 0.0f);
    mesh.indices.assign(triangles * 3, 0u);
    mesh.vertexCount = vertexCount;
    mesh.triangleCount = triangleCount;
}

void SetVertex(Mesh& mesh, int32_t v, float x, float y, float z, float u, float t) {
    const size_t p = static_cast<size_t>(v) * 3;
    mesh.positions[p] = x;
    mesh.positions[p + 1] = y;
    mesh.positions[p + 2] = z;
    const size_t q = static_cast<size_t>(v) * 2;
    mesh.texCoords[q] = u;
    mesh.texCoords[q + 1] = t;
}

void SetTriangle(Mesh& mesh, int32_t t, int32_t a, int32_t b, int32_t c) {
    const size_t p = static_cast<size_t>(t) * 3;
    mesh.indices[p] = static_cast<uint32_t>(a);
    mesh.indices[p + 1] = static_cast<uint32_t>(b);
    mesh.indices[p + 2] = static_cast<uint32_t>(c);
}

// S vertices per ring, R bands; the last segment of a ring joins back to the ring's first vertex.
void WrappedRingStrip(Mesh& mesh, int32_t segments, int32_t rings) {
    for (int32_t i = 0; i < rings; ++i) {
        for (int32_t k = 0; k < segments; ++k) {
            const int32_t next = (k + 1) % segments;
            const int32_t p0 = i * segments + k;
            const int32_t p1 = i * segments + next;
            const int32_t p2 = (i + 1) * segments + k;
            const int32_t p3 = (i + 1) * segments + next;
            const int32_t q = i * segments + k;
            SetTriangle(mesh, 2 * q, p0, p1, p2);
            SetTriangle(mesh, 2 * q + 1, p2, p1, p3);
        }
    }
}

// columns + 1 vertices per row, rows bands.
void GridStrip(Mesh& mesh, int32_t columns, int32_t rows) {
    const int32_t stride = columns + 1;
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t k = 0; k < columns; ++k) {
            const int32_t q = i * columns + k;
            const int32_t v00 = i * stride + k;
            const int32_t v01 = i * stride + k + 1;
            const int32_t v10 = (i + 1) * stride + k;
            const int32_t v11 = (i + 1) * stride + k + 1;
            SetTriangle(mesh, 2 * q, v10, v01, v00);
            SetTriangle(mesh, 2 * q + 1, v11, v01, v10);
        }
    }
}

}  // namespace

void BuildBox(Mesh& mesh, float halfX, float halfY, float halfZ) {
    const float a = halfX;
    const float b = halfY;
    const float c = halfZ;
    Allocate(mesh, 8, 12);
    SetVertex(mesh, 0, -a, -b, -c, 1.0f, 0.0f);
    SetVertex(mesh, 1, a, -b, -c, 1.0f, 1.0f);
    SetVertex(mesh, 2, a, b, -c, 0.0f, 1.0f);
    SetVertex(mesh, 3, -a, b, -c, 0.0f, 0.0f);
    SetVertex(mesh, 4, a, -b, c, 1.0f, 0.0f);
    SetVertex(mesh, 5, -a, -b, c, 1.0f, 1.0f);
    SetVertex(mesh, 6, -a, b, c, 0.0f, 1.0f);
    SetVertex(mesh, 7, a, b, c, 0.0f, 0.0f);
    static constexpr int32_t kTriangles[12][3] = {
        {0, 1, 2}, {2, 3, 0},  // z = -c
        {1, 4, 2}, {4, 7, 2},  // x = +a
        {4, 5, 7}, {5, 6, 7},  // z = +c
        {5, 0, 6}, {0, 3, 6},  // x = -a
        {0, 4, 5}, {4, 1, 0},  // y = -b
        {2, 6, 7}, {6, 3, 2},  // y = +b
    };
    for (int32_t t = 0; t < 12; ++t) {
        SetTriangle(mesh, t, kTriangles[t][0], kTriangles[t][1], kTriangles[t][2]);
    }
}

void BuildTube(Mesh& mesh, int32_t segments, int32_t rings, float radius, float height) {
    Allocate(mesh, (rings + 1) * segments, 2 * segments * rings);
    const float ringStep = height / static_cast<float>(rings);
    const float angleStep = kFullTurn / static_cast<float>(segments);
    for (int32_t i = 0; i <= rings; ++i) {
        const float y = ringStep * static_cast<float>(i);
        const float v = static_cast<float>(i) / static_cast<float>(rings);
        for (int32_t k = 0; k < segments; ++k) {
            const float alpha = angleStep * static_cast<float>(k);
            const float u = static_cast<float>(k) / static_cast<float>(segments);
            SetVertex(mesh, i * segments + k, -radius * Cos(alpha), y, radius * Sin(alpha), u, v);
        }
    }
    WrappedRingStrip(mesh, segments, rings);
}

void BuildGrid(Mesh& mesh, int32_t columns, int32_t rows, float width, float depth) {
    Allocate(mesh, (columns + 1) * (rows + 1), 2 * columns * rows);
    const float columnStep = width / static_cast<float>(columns);
    const float rowStep = depth / static_cast<float>(rows);
    for (int32_t i = 0; i <= rows; ++i) {
        const float z = -depth / 2.0f + rowStep * static_cast<float>(i);
        const float v = static_cast<float>(i) / static_cast<float>(rows);
        for (int32_t k = 0; k <= columns; ++k) {
            const float x = -width / 2.0f + columnStep * static_cast<float>(k);
            const float u = static_cast<float>(k) / static_cast<float>(columns);
            SetVertex(mesh, i * (columns + 1) + k, x, 0.0f, z, u, v);
        }
    }
    GridStrip(mesh, columns, rows);
}

void BuildSphere(Mesh& mesh, int32_t segments, float radius) {
    const int32_t n = segments;
    // Allocate zero-fills, so the tail past the last ring's vertices (from n^2 + n + 2 on) stays 0.
    Allocate(mesh, (n + 1) * (n + 2), 2 * n * n);
    const float step = kFullTurn / static_cast<float>(n);
    for (int32_t i = 0; i <= n; ++i) {
        const float theta = step * static_cast<float>(i);
        const float sinTheta = Sin(theta);
        const float cosTheta = Cos(theta);
        const float v = static_cast<float>(i) / static_cast<float>(n);
        // Rings are n apart but write n + 2 vertices each: the next ring overwrites the last two.
        // Deliberate; the index pattern only reaches the first n of every ring.
        for (int32_t k = 0; k <= n + 1; ++k) {
            const float phi = step * static_cast<float>(k);
            const float u = static_cast<float>(k) / static_cast<float>(n);
            SetVertex(mesh, i * n + k, -radius * Cos(phi) * sinTheta, radius * cosTheta,
                      radius * Sin(phi) * sinTheta, u, v);
        }
    }
    WrappedRingStrip(mesh, n, n);
}

void BuildTorus(Mesh& mesh, int32_t tubeSegments, int32_t ringSegments, float ringRadius,
                float tubeRadius) {
    const int32_t m = tubeSegments;
    const int32_t n = ringSegments;
    Allocate(mesh, (m + 1) * (n + 1), 2 * m * n);
    const float ringStep = kFullTurn / static_cast<float>(n);
    const float tubeStep = kFullTurn / static_cast<float>(m);
    for (int32_t i = 0; i <= n; ++i) {
        const float theta = ringStep * static_cast<float>(i);
        const float sinTheta = Sin(theta);
        const float cosTheta = Cos(theta);
        const float v = static_cast<float>(5 * i) / static_cast<float>(n);
        for (int32_t k = 0; k <= m; ++k) {
            const float phi = tubeStep * static_cast<float>(k);
            const float sinPhi = Sin(phi);
            const float x = ringRadius * cosTheta + tubeRadius * sinPhi * cosTheta;
            const float y = tubeRadius * Cos(phi);
            const float z = ringRadius * sinTheta + tubeRadius * sinPhi * sinTheta;
            SetVertex(mesh, i * (m + 1) + k, x, y, z, sinPhi, v);
        }
    }
    GridStrip(mesh, m, n);
}
