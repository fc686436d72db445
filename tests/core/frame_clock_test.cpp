// Frame timing: clock readings turned into the scenes' frame step.
#include <gtest/gtest.h>

#include "core/frame_clock.h"

namespace {

TEST(FrameStepTest, MillisecondsBecomeUnitsOfFiftyMilliseconds) {
    EXPECT_EQ(FrameStepFromElapsed(ElapsedMilliseconds(1000, 1000)), 0.0f);
    EXPECT_EQ(FrameStepFromElapsed(ElapsedMilliseconds(1050, 1000)), 1.0f);
    EXPECT_EQ(FrameStepFromElapsed(ElapsedMilliseconds(1017, 1000)), 17.0f / 50.0f);
    EXPECT_EQ(FixedFrameStep(20), 1.0f);
    EXPECT_EQ(FixedFrameStep(50), 0.4f);
    EXPECT_EQ(FixedFrameStep(60), static_cast<float>(1000.0 / 60) / 50.0f);
}

TEST(FrameStepTest, ReadingsAreZeroExtendedAndSubtractedIn64Bits) {
    // Readings above 2^31 stay positive: no 32-bit sign trouble.
    EXPECT_EQ(ElapsedMilliseconds(0xFFFFFFF0u, 0xFFFFFF00ll), 0xF0);
    // A wrap of the 32-bit clock is not corrected: one large negative step.
    EXPECT_EQ(ElapsedMilliseconds(5u, 0xFFFFFFF0ll), 5ll - 0xFFFFFFF0ll);
    EXPECT_LT(FrameStepFromElapsed(ElapsedMilliseconds(5u, 0xFFFFFFF0ll)), -8.5e7f);
}

}  // namespace
