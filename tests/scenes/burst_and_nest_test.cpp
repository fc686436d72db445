// Sphere burst and torus nest taking turns: one-second visits, the burst's spread and shell.
#include <gtest/gtest.h>

#include <cmath>

#include "scenes/sphere_burst.h"
#include "scenes/torus_nest.h"

namespace {

TEST(BurstAndNestClock, VisitsEndStrictlyPast20AndStartOver) {
    SphereBurstState burst;
    burst.clock = 20.0f;
    EXPECT_FALSE(SphereBurstVisitEnds(burst));
    burst.clock = 20.01f;
    EXPECT_TRUE(SphereBurstVisitEnds(burst));
    EXPECT_EQ(burst.clock, 0.0f);
    TorusNestState nest;
    nest.clock = 20.0f;
    EXPECT_FALSE(TorusNestVisitEnds(nest));
    nest.clock = 20.5f;
    EXPECT_TRUE(TorusNestVisitEnds(nest));
    EXPECT_EQ(nest.clock, 0.0f);
}

TEST(SphereBurstMotion, BallsSpreadAndTheShellStays100Out) {
    const float spread[][2] = {
        {0.0f, 50.0f}, {4.934798f, 100.0f}, {9.869596f, 50.0f}, {14.804394f, 0.0f}};
    for (const auto& [clock, expected] : spread) {
        EXPECT_NEAR(SphereBurstSpread(clock), expected, 1e-3f) << clock;
    }
    EXPECT_NEAR(SphereBurstShellOffset(0.0f).z, -100.0f, 1e-4f);
    for (float clock = 0.0f; clock <= 21.0f; clock += 0.37f) {
        const Vec3 v = SphereBurstShellOffset(clock);
        EXPECT_NEAR(Vec3Length(v), 100.0f, 1e-3f) << clock;
        if (std::fabs(v.x) > 1.0f) {  // x and y share one sine in the ratio 50 : -80
            EXPECT_NEAR(v.y / v.x, -1.6f, 1e-4f);
        }
    }
}

}  // namespace
