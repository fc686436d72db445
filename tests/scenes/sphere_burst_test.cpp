// Sphere burst: one-second visits, the jumping eye, the balls' spread, the shell, and a drawn
// visit.
#include "scenes/sphere_burst.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(SphereBurstClock, VisitEndsStrictlyPast20AndStartsOverWhileTheNoiseCarriesOn) {
    SphereBurstState state;
    EXPECT_EQ(SphereBurstNextNoise(state), 5);
    EXPECT_EQ(SphereBurstNextNoise(state), 6);
    state.clock = 20.0f;
    EXPECT_FALSE(SphereBurstVisitEnds(state));
    state.clock = 20.01f;
    EXPECT_TRUE(SphereBurstVisitEnds(state));
    EXPECT_EQ(state.clock, 0.0f);
    EXPECT_EQ(SphereBurstNextNoise(state), 7);
    EXPECT_EQ(SphereBurstNextNoise(state), 4);
}

TEST(SphereBurstMotion, EyeHoldsForEightUnitsThenJumps) {
    const Vec3 first = SphereBurstEye(0.0f);
    EXPECT_NEAR(first.x, 0.0f, 1e-5f);
    EXPECT_EQ(first.y, 50.0f);
    EXPECT_NEAR(first.z, -300.0f, 1e-4f);
    EXPECT_EQ(SphereBurstEye(7.99f).z, first.z);
    const Vec3 second = SphereBurstEye(8.0f);
    EXPECT_NEAR(second.x, 100.0f * std::sin(4.0 / 3.14159), 1e-3);
    EXPECT_NEAR(second.z, -300.0f * std::cos(4.0 / 3.14159), 1e-3);
    EXPECT_EQ(SphereBurstEye(15.99f).x, second.x);
    EXPECT_NEAR(SphereBurstEye(16.0f).x, 100.0f * std::sin(8.0 / 3.14159), 1e-3);
}

TEST(SphereBurstMotion, BallsSpreadHalfOutPeakAndReturnWhileTheShellStays100Out) {
    const float spread[][2] = {
        {0.0f, 50.0f}, {4.934798f, 100.0f}, {9.869596f, 50.0f}, {14.804394f, 0.0f}};
    for (const auto& [clock, expected] : spread) {
        EXPECT_NEAR(SphereBurstSpread(clock), expected, 1e-3f) << clock;
    }
    EXPECT_NEAR(SphereBurstShellOffset(0.0f).z, -100.0f, 1e-4f);
    for (float clock = 0.0f; clock <= 21.0f; clock += 0.37f) {
        const Vec3 v = SphereBurstShellOffset(clock);
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 100.0f, 1e-3f) << clock;
        if (std::fabs(v.x) > 1.0f) {  // x and y share one sine in the ratio 50 : -80
            EXPECT_NEAR(v.y / v.x, -1.6f, 1e-4f);
        }
    }
}

}  // namespace
