// Wobbling core's accelerating pull-outs, shell steps, word timing and hand-over, without GL.
#include "scenes/wobbling_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(WobblingCore, CameraMovesBackAndUpBySpeedTimesStep) {
    WobblingCoreInit();
    WobblingCoreAdvance(wobblingCore, 2.0f);
    EXPECT_FLOAT_EQ(wobblingCore.speed, 1.1f);
    EXPECT_EQ(wobblingCore.clock, 2.0f);
    EXPECT_FLOAT_EQ(wobblingCore.camera.eyeZ, 32.2f);
    EXPECT_FLOAT_EQ(wobblingCore.camera.eyeY, 11.1f);
}

TEST(WobblingCore, PullOutsReachTwentyFurtherEachTimeAndComeFaster) {
    WobblingCoreInit();
    std::vector<float> farthest;  // eye z on each frame that snaps back
    std::vector<int> frames;
    int frame = 0;
    for (; frame < 200; ++frame) {
        WobblingCoreAdvance(wobblingCore, 1.0f);
        const float eyeZ = wobblingCore.camera.eyeZ;
        const int before = wobblingCore.pullOuts;
        WobblingCoreSnapBack(wobblingCore);
        if (wobblingCore.pullOuts != before) {
            EXPECT_EQ(wobblingCore.camera.eyeZ, 30.0f);
            EXPECT_EQ(wobblingCore.camera.eyeY, 10.0f);
            farthest.push_back(eyeZ);
            frames.push_back(frame);
        } else {
            EXPECT_EQ(wobblingCore.camera.eyeZ, eyeZ);
        }
    }
    ASSERT_GE(farthest.size(), 3u);
    for (size_t i = 0; i < farthest.size(); ++i) {
        const float limit = 100.0f + 20.0f * static_cast<float>(i);
        EXPECT_GT(farthest[i], limit) << i;
        EXPECT_LT(farthest[i], limit + 12.0f) << i;  // one frame's move at most past it
    }
    for (size_t i = 2; i < frames.size(); ++i) {
        EXPECT_LT(frames[i] - frames[i - 1], frames[1] - frames[0]) << i;
    }
}

TEST(WobblingCore, SnapBackIsStrict) {
    WobblingCore scene;
    scene.camera.eyeZ = 100.0f;
    WobblingCoreSnapBack(scene);
    EXPECT_EQ(scene.pullOuts, 0);
    scene.camera.eyeZ = 100.01f;
    WobblingCoreSnapBack(scene);
    EXPECT_EQ(scene.pullOuts, 1);
    scene.camera.eyeZ = 120.0f;
    WobblingCoreSnapBack(scene);
    EXPECT_EQ(scene.pullOuts, 1);
}

TEST(WobblingCore, ShellsTurnInThirtyDegreeSteps) {
    EXPECT_EQ(WobblingCoreShellAngle(0.0f), 0.0f);
    EXPECT_EQ(WobblingCoreShellAngle(9.99f), 0.0f);
    EXPECT_EQ(WobblingCoreShellAngle(10.0f), 30.0f);
    EXPECT_EQ(WobblingCoreShellAngle(25.5f), 60.0f);
    EXPECT_EQ(WobblingCoreShellAngle(199.9f), 570.0f);
}

TEST(WobblingCore, WordsChangeAtSixtyOneTwentyAndOneEighty) {
    EXPECT_EQ(WobblingCoreWords(0.0f), 0);
    EXPECT_EQ(WobblingCoreWords(59.99f), 0);
    EXPECT_EQ(WobblingCoreWords(60.0f), 1);
    EXPECT_EQ(WobblingCoreWords(119.99f), 1);
    EXPECT_EQ(WobblingCoreWords(120.0f), 2);
    EXPECT_EQ(WobblingCoreWords(179.99f), 2);
    EXPECT_EQ(WobblingCoreWords(180.0f), -1);
    EXPECT_EQ(WobblingCoreWords(200.0f), -1);
}

TEST(WobblingCore, TrembleIsATenthOfASine) {
    EXPECT_EQ(WobblingCoreTremble(0.0f), 0.0f);
    const float clock = 0.15707963f;  // 10 * clock is a quarter turn
    EXPECT_NEAR(WobblingCoreTremble(clock), 0.1f, 1e-7f);
    for (float c = 0.0f; c < 200.0f; c += 0.37f) {
        EXPECT_LE(std::fabs(WobblingCoreTremble(c)), 0.1f);
    }
}

TEST(WobblingCore, HandsOverOnlyAfterClockPassesTwoHundred) {
    WobblingCore scene;
    sceneCounter = 51;
    scene.clock = 200.0f;
    WobblingCoreFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 51);
    scene.clock = 200.5f;
    WobblingCoreFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 52);
    ResetDemoGlobals();
}

}  // namespace

// Drawn on the offscreen window as the driver draws it.
#include "closing_scene_support.h"

namespace {

class WobblingCoreDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        WobblingCoreInit();
        sceneCounter = 51;
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

TEST_F(WobblingCoreDrawTest, WaveNeverAccumulatesBetweenFrames) {
    // Two visits of the same clocks give the same pictures only if the core's vertices are back
    // in place after every frame and the camera and shells follow the clock alone.
    std::vector<Picture> first;
    for (int frame = 0; frame < 12; ++frame) {
        first.push_back(DrawNormalFrame(WobblingCoreDraw, 1.5f));
    }
    WobblingCoreInit();
    for (int frame = 0; frame < 12; ++frame) {
        const Picture again = DrawNormalFrame(WobblingCoreDraw, 1.5f);
        EXPECT_EQ(again.rgb, first[frame].rgb) << "frame " << frame;
    }
}

TEST_F(WobblingCoreDrawTest, VisitHandsOverOnceAfterTwoHundredOneFrames) {
    for (int frame = 1; frame <= 200; ++frame) {
        DrawNormalFrameOnly(WobblingCoreDraw, 1.0f);
        ASSERT_EQ(sceneCounter, 51) << "frame " << frame;
    }
    DrawNormalFrameOnly(WobblingCoreDraw, 1.0f);
    EXPECT_EQ(sceneCounter, 52);
    EXPECT_GE(wobblingCore.pullOuts, 3);
}

}  // namespace
