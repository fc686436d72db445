// Box fields: clock and drift, 7-unit visit limits, cube heights, eye, flicker, and drawing.
#include "scenes/box_fields.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

// Frames each visit lasts when every frame adds step, for the first visits.
std::vector<int> VisitLengths(float step, int visits) {
    BoxFieldsState state;
    std::vector<int> lengths;
    int frames = 0;
    while (static_cast<int>(lengths.size()) < visits && frames < 100000) {
        BoxFieldsTick(state, step);
        ++frames;
        if (BoxFieldsVisitEnds(state)) {
            lengths.push_back(frames);
            frames = 0;
        }
    }
    return lengths;
}

TEST(BoxFieldsClock, DriftGrowsByHalfOfEachStep) {
    BoxFieldsState state;
    BoxFieldsTick(state, 1.0f);
    BoxFieldsTick(state, 0.5f);
    EXPECT_FLOAT_EQ(state.clock, 1.5f);
    EXPECT_FLOAT_EQ(state.drift, 0.75f);
}

TEST(BoxFieldsClock, VisitsEndAtCumulativeMultiplesOfSevenWithoutReset) {
    // At one unit per frame: the first visit runs to clock 8, every later one 7 more frames.
    const std::vector<int> lengths = VisitLengths(1.0f, 15);
    ASSERT_EQ(lengths.size(), 15u);
    EXPECT_EQ(lengths[0], 8);
    for (size_t v = 1; v < lengths.size(); ++v) {
        EXPECT_EQ(lengths[v], 7) << "visit " << v + 1;
    }
}

TEST(BoxFieldsClock, LimitIsStrictAndCountsVisits) {
    BoxFieldsState state;
    state.clock = 7.0f;
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 0);
    state.clock = 7.001f;
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 1);
    EXPECT_EQ(state.clock, 7.001f);  // not reset
    state.clock = 14.0f;
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
}

TEST(BoxFieldsClock, StepPastTwoLimitsAdvancesOnlyOncePerFrame) {
    BoxFieldsState state;
    BoxFieldsTick(state, 15.0f);
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 1);
    // The next visit's frame is already past its limit (15 > 14) and ends at once.
    BoxFieldsTick(state, 0.0f);
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 2);
    BoxFieldsTick(state, 0.0f);
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
}

TEST(BoxFieldsWave, ColumnZeroHasNoHeightOthersFollowTheWave) {
    float height = 123.0f;
    for (int32_t row = 0; row < 5; ++row) {
        EXPECT_FALSE(BoxFieldsCubeHeight(3.0f, row, 0, height));
    }
    // Row 0 at clock 0: no phase at all.
    for (int32_t column = 1; column < 5; ++column) {
        ASSERT_TRUE(BoxFieldsCubeHeight(0.0f, 0, column, height));
        EXPECT_EQ(height, 0.0f);
    }
    // Column 4 puts a quarter turn between rows; column 2 half a turn.
    ASSERT_TRUE(BoxFieldsCubeHeight(0.0f, 1, 4, height));
    EXPECT_NEAR(height, 40.0f, 1e-4f);
    ASSERT_TRUE(BoxFieldsCubeHeight(0.0f, 3, 4, height));
    EXPECT_NEAR(height, -40.0f, 1e-4f);
    ASSERT_TRUE(BoxFieldsCubeHeight(0.0f, 1, 2, height));
    EXPECT_NEAR(height, 0.0f, 1e-3f);
    // The wave travels at 0.2 radians per unit of clock.
    ASSERT_TRUE(BoxFieldsCubeHeight(7.853982f, 0, 1, height));
    EXPECT_NEAR(height, 40.0f, 1e-4f);
    for (float clock = 0.0f; clock < 80.0f; clock += 0.7f) {
        for (int32_t row = 0; row < 5; ++row) {
            for (int32_t column = 1; column < 5; ++column) {
                ASSERT_TRUE(BoxFieldsCubeHeight(clock, row, column, height));
                ASSERT_TRUE(std::isfinite(height));
                ASSERT_LE(std::fabs(height), 40.0f);
            }
        }
    }
}

TEST(BoxFieldsCamera, EyeCirclesAtHeight100DrivenByClockAndDrift) {
    BoxFieldsState state;
    Vec3 eye = BoxFieldsEye(state);
    EXPECT_NEAR(eye.x, 0.0f, 1e-4f);
    EXPECT_EQ(eye.y, 100.0f);
    EXPECT_NEAR(eye.z, -500.0f, 1e-4f);
    // clock + drift = 1.5 * step: a quarter turn of the 6.28318 divisor.
    BoxFieldsTick(state, 6.28318f * 3.14159265f / 3.0f);
    eye = BoxFieldsEye(state);
    EXPECT_NEAR(eye.x, 300.0f, 1e-2f);
    EXPECT_EQ(eye.y, 100.0f);
    EXPECT_NEAR(eye.z, 0.0f, 1e-2f);
}

TEST(BoxFieldsFlicker, EntriesCycle5674) {
    BoxFieldsState state;
    const int expected[] = {5, 6, 7, 4, 5};
    for (int entry : expected) {
        EXPECT_EQ(BoxFieldsNextNoise(state), entry);
    }
}

}  // namespace

// Drawing on the offscreen demo window.
namespace {

class BoxFieldsDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (smallFont.base == 0) {
            CreateToolkitStartupResources();
        }
        BoxFieldsInit();
        saved = boxFields;
        boxFields = BoxFieldsState{};
        sceneCounter = 11;
        frameStep = 1.0f;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        boxFields = saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        GlTest::TearDown();
    }
    BoxFieldsState saved;
};

TEST_F(BoxFieldsDrawTest, LeavesDepthTestOffKeepsTheStackAndAdvancesOncePerVisit) {
    glEnable(GL_DEPTH_TEST);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int frame = 1; frame <= 7; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        BoxFieldsDraw();
        EXPECT_EQ(sceneCounter, 11) << "frame " << frame;
    }
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);

    // Frame 8 passes clock 7: one advance; the next frames belong to the next visit.
    glLoadIdentity();
    BoxFieldsDraw();
    EXPECT_EQ(sceneCounter, 12);
    glLoadIdentity();
    BoxFieldsDraw();
    EXPECT_EQ(sceneCounter, 12);
    EXPECT_EQ(boxFields.visits, 1);
}

TEST_F(BoxFieldsDrawTest, CubesAndCaptionAreDrawn) {
    boxFields.clock = 30.0f;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    BoxFieldsDraw();
    const Picture picture = ReadPicture();
    int32_t captionInk = 0;
    int32_t elsewhere = 0;
    for (int32_t y = 0; y < 480; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            const bool dark = PixelAt(picture, x, y) == Rgb{0, 0, 0};
            if (y < 48 && x < 520) {
                captionInk += dark ? 1 : 0;
            } else {
                elsewhere += dark ? 1 : 0;
            }
        }
    }
    EXPECT_GT(captionInk, 300);
    EXPECT_GT(elsewhere, 500);  // wire outlines and (if filled) the static on the solid cubes
}

}  // namespace
