// Frame timing and the scene schedule.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "scenes/scenes.h"
#include "shell/frame_clock.h"
#include "shell/schedule.h"

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

// The timetable, written out independently of the schedule's arithmetic.
SceneRoutine ExpectedRoutine(int32_t counter) {
    if (counter == 0)
        return NoiseSphereDraw;
    if (counter >= 1 && counter <= 9 && counter % 2 == 1)
        return TumblingRingsDraw;
    if (counter >= 2 && counter <= 10 && counter % 2 == 0)
        return TubeCarouselDraw;
    if (counter >= 11 && counter <= 39 && counter % 2 == 1)
        return BoxFieldsDraw;
    if (counter >= 12 && counter <= 38 && counter % 2 == 0)
        return BitGridDraw;
    if (counter >= 41 && counter <= 47 && counter % 2 == 1)
        return SphereBurstDraw;
    if (counter >= 40 && counter <= 48 && counter % 2 == 0)
        return TorusNestDraw;
    if (counter == 49)
        return WordSpheresDraw;
    if (counter == 50)
        return GreetingsScrollDraw;
    if (counter == 51)
        return WobblingCoreDraw;
    if (counter == 52)
        return SphereOrreryDraw;
    if (counter == 53)
        return EndTitlesDraw;
    return nullptr;
}

TEST(ScheduleTest, EveryCounterFromZeroTo53SelectsItsScene) {
    std::set<SceneRoutine> used;
    for (int32_t counter = 0; counter <= 53; ++counter) {
        const SceneRoutine routine = SelectDrawRoutine(counter, false);
        ASSERT_NE(routine, nullptr) << counter;
        EXPECT_EQ(routine, ExpectedRoutine(counter)) << counter;
        used.insert(routine);
    }
    EXPECT_EQ(used.size(), 12u);  // every scene but the hidden game
    EXPECT_EQ(used.count(PaddleGameDraw), 0u);
}

TEST(ScheduleTest, CountersOutsideTheShowSelectNothing) {
    for (int32_t counter : {-2147483647 - 1, -1, 54, 55, 100, 2147483647}) {
        EXPECT_EQ(SelectDrawRoutine(counter, false), nullptr) << counter;
    }
}

TEST(ScheduleTest, HiddenModeAlwaysDrawsThePaddleGame) {
    for (int32_t counter : {-1, 0, 1, 12, 49, 53, 54, 1000}) {
        EXPECT_EQ(SelectDrawRoutine(counter, true), PaddleGameDraw) << counter;
    }
}

TEST(ScheduleTest, EverySceneHasADistinctName) {
    std::set<std::string> names;
    for (SceneRoutine routine : kSceneDrawRoutines) {
        const std::string name = SceneName(routine);
        EXPECT_FALSE(name.empty());
        names.insert(name);
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kSceneCount));
    EXPECT_STREQ(SceneName(nullptr), "");
}

}  // namespace
