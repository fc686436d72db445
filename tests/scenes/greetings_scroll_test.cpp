// Greetings scroll's list, its rise, the camera sway and the hand-over, without GL.
#include "scenes/greetings_scroll.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(GreetingsScroll, ListStartsWithTheHeadingAboveEveryName) {
    EXPECT_STREQ(GreetingText(0), "Greetings:");
    EXPECT_STREQ(GreetingText(1), "marblequay");
    EXPECT_STREQ(GreetingText(4), "7prism");
    EXPECT_STREQ(GreetingText(9), "quimbelt");
    EXPECT_EQ(GreetingLineY(0.0f, 0), 0.5f);
    for (int line = 1; line < kGreetingLineCount; ++line) {
        EXPECT_LT(GreetingLineY(0.0f, line), GreetingLineY(0.0f, line - 1)) << line;
        EXPECT_EQ(GreetingLineY(0.0f, line), 0.5f - 2.0f * static_cast<float>(line)) << line;
    }
}

TEST(GreetingsScroll, ListRisesPointFifteenPerTimeUnit) {
    EXPECT_FLOAT_EQ(GreetingLineY(10.0f, 0), 2.0f);
    // The last name reaches the heading's starting height after 120 units.
    EXPECT_NEAR(GreetingLineY(120.0f, 9), 0.5f, 1e-5f);
}

TEST(GreetingsScroll, CameraSwaysAndNoiseFramesCycle) {
    GreetingsScrollInit();
    EXPECT_EQ(greetingsScroll.camera.eyeX, -2.0f);
    EXPECT_EQ(greetingsScroll.camera.targetX, 1.0f);
    const float quarterTurn = 3.14159265f / 2.0f * 6.28318f;
    GreetingsScrollAdvance(greetingsScroll, quarterTurn);
    EXPECT_NEAR(greetingsScroll.camera.eyeX, 3.0f, 1e-5f);
    EXPECT_EQ(greetingsScroll.camera.eyeZ, 5.0f);
    EXPECT_EQ(greetingsScroll.noiseIndex, 1);
    GreetingsScrollAdvance(greetingsScroll, 0.0f);
    GreetingsScrollAdvance(greetingsScroll, 0.0f);
    EXPECT_EQ(greetingsScroll.noiseIndex, 3);
    GreetingsScrollAdvance(greetingsScroll, 0.0f);
    EXPECT_EQ(greetingsScroll.noiseIndex, 0);
}

TEST(GreetingsScroll, HandsOverOnlyAfterClockPassesTwoHundred) {
    GreetingsScroll scene;
    sceneCounter = 50;
    scene.clock = 199.0f;
    GreetingsScrollAdvance(scene, 1.0f);
    GreetingsScrollFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 50);
    GreetingsScrollAdvance(scene, 0.01f);
    GreetingsScrollFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 51);
    ResetDemoGlobals();
}

}  // namespace

// Drawn on the offscreen window as the driver draws it.
#include "closing_scene_support.h"

namespace {

class GreetingsScrollDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        GreetingsScrollInit();
        sceneCounter = 50;
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

TEST_F(GreetingsScrollDrawTest, NamesRiseAboveTheTori) {
    auto topInk = [](const Picture& picture) {
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                if (PixelAt(picture, x, y) == Rgb{0, 0, 0}) {
                    return y;
                }
            }
        }
        return picture.height;
    };
    // Clock 0: the heading just above eye height and the tori seen edge on, all near the middle.
    const Picture start = DrawNormalFrame(GreetingsScrollDraw, 0.0f);
    EXPECT_GT(topInk(start), 150);
    EXPECT_LT(topInk(start), 240);
    // Clock 40: the heading has risen 6 units, 5 in front of the eye: near the top edge.
    const Picture later = DrawNormalFrame(GreetingsScrollDraw, 40.0f);
    EXPECT_LT(topInk(later), 100);
}

TEST_F(GreetingsScrollDrawTest, VisitHandsOverOnceAfterTwoHundredOneFrames) {
    for (int frame = 1; frame <= 200; ++frame) {
        DrawNormalFrameOnly(GreetingsScrollDraw, 1.0f);
        ASSERT_EQ(sceneCounter, 50) << "frame " << frame;
    }
    DrawNormalFrameOnly(GreetingsScrollDraw, 1.0f);
    EXPECT_EQ(sceneCounter, 51);
}

}  // namespace
