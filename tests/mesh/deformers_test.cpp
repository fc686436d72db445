// Deformers: save and restore, and the sine waves along x and z.
#include <gtest/gtest.h>

#include <cstring>

#include "mesh/deformers.h"
#include "mesh/shapes.h"

namespace {

// A 10 x 10 grid over x, z in -20..20, saved.
Mesh PreparedGrid() {
    Mesh mesh;
    BuildGrid(mesh, 10, 10, 40.0f, 40.0f);
    PrepareDeform(mesh);
    SavePositions(mesh);
    return mesh;
}

TEST(Deformers, ZeroAmplitudeOrZeroDirectionMovesNothing) {
    Mesh mesh = PreparedGrid();
    const std::vector<float> before = mesh.positions;
    WaveAlongX(mesh, 0.0f, 1.0f, 0.0f, 0.0f, 3.0f, 2.0f);
    WaveAlongZ(mesh, 1.0f, 1.0f, 1.0f, 0.0f, 1.5f, 7.0f);
    WaveAlongX(mesh, 0.0f, 0.0f, 0.0f, 10.0f, 3.0f, 2.0f);
    EXPECT_EQ(mesh.positions, before);
}

TEST(Deformers, QuarterWavelengthMovesByTheFullAmplitudeAlongXAndZ) {
    Mesh mesh;
    BuildGrid(mesh, 2, 1, 2.0f * 9.8696f, 2.0f);  // x = -9.87, 0, 9.87
    WaveAlongX(mesh, 0.0f, 1.0f, 0.0f, 4.0f, 0.0f, 1.0f);
    EXPECT_EQ(mesh.positions[1 * 3 + 1], 0.0f) << "x = 0 does not move";
    EXPECT_NEAR(mesh.positions[2 * 3 + 1], 4.0f, 1e-4f);
    EXPECT_NEAR(mesh.positions[0 * 3 + 1], -4.0f, 1e-4f);
    EXPECT_FLOAT_EQ(mesh.positions[2 * 3], 9.8696f) << "a pure y direction leaves x alone";

    BuildGrid(mesh, 1, 2, 2.0f, 2.0f * 9.8696f);  // rows at z = -9.87, 0, 9.87
    // A phase of a quarter wave moves z = 0 by the full amplitude, here along x.
    WaveAlongZ(mesh, 2.0f, 0.0f, 0.0f, 1.5f, 9.8696f, 1.0f);
    EXPECT_NEAR(mesh.positions[2 * 3], -1.0f + 3.0f, 1e-4f);  // V(1, 0), x was -1
    EXPECT_NEAR(mesh.positions[0], -1.0f, 1e-3f) << "z = -9.87 is where the sine is 0";
}

TEST(Deformers, RestoreBringsBackEveryBitAndWithoutPrepareIsHarmless) {
    Mesh mesh;
    BuildSphere(mesh, 12, 33.3f);
    PrepareDeform(mesh);
    const std::vector<float> original = mesh.positions;
    SavePositions(mesh);
    WaveAlongX(mesh, 0.3f, 1.0f, -0.2f, 10.0f, 12.345f, 3.0f);
    WaveAlongZ(mesh, 1.0f, 0.0f, 1.0f, -7.0f, 1.0f, 0.5f);
    ASSERT_NE(mesh.positions, original);
    RestorePositions(mesh);
    EXPECT_EQ(std::memcmp(mesh.positions.data(), original.data(), original.size() * sizeof(float)),
              0);

    Mesh box;
    BuildBox(box, 1.0f, 1.0f, 1.0f);
    SavePositions(box);
    RestorePositions(box);
    EXPECT_TRUE(box.savedPositions.empty());
    EXPECT_EQ(box.positions[0], -1.0f);
}

}  // namespace
