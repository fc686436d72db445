// Shape generators: counts, positions, texture coordinates and index patterns.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>

#include "mesh/shapes.h"

namespace {

struct Point {
    float x, y, z;
};

Point PositionOf(const Mesh& mesh, uint32_t v) {
    const float* p = &mesh.positions[static_cast<size_t>(v) * 3];
    return {p[0], p[1], p[2]};
}

float U(const Mesh& mesh, uint32_t v) {
    return mesh.texCoords[static_cast<size_t>(v) * 2];
}
float V(const Mesh& mesh, uint32_t v) {
    return mesh.texCoords[static_cast<size_t>(v) * 2 + 1];
}

std::array<uint32_t, 3> Triangle(const Mesh& mesh, int t) {
    const uint32_t* p = &mesh.indices[static_cast<size_t>(t) * 3];
    return {p[0], p[1], p[2]};
}

void ExpectArraySizes(const Mesh& mesh, int32_t vertices, int32_t triangles) {
    EXPECT_EQ(mesh.vertexCount, vertices);
    EXPECT_EQ(mesh.triangleCount, triangles);
    EXPECT_EQ(mesh.positions.size(), static_cast<size_t>(vertices) * 3);
    EXPECT_EQ(mesh.texCoords.size(), static_cast<size_t>(vertices) * 2);
    EXPECT_EQ(mesh.indices.size(), static_cast<size_t>(triangles) * 3);
    EXPECT_TRUE(mesh.savedPositions.empty()) << "generators leave the deform copy alone";
}

uint32_t MaxIndex(const Mesh& mesh) {
    return *std::max_element(mesh.indices.begin(), mesh.indices.end());
}

void ExpectPoint(const Point& p, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(p.x, x, tolerance);
    EXPECT_NEAR(p.y, y, tolerance);
    EXPECT_NEAR(p.z, z, tolerance);
}

TEST(BuildBox, CubeHasTwoTrianglesOnEachFaceCoveringIt) {
    Mesh box;
    BuildBox(box, 25.0f, 25.0f, 25.0f);
    ExpectArraySizes(box, 8, 12);
    // Each face is identified by (axis, sign); each triangle must lie entirely in one face.
    std::array<int, 6> trianglesPerFace{};
    std::array<std::set<uint32_t>, 6> cornersPerFace;
    for (int t = 0; t < 12; ++t) {
        const auto tri = Triangle(box, t);
        int faces = 0;
        for (int axis = 0; axis < 3; ++axis) {
            for (int sign = 0; sign < 2; ++sign) {
                const float plane = sign == 0 ? -25.0f : 25.0f;
                bool inPlane = true;
                for (uint32_t v : tri) {
                    inPlane = inPlane && box.positions[v * 3 + axis] == plane;
                }
                if (inPlane) {
                    ++faces;
                    ++trianglesPerFace[axis * 2 + sign];
                    cornersPerFace[axis * 2 + sign].insert(tri.begin(), tri.end());
                }
            }
        }
        EXPECT_EQ(faces, 1) << "triangle " << t;
        EXPECT_NE(tri[0], tri[1]);
        EXPECT_NE(tri[1], tri[2]);
        EXPECT_NE(tri[0], tri[2]);
    }
    for (int f = 0; f < 6; ++f) {
        EXPECT_EQ(trianglesPerFace[f], 2) << "face " << f;
        EXPECT_EQ(cornersPerFace[f].size(), 4u) << "face " << f << " is not fully covered";
    }
}

TEST(BuildBox, CornersAndTextureCoordinatesFollowTheTable) {
    Mesh box;
    BuildBox(box, 1.0f, 2.0f, 3.0f);
    ExpectPoint(PositionOf(box, 0), -1, -2, -3);
    ExpectPoint(PositionOf(box, 2), 1, 2, -3);
    ExpectPoint(PositionOf(box, 5), -1, -2, 3);
    ExpectPoint(PositionOf(box, 7), 1, 2, 3);
    const float expectedU[8] = {1, 1, 0, 0, 1, 1, 0, 0};
    const float expectedV[8] = {0, 1, 1, 0, 0, 1, 1, 0};
    for (uint32_t v = 0; v < 8; ++v) {
        EXPECT_EQ(U(box, v), expectedU[v]) << v;
        EXPECT_EQ(V(box, v), expectedV[v]) << v;
    }
    // Bottom face corners all have u = 1, top face all u = 0.
    for (int t : {8, 9}) {
        for (uint32_t v : Triangle(box, t))
            EXPECT_EQ(U(box, v), 1.0f);
    }
    for (int t : {10, 11}) {
        for (uint32_t v : Triangle(box, t))
            EXPECT_EQ(U(box, v), 0.0f);
    }
    EXPECT_EQ(Triangle(box, 3), (std::array<uint32_t, 3>{4, 7, 2}));
    EXPECT_EQ(Triangle(box, 11), (std::array<uint32_t, 3>{6, 3, 2}));
}

TEST(BuildTube, OctagonWithOneRing) {
    Mesh tube;
    BuildTube(tube, 8, 1, 50.0f, 30.0f);
    ExpectArraySizes(tube, 16, 16);
    ExpectPoint(PositionOf(tube, 0), -50, 0, 0);
    ExpectPoint(PositionOf(tube, 2), 0, 0, 50);
    ExpectPoint(PositionOf(tube, 8), -50, 30, 0);
    for (uint32_t v = 0; v < 16; ++v) {
        const Point p = PositionOf(tube, v);
        EXPECT_NEAR(std::hypot(p.x, p.z), 50.0f, 1e-3f);
        EXPECT_EQ(p.y, v < 8 ? 0.0f : 30.0f);
        EXPECT_FLOAT_EQ(U(tube, v), static_cast<float>(v % 8) / 8.0f);
        EXPECT_EQ(V(tube, v), v < 8 ? 0.0f : 1.0f);
    }
    EXPECT_EQ(Triangle(tube, 0), (std::array<uint32_t, 3>{0, 1, 8}));
    EXPECT_EQ(Triangle(tube, 1), (std::array<uint32_t, 3>{8, 1, 9}));
    EXPECT_EQ(Triangle(tube, 14), (std::array<uint32_t, 3>{7, 0, 15}));
    EXPECT_EQ(Triangle(tube, 15), (std::array<uint32_t, 3>{15, 0, 8}));
}

TEST(BuildTube, SeveralRingsStackEvenly) {
    Mesh tube;
    BuildTube(tube, 5, 3, 10.0f, 9.0f);
    ExpectArraySizes(tube, 20, 30);
    EXPECT_EQ(MaxIndex(tube), 19u);
    EXPECT_FLOAT_EQ(PositionOf(tube, 10).y, 6.0f);
    EXPECT_FLOAT_EQ(V(tube, 15), 1.0f);
    // Quad of ring 2, segment 4 wraps back to the ring's first vertex.
    EXPECT_EQ(Triangle(tube, 2 * 14), (std::array<uint32_t, 3>{14, 10, 19}));
    EXPECT_EQ(Triangle(tube, 2 * 14 + 1), (std::array<uint32_t, 3>{19, 10, 15}));
}

TEST(BuildGrid, SingleCell) {
    Mesh grid;
    BuildGrid(grid, 1, 1, 200.0f, 200.0f);
    ExpectArraySizes(grid, 4, 2);
    ExpectPoint(PositionOf(grid, 0), -100, 0, -100);
    ExpectPoint(PositionOf(grid, 1), 100, 0, -100);
    ExpectPoint(PositionOf(grid, 2), -100, 0, 100);
    ExpectPoint(PositionOf(grid, 3), 100, 0, 100);
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (uint32_t v = 0; v < 4; ++v) {
        EXPECT_EQ(U(grid, v), uv[v][0]);
        EXPECT_EQ(V(grid, v), uv[v][1]);
    }
    EXPECT_EQ(Triangle(grid, 0), (std::array<uint32_t, 3>{2, 1, 0}));
    EXPECT_EQ(Triangle(grid, 1), (std::array<uint32_t, 3>{3, 1, 2}));
}

TEST(BuildGrid, RectangularGridCoversItsAreaWithOneWinding) {
    Mesh grid;
    BuildGrid(grid, 4, 2, 80.0f, 20.0f);
    ExpectArraySizes(grid, 15, 16);
    EXPECT_EQ(MaxIndex(grid), 14u);
    ExpectPoint(PositionOf(grid, 14), 40, 0, 10);
    ExpectPoint(PositionOf(grid, 6), -20, 0, 0);
    float area = 0.0f;
    for (int t = 0; t < grid.triangleCount; ++t) {
        const auto tri = Triangle(grid, t);
        const Point a = PositionOf(grid, tri[0]);
        const Point b = PositionOf(grid, tri[1]);
        const Point c = PositionOf(grid, tri[2]);
        // y of the cross product (c - a) x (b - a): every triangle turns the same way (facing -y).
        const float cross = (c.z - a.z) * (b.x - a.x) - (c.x - a.x) * (b.z - a.z);
        EXPECT_LT(cross, 0.0f) << "triangle " << t;
        area -= cross / 2.0f;
    }
    EXPECT_NEAR(area, 80.0f * 20.0f, 1e-2f);
}

TEST(BuildSphere, SixteenSegments) {
    const float r = 70.0f;
    Mesh sphere;
    BuildSphere(sphere, 16, r);
    ExpectArraySizes(sphere, 306, 512);
    ExpectPoint(PositionOf(sphere, 0), 0, r, 0);
    EXPECT_EQ(MaxIndex(sphere), 271u);
    // Tail never written by the rings: zero.
    for (size_t i = 274 * 3; i < sphere.positions.size(); ++i)
        EXPECT_EQ(sphere.positions[i], 0.0f);
    for (size_t i = 274 * 2; i < sphere.texCoords.size(); ++i)
        EXPECT_EQ(sphere.texCoords[i], 0.0f);
    // Every written vertex lies on the sphere.
    for (uint32_t v = 0; v < 274; ++v) {
        const Point p = PositionOf(sphere, v);
        EXPECT_NEAR(std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z), r, 1e-3f) << v;
    }
}

