// Sphere orrery's circling eye, quarter flicker, closing quarters, words and hand-over on screen.
#include "scenes/sphere_orrery.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "closing_scene_support.h"
#include "scenes/scenes.h"

namespace {

TEST(SphereOrrery, EyeStaysOneHundredFromTheCentre) {
    const Vec3 start = SphereOrreryEye(0.0f);
    EXPECT_FLOAT_EQ(start.x, -100.0f);
    EXPECT_EQ(start.y, 0.0f);
    EXPECT_EQ(start.z, 0.0f);
    for (float clock = 0.0f; clock < 220.0f; clock += 1.3f) {
        const Vec3 eye = SphereOrreryEye(clock);
        EXPECT_NEAR(
            std::sqrt(double(eye.x) * eye.x + double(eye.y) * eye.y + double(eye.z) * eye.z), 100.0,
            1e-3)
            << clock;
    }
}

TEST(SphereOrrery, FlickerClosingQuartersWordsAndHandOverKeepTheirBounds) {
    const std::pair<float, int> quarterCases[] = {{0.5f, 0}, {1.0f, 1}, {2.9f, 2},
                                                  {3.0f, 3}, {4.2f, 0}, {199.0f, 3}};
    for (const auto& [clock, quarter] : quarterCases) {
        EXPECT_EQ(SphereOrreryFlickerQuarter(clock), quarter) << "clock " << clock;
    }
    // Lit while 50 * clock truncates to an odd number: never on whole units.
    const std::pair<float, float> alphaCases[] = {
        {0.0f, 0.0f}, {0.02f, 1.0f}, {0.05f, 0.0f}, {0.07f, 1.0f}, {1.0f, 0.0f}};
    for (const auto& [clock, alpha] : alphaCases) {
        EXPECT_EQ(SphereOrreryFlickerAlpha(clock), alpha) << "clock " << clock;
    }
    const std::pair<float, int> closedCases[] = {{170.0f, 0}, {170.5f, 1}, {180.0f, 1}, {185.0f, 2},
                                                 {190.5f, 3}, {200.0f, 3}, {200.5f, 4}};
    for (const auto& [clock, closed] : closedCases) {
        EXPECT_EQ(SphereOrreryClosedQuarters(clock), closed) << "clock " << clock;
    }
    // Words only inside open intervals.
    const std::pair<float, int> wordCases[] = {{0.0f, -1},   {30.0f, -1}, {30.5f, 0},  {59.9f, 0},
                                               {60.0f, -1},  {60.5f, 1},  {90.0f, -1}, {95.0f, 2},
                                               {105.0f, -1}, {106.0f, 3}, {154.9f, 3}, {155.0f, -1},
                                               {170.0f, -1}, {200.0f, -1}};
    for (const auto& [clock, word] : wordCases) {
        EXPECT_EQ(SphereOrreryWord(clock), word) << "clock " << clock;
    }
    ExpectStrictHandOver<SphereOrrery>(SphereOrreryFinishFrame, 200.0f);
}

constexpr Rgb kWhite{255, 255, 255};
using SphereOrreryDrawTest = ClosingSceneTest<SphereOrreryInit>;

TEST_F(SphereOrreryDrawTest, QuartersCloseOneByOneUntilTheLastFrameIsWhite) {
    for (int frame = 1; frame < 200; ++frame) {
        DrawNormalFrame(SphereOrreryDraw, 1.0f, false);
    }
    // Clock 200: three quarters; the bottom-left one waits for clock to pass 200.
    bool visitOver = true;
    Picture picture = DrawNormalFrame(SphereOrreryDraw, 1.0f, true, &visitOver);
    EXPECT_EQ(CountInRect(picture, 0, 0, 640, 240, kWhite), 640 * 240);
    EXPECT_EQ(CountInRect(picture, 320, 240, 640, 480, kWhite), 320 * 240);
    EXPECT_LT(CountInRect(picture, 0, 240, 320, 480, kWhite), 320 * 240);
    EXPECT_FALSE(visitOver);
    picture = DrawNormalFrame(SphereOrreryDraw, 1.0f, true, &visitOver);
    EXPECT_EQ(CountPixels(picture, kWhite), 640 * 480);
    EXPECT_TRUE(visitOver);
}

}  // namespace
