// End titles' credit slide, cell covers, glyph noise and the end, and the depth test on screen.
#include "scenes/end_titles.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "closing_scene_support.h"
#include "core/random.h"
#include "scenes/scenes.h"

namespace {

int CountSet(const CellCover& cover) {
    return static_cast<int>(std::count(std::begin(cover.fill), std::end(cover.fill), 1));
}

TEST(EndTitles, SlideDeceleratesAndStopsOnceNotPositive) {
    EndTitles scene;
    EndTitlesSlide(scene, 1.0f);
    EXPECT_FLOAT_EQ(scene.slideSpeed, 0.28f);
    EXPECT_FLOAT_EQ(scene.slideOffset, 2.72f);
    for (int frames = 1; scene.slideOffset > 0.0f; ++frames) {
        const float last = scene.slideOffset;
        EndTitlesSlide(scene, 1.0f);
        ASSERT_LT(scene.slideOffset, last);
        ASSERT_LT(frames, 1000);
    }
    // It may end a little below zero and is not clamped.
    EXPECT_GT(scene.slideOffset, -0.3f);
    EXPECT_LE(scene.slideSpeed, 0.05f);
    EXPECT_GT(scene.slideSpeed, 0.02f);
    const EndTitles stopped = scene;
    EndTitlesSlide(scene, 1.0f);
    EXPECT_EQ(scene.slideOffset, stopped.slideOffset);
    EXPECT_EQ(scene.slideSpeed, stopped.slideSpeed);
}

TEST(EndTitles, CoversFillTwentyFourCellsInOrderAndNeverTheLast) {
    CellCover cover;
    for (int frame = 0; frame < 3; ++frame) {
        CellCoverStep(cover, 1.0f);
    }
    EXPECT_EQ(cover.count, 0) << "a timer of exactly 3 has not passed 3";
    CellCoverStep(cover, 1.0f);
    EXPECT_EQ(cover.count, 1);
    EXPECT_EQ(cover.fill[0], 1);
    EXPECT_EQ(cover.timer, 0.0f);

    EndTitlesInit();
    EndTitles& scene = endTitles;
    while (scene.clock < 580.0f) {
        EndTitlesAdvance(scene, 1.0f);
        EndTitlesCover(scene, 1.0f);
        for (const CellCover* c : {&scene.black, &scene.white}) {
            // Cells are set in number order: exactly the first min(count, 24).
            const int set = std::min(c->count, 24);
            ASSERT_EQ(CountSet(*c), set) << "clock " << scene.clock;
            ASSERT_TRUE(set == 0 || c->fill[set - 1] == 1) << "clock " << scene.clock;
        }
        EXPECT_TRUE(scene.clock > 330.0f || scene.black.count == 0) << scene.clock;
        EXPECT_TRUE(scene.clock > 350.0f || scene.white.count == 0) << scene.clock;
    }
    EXPECT_GT(scene.black.count, 24);
    EXPECT_GT(scene.white.count, 24);
    EXPECT_EQ(scene.black.fill[24], 0);
    EXPECT_EQ(scene.white.fill[24], 0);
    ExpectStrictHandOver<EndTitles>(EndTitlesFinishFrame, 580.0f);
}

TEST(EndTitles, GlyphNoiseDrawsTenNumbersAndStopsAtAZeroByte) {
    ResetRand();
    char text[11];
    int calls = 0;  // strings before the first one cut short by a zero byte
    for (GlyphNoise(text); std::strlen(text) == 10 && calls < 1000; GlyphNoise(text)) {
        ++calls;
    }
    ASSERT_LT(calls, 1000);
    const uint32_t after = RandState();
    ResetRand();
    for (int i = 0; i < 10 * calls; ++i) {
        Rand();
    }
    char expected[10];
    for (char& byte : expected) {
        byte = static_cast<char>(Rand() % 255);
    }
    EXPECT_EQ(RandState(), after) << "all ten numbers are drawn, also after a zero byte";
    EXPECT_EQ(std::memcmp(text, expected, 10), 0);
    EXPECT_EQ(text[10], '\0');
}

using EndTitlesDrawTest = ClosingSceneTest<EndTitlesInit>;

TEST_F(EndTitlesDrawTest, DepthTestIsOnUntilTheCoverSquaresSwitchItOff) {
    glDisable(GL_DEPTH_TEST);
    DrawNormalFrame(EndTitlesDraw, 1.0f, false);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    // The first black cell, and with it the first cover square, comes at clock 334.
    endTitles.clock = 330.0f;
    for (int frame = 0; frame < 3; ++frame) {
        DrawNormalFrame(EndTitlesDraw, 1.0f, false);
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    }
    DrawNormalFrame(EndTitlesDraw, 1.0f, false);
    EXPECT_EQ(endTitles.black.fill[0], 1);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glDisable(GL_DEPTH_TEST);
}

}  // namespace