TEST(BuildSphere, NextRingOverwritesTheLastTwoVerticesOfARing) {
    const int n = 16;
    const float r = 10.0f;
    Mesh sphere;
    BuildSphere(sphere, n, r);
    const float theta1 = 6.283184f / n;
    const float sinTheta1 = static_cast<float>(std::sin(static_cast<double>(theta1)));
    // Index n belongs to ring 0 (k = n) and ring 1 (k = 0); ring 1 wins.
    ExpectPoint(PositionOf(sphere, n), -r * sinTheta1, r * std::cos(theta1), 0.0f);
    EXPECT_EQ(U(sphere, n), 0.0f);
    EXPECT_EQ(V(sphere, n), 1.0f / n);
    // Ring n keeps its last two: k = n + 1 at index n*n + n + 1 with u = (n + 1) / n.
    EXPECT_FLOAT_EQ(U(sphere, n * n + n + 1), static_cast<float>(n + 1) / n);
    EXPECT_EQ(V(sphere, n * n + n + 1), 1.0f);
    // Wrapped strip with n per ring: quad (ring 1, segment n - 1) joins back to index n.
    const int q = 1 * n + (n - 1);
    EXPECT_EQ(Triangle(sphere, 2 * q), (std::array<uint32_t, 3>{2 * 16 - 1, 16, 3 * 16 - 1}));
    // A point past half a turn lies on the mirror ring: ring n - i equals ring i turned about y.
    const Point ring2 = PositionOf(sphere, 2 * n + 3);
    const Point ringMirror = PositionOf(sphere, (n - 2) * n + 3);
    EXPECT_NEAR(ring2.y, ringMirror.y, 1e-4f);
    EXPECT_NEAR(ring2.x, -ringMirror.x, 1e-4f);
}

