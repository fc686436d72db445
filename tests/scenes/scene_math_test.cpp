// Vector length and normalisation used to aim the scenes' cameras.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/scene_math.h"

namespace {

TEST(Vec3Math, LengthAndNormaliseOfThreeFourZero) {
    Vec3 v{3.0f, 4.0f, 0.0f};
    EXPECT_EQ(Vec3Length(v), 5.0f);
    Vec3Normalize(v);
    EXPECT_EQ(v.x, 3.0f / 5.0f);
    EXPECT_EQ(v.y, 4.0f / 5.0f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(Vec3Math, LargeFactorIsLost) {
    Vec3 v{-400.0f, 0.0f, 0.0f};
    Vec3Normalize(v);
    EXPECT_EQ(v.x, -1.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
}

TEST(Vec3Math, LengthSumsInDoubleBeforeRounding) {
    // In float, 1e20^2 overflows to infinity; summed in double the length is exact.
    const Vec3 big{1e20f, 0.0f, 0.0f};
    EXPECT_EQ(Vec3Length(big), 1e20f);
    const Vec3 tiny{1e-30f, 1e-30f, 0.0f};  // squares underflow in float, not in double
    EXPECT_NEAR(Vec3Length(tiny), 1.41421356e-30f, 1e-36f);
}

TEST(Vec3Math, UnitVectorsStayPut) {
    const float s = 0.6f;
    const float c = 0.8f;
    Vec3 v{s, 0.0f, c};
    const float length = Vec3Length(v);
    Vec3Normalize(v);
    EXPECT_EQ(v.x, s / length);
    EXPECT_EQ(v.z, c / length);
    EXPECT_NEAR(v.x, s, 1e-7f);
    EXPECT_NEAR(v.z, c, 1e-7f);
    Vec3 axis{0.0f, -1.0f, 0.0f};
    Vec3Normalize(axis);
    EXPECT_EQ(axis.y, -1.0f);
}

TEST(Vec3Math, EveryComponentUsesTheLengthTakenBeforeAnyChange) {
    Vec3 v{2.0f, 2.0f, 1.0f};
    Vec3Normalize(v);
    EXPECT_EQ(v.x, 2.0f / 3.0f);
    EXPECT_EQ(v.y, 2.0f / 3.0f);
    EXPECT_EQ(v.z, 1.0f / 3.0f);
}

TEST(Vec3Math, ZeroVectorStaysZeroWithoutNaN) {
    Vec3 v{};
    Vec3Normalize(v);
    EXPECT_EQ(v.x, 0.0f);
    EXPECT_EQ(v.y, 0.0f);
    EXPECT_EQ(v.z, 0.0f);
    EXPECT_FALSE(std::isnan(v.x));
}

}  // namespace
