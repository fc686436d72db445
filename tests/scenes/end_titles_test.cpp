// End titles' camera swings, credit slide, cell covers, glyph noise and the end, without GL.
#include "scenes/end_titles.h"

#include <gtest/gtest.h>

#include <cstring>

#include "scenes/scenes.h"
#include "shell/demo_globals.h"
#include "shell/random.h"

namespace {

int CountSet(const CellCover& cover) {
    int set = 0;
    for (const uint8_t cell : cover.fill) {
        set += cell != 0 ? 1 : 0;
    }
    return set;
}

TEST(EndTitles, CameraSwingsInToTheOriginThenOutAfterTwoHundred) {
    EndTitlesInit();
    EndTitles& scene = endTitles;
    EXPECT_EQ(scene.camera.targetX, 200.0f);
    for (int frame = 1; frame <= 50; ++frame) {
        EndTitlesAdvance(scene, 1.0f);
    }
    EXPECT_EQ(scene.camera.targetX, 0.0f);
    EXPECT_EQ(scene.camera.targetY, 0.0f);
    EXPECT_EQ(scene.camera.targetZ, 0.0f);
    for (int frame = 51; frame <= 200; ++frame) {
        EndTitlesAdvance(scene, 1.0f);
    }
    EXPECT_EQ(scene.camera.targetX, 0.0f) << "still on the group at 200";
    EXPECT_EQ(scene.camera.eyeZ, 110.0f);
    for (int frame = 201; frame <= 400; ++frame) {
        EndTitlesAdvance(scene, 1.0f);
    }
    // 75 units of swing out until target x reaches 300.
    EXPECT_EQ(scene.camera.targetX, 300.0f);
    EXPECT_EQ(scene.camera.targetY, 150.0f);
    EXPECT_EQ(scene.camera.targetZ, 1200.0f);
    EXPECT_EQ(scene.camera.eyeZ, 335.0f);
    EXPECT_EQ(scene.camera.eyeY, 50.0f);
}

TEST(EndTitles, SlideDeceleratesAndStopsOnceNotPositive) {
    EndTitles scene;
    EndTitlesSlide(scene, 1.0f);
    EXPECT_FLOAT_EQ(scene.slideSpeed, 0.28f);
    EXPECT_FLOAT_EQ(scene.slideOffset, 2.72f);
    float last = scene.slideOffset;
    int frames = 1;
    while (scene.slideOffset > 0.0f) {
        EndTitlesSlide(scene, 1.0f);
        ++frames;
        ASSERT_LT(scene.slideOffset, last);
        last = scene.slideOffset;
        ASSERT_LT(frames, 1000);
    }
    // It may end a little below zero and is not clamped.
    EXPECT_LE(scene.slideOffset, 0.0f);
    EXPECT_GT(scene.slideOffset, -0.3f);
    EXPECT_LE(scene.slideSpeed, 0.05f);
    EXPECT_GT(scene.slideSpeed, 0.02f);
    const EndTitles stopped = scene;
    EndTitlesSlide(scene, 1.0f);
    EXPECT_EQ(scene.slideOffset, stopped.slideOffset);
    EXPECT_EQ(scene.slideSpeed, stopped.slideSpeed);
}

TEST(EndTitles, CoverSetsACellEachTimeTheTimerPassesThree) {
    CellCover cover;
    CellCoverStep(cover, 1.0f);
    CellCoverStep(cover, 1.0f);
    CellCoverStep(cover, 1.0f);
    EXPECT_EQ(cover.count, 0) << "a timer of exactly 3 has not passed 3";
    CellCoverStep(cover, 1.0f);
    EXPECT_EQ(cover.count, 1);
    EXPECT_EQ(cover.fill[0], 1);
    EXPECT_EQ(cover.timer, 0.0f);
    EXPECT_EQ(CountSet(cover), 1);
}

TEST(EndTitles, CoversFillTwentyFourCellsAndNeverTheLast) {
    EndTitlesInit();
    EndTitles& scene = endTitles;
    int blackSeen = 0;
    while (scene.clock < 580.0f) {
        EndTitlesAdvance(scene, 1.0f);
        EndTitlesCover(scene, 1.0f);
        EXPECT_EQ(CountSet(scene.black), std::min(scene.black.count, 24));
        EXPECT_EQ(CountSet(scene.white), std::min(scene.white.count, 24));
        if (scene.clock <= 330.0f) {
            EXPECT_EQ(scene.black.count, 0);
        }
        if (scene.clock <= 350.0f) {
            EXPECT_EQ(scene.white.count, 0);
        }
        if (scene.black.count > blackSeen) {
            // Cells are set in number order.
            EXPECT_EQ(scene.black.fill[std::min(scene.black.count, 24) - 1], 1);
            blackSeen = scene.black.count;
        }
    }
    EXPECT_GT(scene.black.count, 24);
    EXPECT_GT(scene.white.count, 24);
    EXPECT_EQ(CountSet(scene.black), 24);
    EXPECT_EQ(CountSet(scene.white), 24);
    EXPECT_EQ(scene.black.fill[24], 0);
    EXPECT_EQ(scene.white.fill[24], 0);
}

TEST(EndTitles, GlyphNoiseTakesTenNumbersAndStopsAtAZeroByte) {
    ResetRand();
    // Find a start in the sequence whose ten bytes hold a zero, to see the string end early.
    int skip = 0;
    int zeroAt = -1;
    for (; skip < 100000 && zeroAt < 0; ++skip) {
        ResetRand();
        for (int i = 0; i < skip; ++i) {
            Rand();
        }
        for (int i = 0; i < 10; ++i) {
            if (Rand() % 255 == 0) {
                zeroAt = i;
                break;
            }
        }
    }
    ASSERT_GE(zeroAt, 0);
    --skip;
    ResetRand();
    for (int i = 0; i < skip; ++i) {
        Rand();
    }
    char expected[10];
    const uint32_t start = RandState();
    for (char& byte : expected) {
        byte = static_cast<char>(Rand() % 255);
    }
    const uint32_t afterTen = RandState();

    ResetRand();
    while (RandState() != start) {
        Rand();
    }
    char text[11];
    GlyphNoise(text);
    EXPECT_EQ(RandState(), afterTen) << "all ten numbers are drawn even after a zero byte";
    EXPECT_EQ(std::strlen(text), static_cast<size_t>(zeroAt));
    EXPECT_EQ(std::memcmp(text, expected, 10), 0);
    EXPECT_EQ(text[10], '\0');
}

TEST(EndTitles, AsksToQuitOnlyAfterFiveHundredEighty) {
    ResetDemoGlobals();
    EndTitles scene;
    scene.clock = 580.0f;
    EndTitlesFinishFrame(scene);
    EXPECT_FALSE(quitRequested);
    scene.clock = 580.25f;
    EndTitlesFinishFrame(scene);
    EXPECT_TRUE(quitRequested);
    ResetDemoGlobals();
}

}  // namespace