TEST(BuildTorus, SixBySixteen) {
    const float rr = 185.0f;
    Mesh torus;
    BuildTorus(torus, 6, 14, rr, 20.0f);
    ExpectArraySizes(torus, 105, 168);
    EXPECT_EQ(MaxIndex(torus), 104u);
    ExpectPoint(PositionOf(torus, 0), rr, 20, 0);
    // V(0, 6) closes the tube's circle at almost the same place, u = sin(6.283184), close to 0.
    const Point closing = PositionOf(torus, 6);
    ExpectPoint(closing, rr, 20, 0, 1e-3f);
    EXPECT_EQ(U(torus, 6), static_cast<float>(std::sin(static_cast<double>(6.283184f))));
    EXPECT_NE(U(torus, 6), 0.0f);
    EXPECT_LT(std::fabs(U(torus, 6)), 1e-5f);
    // u is the sine of the tube angle; v repeats five times around the ring.
    EXPECT_NEAR(U(torus, 7 + 1), std::sin(6.283184f / 6), 1e-6f);
    EXPECT_FLOAT_EQ(V(torus, 7 * 14), 5.0f);
    EXPECT_FLOAT_EQ(V(torus, 7 * 7), 2.5f);
    // Every vertex is tubeRadius away from the ring's centre line.
    for (uint32_t v = 0; v < 105; ++v) {
        const Point p = PositionOf(torus, v);
        const float fromAxis = std::hypot(p.x, p.z) - rr;
        EXPECT_NEAR(std::hypot(fromAxis, p.y), 20.0f, 1e-3f) << v;
    }
    // Grid pattern with 7 vertices per row.
    EXPECT_EQ(Triangle(torus, 0), (std::array<uint32_t, 3>{7, 1, 0}));
    EXPECT_EQ(Triangle(torus, 1), (std::array<uint32_t, 3>{8, 1, 7}));
    EXPECT_EQ(Triangle(torus, 167), (std::array<uint32_t, 3>{104, 97, 103}));
}

TEST(Generators, RebuildingReplacesTheArrays) {
    Mesh mesh;
    BuildSphere(mesh, 8, 1.0f);
    BuildBox(mesh, 1.0f, 1.0f, 1.0f);
    ExpectArraySizes(mesh, 8, 12);
}

}  // namespace
