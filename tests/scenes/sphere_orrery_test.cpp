// Sphere orrery's circling eye, spins, quarter flicker, closing quarters, words and hand-over.
#include "scenes/sphere_orrery.h"

#include <gtest/gtest.h>

#include <cmath>

#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(SphereOrrery, EyeStaysOneHundredFromTheCentre) {
    const Vec3 start = SphereOrreryEye(0.0f);
    EXPECT_FLOAT_EQ(start.x, -100.0f);
    EXPECT_EQ(start.y, 0.0f);
    EXPECT_EQ(start.z, 0.0f);
    for (float clock = 0.0f; clock < 220.0f; clock += 1.3f) {
        const Vec3 eye = SphereOrreryEye(clock);
        const double length =
            std::sqrt(double(eye.x) * eye.x + double(eye.y) * eye.y + double(eye.z) * eye.z);
        EXPECT_NEAR(length, 100.0, 1e-3) << clock;
    }
    // b = clock / 3.14159 / 2: at clock 3.14159 the angle a is 0.6, the third angle 1.3.
    const Vec3 eye = SphereOrreryEye(3.14159f);
    const double x = -std::cos(0.6), y = std::sin(0.6), z = std::sin(1.3);
    const double n = std::sqrt(x * x + y * y + z * z);
    EXPECT_NEAR(eye.x, 100.0 * x / n, 1e-3);
    EXPECT_NEAR(eye.y, 100.0 * y / n, 1e-3);
    EXPECT_NEAR(eye.z, 100.0 * z / n, 1e-3);
}

TEST(SphereOrrery, AdvanceMovesClockSpinsAndNoise) {
    SphereOrreryInit();
    EXPECT_EQ(sphereOrrery.camera.eyeZ, 100.0f);
    SphereOrreryAdvance(sphereOrrery, 2.5f);
    EXPECT_EQ(sphereOrrery.clock, 2.5f);
    EXPECT_EQ(sphereOrrery.sunSpin, 10.0f);
    EXPECT_FLOAT_EQ(sphereOrrery.planetSpin, 11.0f);
    EXPECT_EQ(sphereOrrery.noiseIndex, 1);
    const Vec3 eye = SphereOrreryEye(2.5f);
    EXPECT_EQ(sphereOrrery.camera.eyeX, eye.x);
    EXPECT_EQ(sphereOrrery.camera.eyeY, eye.y);
    EXPECT_EQ(sphereOrrery.camera.eyeZ, eye.z);
    EXPECT_EQ(sphereOrrery.camera.targetX, 0.0f);
}

TEST(SphereOrrery, FlickerJumpsQuarterEveryUnitAndBlinksOnOddFiftieths) {
    EXPECT_EQ(SphereOrreryFlickerQuarter(0.5f), 0);
    EXPECT_EQ(SphereOrreryFlickerQuarter(1.0f), 1);
    EXPECT_EQ(SphereOrreryFlickerQuarter(2.9f), 2);
    EXPECT_EQ(SphereOrreryFlickerQuarter(3.0f), 3);
    EXPECT_EQ(SphereOrreryFlickerQuarter(4.2f), 0);
    EXPECT_EQ(SphereOrreryFlickerQuarter(199.0f), 3);
    EXPECT_EQ(SphereOrreryFlickerAlpha(0.0f), 0.0f);
    EXPECT_EQ(SphereOrreryFlickerAlpha(0.02f), 1.0f);  // 50 * 0.02 = 1
    EXPECT_EQ(SphereOrreryFlickerAlpha(0.05f), 0.0f);  // 2.5 truncates to 2
    EXPECT_EQ(SphereOrreryFlickerAlpha(0.07f), 1.0f);  // 3.5 truncates to 3
    EXPECT_EQ(SphereOrreryFlickerAlpha(1.0f), 0.0f);   // whole units at fps 20: always dark
}

TEST(SphereOrrery, ClosingQuartersLightOneByOneAndStay) {
    EXPECT_EQ(SphereOrreryClosedQuarters(100.0f), 0);
    EXPECT_EQ(SphereOrreryClosedQuarters(170.0f), 0);
    EXPECT_EQ(SphereOrreryClosedQuarters(170.5f), 1);
    EXPECT_EQ(SphereOrreryClosedQuarters(180.0f), 1);
    EXPECT_EQ(SphereOrreryClosedQuarters(185.0f), 2);
    EXPECT_EQ(SphereOrreryClosedQuarters(190.5f), 3);
    EXPECT_EQ(SphereOrreryClosedQuarters(200.0f), 3);
    EXPECT_EQ(SphereOrreryClosedQuarters(200.5f), 4);
}

