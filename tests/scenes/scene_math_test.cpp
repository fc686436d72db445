// Vector length and normalisation used to aim the scenes' cameras.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/scene_math.h"

namespace {

TEST(Vec3Math, NormaliseDividesEveryComponentByTheLengthTakenFirst) {
    struct Case {
        Vec3 in;
        Vec3 out;
    };
    const Case cases[] = {
        {{3.0f, 4.0f, 0.0f}, {3.0f / 5.0f, 4.0f / 5.0f, 0.0f}},
        {{-400.0f, 0.0f, 0.0f}, {-1.0f, 0.0f, 0.0f}},
        {{2.0f, 2.0f, 1.0f}, {2.0f / 3.0f, 2.0f / 3.0f, 1.0f / 3.0f}},
        {{0.0f, 0.0f, 0.0f}, {0.0f, 0.0f, 0.0f}},  // zero stays zero, no NaN
    };
    for (const Case& c : cases) {
        Vec3 v = c.in;
        Vec3Normalize(v);
        EXPECT_EQ(v.x, c.out.x) << c.in.x << "," << c.in.y << "," << c.in.z;
        EXPECT_EQ(v.y, c.out.y) << c.in.x << "," << c.in.y << "," << c.in.z;
        EXPECT_EQ(v.z, c.out.z) << c.in.x << "," << c.in.y << "," << c.in.z;
    }
}

TEST(Vec3Math, LengthSumsInDoubleBeforeRounding) {
    EXPECT_EQ(Vec3Length(Vec3{3.0f, 4.0f, 0.0f}), 5.0f);
    // In float, 1e20^2 overflows and 1e-30^2 underflows; summed in double both are exact.
    EXPECT_EQ(Vec3Length(Vec3{1e20f, 0.0f, 0.0f}), 1e20f);
    EXPECT_NEAR(Vec3Length(Vec3{1e-30f, 1e-30f, 0.0f}), 1.41421356e-30f, 1e-36f);
}

}  // namespace