// Drawn on the offscreen window as the driver draws it.
#include <GL/gl.h>

#include "closing_scene_support.h"

namespace {

class EndTitlesDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        EndTitlesInit();
        sceneCounter = 53;
    }
    void TearDown() override {
        glDisable(GL_DEPTH_TEST);
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

TEST_F(EndTitlesDrawTest, DepthTestIsOnUntilTheCoverSquaresSwitchItOff) {
    glDisable(GL_DEPTH_TEST);
    DrawNormalFrameOnly(EndTitlesDraw, 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // The first black cell, and with it the first cover square, comes at clock 334.
    endTitles.clock = 330.0f;
    for (int frame = 0; frame < 3; ++frame) {
        DrawNormalFrameOnly(EndTitlesDraw, 1.0f);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
    DrawNormalFrameOnly(EndTitlesDraw, 1.0f);
    EXPECT_EQ(endTitles.black.fill[0], 1);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
}

TEST_F(EndTitlesDrawTest, RunEndsAfterClockPassesFiveHundredEightyWhiteButTheLastCell) {
    // Two units per frame to keep the run short: clock 580 on frame 290.
    for (int frame = 1; frame < 290; ++frame) {
        DrawNormalFrameOnly(EndTitlesDraw, 2.0f);
    }
    Picture picture = DrawNormalFrame(EndTitlesDraw, 2.0f);
    EXPECT_FALSE(quitRequested) << "clock exactly 580";
    picture = DrawNormalFrame(EndTitlesDraw, 2.0f);
    EXPECT_TRUE(quitRequested);
    EXPECT_EQ(sceneCounter, 53);
    const Rgb white{255, 255, 255};
    EXPECT_EQ(CountInRect(picture, 0, 0, 512, 480, white), 512 * 480);
    EXPECT_EQ(CountInRect(picture, 512, 0, 640, 384, white), 128 * 384);
}

}  // namespace
