// Opening noise sphere: dive rhythm, eye, dot count, text window, white-out and the end.
#include "scenes/noise_sphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "scene_test_support.h"

namespace {

// The state is large (three 800-entry tables), so tests keep it on the heap.
std::unique_ptr<NoiseSphereState> FreshState() {
    return std::make_unique<NoiseSphereState>();
}

TEST(NoiseSphereDive, PassesSpeedTwoOnFrameEightThenJumpsTo110AndTo160) {
    for (float step : {1.0f, 0.5f}) {  // before the first dive the gain ignores the step
        auto state = FreshState();
        for (int frame = 1; frame <= 7; ++frame) {
            NoiseSphereDive(*state, step);
            EXPECT_LE(state->speed, 2.0f) << "frame " << frame << " step " << step;
            EXPECT_EQ(state->distance, 200.0f) << "frame " << frame << " step " << step;
        }
        NoiseSphereDive(*state, step);
        EXPECT_GT(state->speed, 2.0f) << step;
    }
    auto state = FreshState();
    float lowest = state->distance;
    for (int frames = 0; state->dives == 0 && frames < 1000; ++frames) {
        lowest = state->distance;
        NoiseSphereDive(*state, 1.0f);
    }
    ASSERT_EQ(state->dives, 1);
    EXPECT_GE(lowest, 60.0f);  // the frame before the jump was still at or above the floor
    EXPECT_EQ(state->distance, 110.0f);
    EXPECT_EQ(state->speed, -9.0f);
    // The distance waits at 110 while the speed climbs back above 2 (0.4 per frame now).
    int waiting = 0;
    for (; state->speed <= 2.0f; ++waiting) {
        EXPECT_EQ(state->distance, 110.0f);
        NoiseSphereDive(*state, 1.0f);
    }
    EXPECT_EQ(waiting, 28);
    for (int frames = 0; state->dives == 1 && frames < 5000; ++frames) {
        NoiseSphereDive(*state, 1.0f);
    }
    EXPECT_EQ(state->distance, 160.0f);
    EXPECT_EQ(state->speed, -14.0f);
}

// The live show's first frame has step 0 and clock 0, which capture never draws.
TEST(NoiseSphereCamera, EyeCirclesInTheXyPlaneAndIsFiniteAtClockZero) {
    auto state = FreshState();
    for (float clock : {0.0f, 5.0f, 77.0f, 499.0f}) {
        state->clock = clock;
        const Vec3 eye = NoiseSphereEye(*state);
        EXPECT_EQ(eye.z, 0.0f);
        EXPECT_NEAR(std::hypot(eye.x, eye.y), 200.0f, 1e-3f) << "clock " << clock;  // NaN fails
    }
}

TEST(NoiseSphereClock, DotsTextAndWhiteOutFollowTheClockWithStrictLimits) {
    auto state = FreshState();
    const auto dots = [&](float clock) {
        state->clock = clock;
        return NoiseSphereDotCount(*state);
    };
    ExpectAtClocks(dots, {9.99f, 10.0f, 501.0f, 1.0e6f}, {0, 3, 150, kNoiseSphereDotSlots});
    ExpectAtClocks(NoiseSphereTextAlpha,
                   {0.0f, 294.0f, 295.5f, 399.9f, 400.0f, 400.5f, 439.5f, 440.5f, 499.0f},
                   {0.0f, 0.0f, 1.0f, 1.0f, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f});
    for (float start : {450.0f, 460.0f, 470.0f, 480.0f}) {
        EXPECT_FALSE(NoiseSphereQuarterLit(start, start));
        int lit = 0;
        for (float clock = start + 1.0f; clock <= start + 10.0f; clock += 1.0f) {
            lit += NoiseSphereQuarterLit(clock, start) ? 1 : 0;
        }
        EXPECT_GT(lit, 0) << start;
        EXPECT_LT(lit, 10) << start;
        for (float clock = start + 15.01f; clock < start + 60.0f; clock += 0.25f) {
            EXPECT_TRUE(NoiseSphereQuarterLit(clock, start)) << clock;
        }
    }
    state->clock = 500.0f;
    EXPECT_FALSE(NoiseSphereFinished(*state));
    state->clock = 500.05f;
    EXPECT_TRUE(NoiseSphereFinished(*state));
}

}  // namespace
