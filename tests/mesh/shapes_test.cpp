// Shape generators: counts, positions, texture coordinates and index patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "mesh/shapes.h"

namespace {

using Tri = std::array<uint32_t, 3>;

const float* Pos(const Mesh& mesh, uint32_t v) {
    return &mesh.positions[size_t{v} * 3];
}
float U(const Mesh& mesh, uint32_t v) {
    return mesh.texCoords[size_t{v} * 2];
}
float V(const Mesh& mesh, uint32_t v) {
    return mesh.texCoords[size_t{v} * 2 + 1];
}
Tri Triangle(const Mesh& mesh, int t) {
    const uint32_t* p = &mesh.indices[size_t(t) * 3];
    return {p[0], p[1], p[2]};
}

void ExpectSizes(const Mesh& mesh, int32_t vertices, int32_t triangles, uint32_t maxIndex) {
    EXPECT_EQ(mesh.vertexCount, vertices);
    EXPECT_EQ(mesh.triangleCount, triangles);
    EXPECT_EQ(mesh.positions.size(), size_t(vertices) * 3);
    EXPECT_EQ(mesh.texCoords.size(), size_t(vertices) * 2);
    EXPECT_EQ(mesh.indices.size(), size_t(triangles) * 3);
    EXPECT_EQ(*std::max_element(mesh.indices.begin(), mesh.indices.end()), maxIndex);
    EXPECT_TRUE(mesh.savedPositions.empty()) << "generators leave the deform copy alone";
}

void ExpectPoint(const Mesh& mesh, uint32_t v, float x, float y, float z, float tol = 1e-4f) {
    EXPECT_NEAR(Pos(mesh, v)[0], x, tol) << "vertex " << v;
    EXPECT_NEAR(Pos(mesh, v)[1], y, tol) << "vertex " << v;
    EXPECT_NEAR(Pos(mesh, v)[2], z, tol) << "vertex " << v;
}

TEST(BuildBox, CubeCornersUvsAndTwoTrianglesCoveringEachFace) {
    Mesh box;
    BuildBox(box, 1.0f, 2.0f, 3.0f);
    ExpectSizes(box, 8, 12, 7);
    ExpectPoint(box, 0, -1, -2, -3);
    ExpectPoint(box, 2, 1, 2, -3);
    ExpectPoint(box, 5, -1, -2, 3);
    ExpectPoint(box, 7, 1, 2, 3);
    const float uv[8][2] = {{1, 0}, {1, 1}, {0, 1}, {0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
    for (uint32_t v = 0; v < 8; ++v) {
        EXPECT_EQ(U(box, v), uv[v][0]) << v;
        EXPECT_EQ(V(box, v), uv[v][1]) << v;
    }
    EXPECT_EQ(Triangle(box, 3), (Tri{4, 7, 2}));
    EXPECT_EQ(Triangle(box, 11), (Tri{6, 3, 2}));
}

TEST(BuildTube, OctagonWithOneRingAndSeveralRingsStacked) {
    Mesh tube;
    BuildTube(tube, 8, 1, 50.0f, 30.0f);
    ExpectSizes(tube, 16, 16, 15);
    ExpectPoint(tube, 0, -50, 0, 0);
    ExpectPoint(tube, 2, 0, 0, 50);
    ExpectPoint(tube, 8, -50, 30, 0);
    for (uint32_t v = 0; v < 16; ++v) {
        EXPECT_NEAR(std::hypot(Pos(tube, v)[0], Pos(tube, v)[2]), 50.0f, 1e-3f) << v;
        EXPECT_EQ(Pos(tube, v)[1], v < 8 ? 0.0f : 30.0f) << v;
        EXPECT_FLOAT_EQ(U(tube, v), static_cast<float>(v % 8) / 8.0f) << v;
        EXPECT_EQ(V(tube, v), v < 8 ? 0.0f : 1.0f) << v;
    }
    EXPECT_EQ(Triangle(tube, 0), (Tri{0, 1, 8}));
    EXPECT_EQ(Triangle(tube, 1), (Tri{8, 1, 9}));
    EXPECT_EQ(Triangle(tube, 14), (Tri{7, 0, 15}));
    EXPECT_EQ(Triangle(tube, 15), (Tri{15, 0, 8}));

    BuildTube(tube, 5, 3, 10.0f, 9.0f);  // rebuilding replaces the arrays
    ExpectSizes(tube, 20, 30, 19);
    EXPECT_FLOAT_EQ(Pos(tube, 10)[1], 6.0f);
    EXPECT_EQ(Triangle(tube, 28), (Tri{14, 10, 19}));  // ring 2's last quad wraps to its start
}

TEST(BuildGrid, SingleCellAndOneWindingOverARectangle) {
    Mesh grid;
    BuildGrid(grid, 1, 1, 200.0f, 200.0f);
    ExpectSizes(grid, 4, 2, 3);
    const float corner[4][2] = {{-100, -100}, {100, -100}, {-100, 100}, {100, 100}};
    for (uint32_t v = 0; v < 4; ++v) {
        ExpectPoint(grid, v, corner[v][0], 0, corner[v][1]);
        EXPECT_EQ(U(grid, v), float(v % 2));
        EXPECT_EQ(V(grid, v), float(v / 2));
    }
    EXPECT_EQ(Triangle(grid, 0), (Tri{2, 1, 0}));
    EXPECT_EQ(Triangle(grid, 1), (Tri{3, 1, 2}));

    BuildGrid(grid, 4, 2, 80.0f, 20.0f);
    ExpectSizes(grid, 15, 16, 14);
    ExpectPoint(grid, 6, -20, 0, 0);
    float area = 0.0f;
    for (int t = 0; t < grid.triangleCount; ++t) {
        const Tri tri = Triangle(grid, t);
        const float *a = Pos(grid, tri[0]), *b = Pos(grid, tri[1]), *c = Pos(grid, tri[2]);
        const float cross = (c[2] - a[2]) * (b[0] - a[0]) - (c[0] - a[0]) * (b[2] - a[2]);
        EXPECT_LT(cross, 0.0f) << "triangle " << t << " turns the other way";
        area -= cross / 2.0f;
    }
    EXPECT_NEAR(area, 80.0f * 20.0f, 1e-2f);
}

TEST(BuildSphere, SixteenSegmentsWithOverwrittenRingEndsAndZeroTail) {
    const int n = 16;
    const float r = 10.0f;
    Mesh sphere;
    BuildSphere(sphere, n, r);
    ExpectSizes(sphere, 306, 512, 271);
    ExpectPoint(sphere, 0, 0, r, 0);
    for (uint32_t v = 0; v < 274; ++v) {
        const float* p = Pos(sphere, v);
        EXPECT_NEAR(std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]), r, 1e-3f) << v;
    }
    EXPECT_TRUE(std::all_of(sphere.positions.begin() + 274 * 3, sphere.positions.end(),
                            [](float f) { return f == 0.0f; }));
    EXPECT_TRUE(std::all_of(sphere.texCoords.begin() + 274 * 2, sphere.texCoords.end(),
                            [](float f) { return f == 0.0f; }));
    // Index n is written by ring 0 (k = n) and then ring 1 (k = 0); ring 1 wins.
    const float theta1 = 6.283184f / n;
    ExpectPoint(sphere, n, -r * float(std::sin(double(theta1))), r * std::cos(theta1), 0.0f);
    EXPECT_EQ(U(sphere, n), 0.0f);
    EXPECT_EQ(V(sphere, n), 1.0f / n);
    // The last ring keeps both: k = n + 1 has u = (n + 1) / n.
    EXPECT_FLOAT_EQ(U(sphere, n * n + n + 1), float(n + 1) / n);
    EXPECT_EQ(V(sphere, n * n + n + 1), 1.0f);
    EXPECT_EQ(Triangle(sphere, 2 * (2 * n - 1)), (Tri{31, 16, 47}));  // wraps with n per ring
}

TEST(BuildTorus, SixByFourteen) {
    const float rr = 185.0f;
    Mesh torus;
    BuildTorus(torus, 6, 14, rr, 20.0f);
    ExpectSizes(torus, 105, 168, 104);
    ExpectPoint(torus, 0, rr, 20, 0);
    // V(0, 6) closes the tube's circle; its u is sin(6.283184), tiny but not 0.
    ExpectPoint(torus, 6, rr, 20, 0, 1e-3f);
    EXPECT_EQ(U(torus, 6), float(std::sin(double(6.283184f))));
    EXPECT_NE(U(torus, 6), 0.0f);
    EXPECT_NEAR(U(torus, 8), std::sin(6.283184f / 6), 1e-6f);
    EXPECT_FLOAT_EQ(V(torus, 7 * 14), 5.0f);
    EXPECT_FLOAT_EQ(V(torus, 7 * 7), 2.5f);
    for (uint32_t v = 0; v < 105; ++v) {
        const float fromAxis = std::hypot(Pos(torus, v)[0], Pos(torus, v)[2]) - rr;
        EXPECT_NEAR(std::hypot(fromAxis, Pos(torus, v)[1]), 20.0f, 1e-3f) << v;
    }
    EXPECT_EQ(Triangle(torus, 0), (Tri{7, 1, 0}));
    EXPECT_EQ(Triangle(torus, 1), (Tri{8, 1, 7}));
    EXPECT_EQ(Triangle(torus, 167), (Tri{104, 97, 103}));
}

}  // namespace