TEST(SphereOrrery, WordsShowOnlyInsideOpenIntervals) {
    for (const float edge : {30.0f, 60.0f, 90.0f, 105.0f, 155.0f, 0.0f, 200.0f}) {
        EXPECT_EQ(SphereOrreryWord(edge), -1) << edge;
    }
    EXPECT_EQ(SphereOrreryWord(30.5f), 0);
    EXPECT_EQ(SphereOrreryWord(59.9f), 0);
    EXPECT_EQ(SphereOrreryWord(60.5f), 1);
    EXPECT_EQ(SphereOrreryWord(95.0f), 2);
    EXPECT_EQ(SphereOrreryWord(106.0f), 3);
    EXPECT_EQ(SphereOrreryWord(154.9f), 3);
    EXPECT_EQ(SphereOrreryWord(170.0f), -1);
}

TEST(SphereOrrery, HandsOverOnlyAfterClockPassesTwoHundred) {
    SphereOrrery scene;
    sceneCounter = 52;
    scene.clock = 199.0f;
    SphereOrreryAdvance(scene, 1.0f);
    SphereOrreryFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 52);
    SphereOrreryAdvance(scene, 1.0f);
    SphereOrreryFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 53);
    ResetDemoGlobals();
}

}  // namespace

// Drawn on the offscreen window as the driver draws it.
#include "closing_scene_support.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

class SphereOrreryDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        SphereOrreryInit();
        sceneCounter = 52;
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

TEST_F(SphereOrreryDrawTest, FlickerLightsTheTopLeftQuarterOnOddFiftieths) {
    // Clock 0.02: 50 * clock = 1 is odd, quarter 0 lit; clock 0.04: even, dark.
    Picture picture = DrawNormalFrame(SphereOrreryDraw, 0.02f);
    EXPECT_EQ(CountInRect(picture, 0, 0, 320, 240, kWhite), 320 * 240);
    EXPECT_LT(CountInRect(picture, 320, 0, 640, 480, kWhite), 320 * 480);
    picture = DrawNormalFrame(SphereOrreryDraw, 0.02f);
    EXPECT_LT(CountInRect(picture, 0, 0, 320, 240, kWhite), 320 * 240);
}

TEST_F(SphereOrreryDrawTest, QuartersCloseOneByOneUntilTheLastFrameIsWhite) {
    for (int frame = 1; frame < 175; ++frame) {
        DrawNormalFrameOnly(SphereOrreryDraw, 1.0f);
    }
    // Clock 175: only the first closing quarter; whole-unit clocks never light the flicker.
    Picture picture = DrawNormalFrame(SphereOrreryDraw, 1.0f);
    EXPECT_EQ(CountInRect(picture, 0, 0, 320, 240, kWhite), 320 * 240);
    EXPECT_LT(CountInRect(picture, 320, 0, 640, 240, kWhite), 320 * 240);
    EXPECT_LT(CountInRect(picture, 0, 240, 640, 480, kWhite), 640 * 240);
    for (int frame = 176; frame < 200; ++frame) {
        DrawNormalFrameOnly(SphereOrreryDraw, 1.0f);
    }
    // Clock 200: three quarters; the bottom-left one waits for clock to pass 200.
    picture = DrawNormalFrame(SphereOrreryDraw, 1.0f);
    EXPECT_EQ(CountInRect(picture, 0, 0, 640, 240, kWhite), 640 * 240);
    EXPECT_EQ(CountInRect(picture, 320, 240, 640, 480, kWhite), 320 * 240);
    EXPECT_LT(CountInRect(picture, 0, 240, 320, 480, kWhite), 320 * 240);
    EXPECT_EQ(sceneCounter, 52);
    picture = DrawNormalFrame(SphereOrreryDraw, 1.0f);
    EXPECT_EQ(CountPixels(picture, kWhite), 640 * 480);
    EXPECT_EQ(sceneCounter, 53);
}

}  // namespace
