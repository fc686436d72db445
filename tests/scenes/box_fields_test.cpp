// Box fields: clock and drift, 7-unit visit limits, cube heights, eye, flicker, and GL state left.
#include "scenes/box_fields.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"

namespace {

TEST(BoxFieldsClock, VisitsEndStrictlyAtCumulativeMultiplesOfSevenWithoutReset) {
    BoxFieldsState state;
    BoxFieldsTick(state, 0.5f);
    EXPECT_FLOAT_EQ(state.drift, 0.25f);  // half of each step
    state.clock = 7.0f;
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
    state.clock = 7.001f;
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 1);
    EXPECT_EQ(state.clock, 7.001f);  // not reset

    // At one unit per frame: the first visit runs to clock 8, every later one 7 more frames.
    state = BoxFieldsState{};
    for (int visit = 1; visit <= 15; ++visit) {
        int frames = 0;
        do {
            BoxFieldsTick(state, 1.0f);
            ++frames;
        } while (!BoxFieldsVisitEnds(state) && frames < 100);
        EXPECT_EQ(frames, visit == 1 ? 8 : 7) << "visit " << visit;
    }
    // A step past two limits ends one visit per frame.
    state = BoxFieldsState{};
    BoxFieldsTick(state, 15.0f);
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
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
    // {clock, row, column, height}: row 0 at clock 0 has no phase; column 4 puts a quarter turn
    // between rows, column 2 half a turn; the wave travels at 0.2 radians per unit.
    const float cases[][4] = {{0.0f, 0, 3, 0.0f},
                              {0.0f, 1, 4, 40.0f},
                              {0.0f, 3, 4, -40.0f},
                              {0.0f, 1, 2, 0.0f},
                              {7.853982f, 0, 1, 40.0f}};
    for (const auto& c : cases) {
        ASSERT_TRUE(BoxFieldsCubeHeight(c[0], int32_t(c[1]), int32_t(c[2]), height));
        EXPECT_NEAR(height, c[3], 1e-3f) << c[0] << " " << c[1] << " " << c[2];
    }
    for (float clock = 0.0f; clock < 80.0f; clock += 0.7f) {
        for (int32_t cell = 0; cell < 20; ++cell) {
            ASSERT_TRUE(BoxFieldsCubeHeight(clock, cell / 4, cell % 4 + 1, height));
            ASSERT_LE(std::fabs(height), 40.0f);  // also false for NaN
        }
    }
}

TEST(BoxFieldsCamera, EyeCirclesAtHeight100DrivenByClockAndDriftAndNoiseCycles) {
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
    for (int entry : {5, 6, 7, 4, 5}) {
        EXPECT_EQ(BoxFieldsNextNoise(state), entry);
    }
}

class BoxFieldsDrawTest : public GlTest {};

TEST_F(BoxFieldsDrawTest, LeavesDepthTestOffKeepsTheStackAndAdvancesOncePerVisit) {
    if (smallFont.base == 0) {
        CreateToolkitStartupResources();
    }
    BoxFieldsInit();
    const BoxFieldsState saved = boxFields;
    boxFields = BoxFieldsState{};
    FrameInput input;
    input.frameStep = 1.0f;
    glEnable(GL_DEPTH_TEST);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int frame = 1; frame <= 9; ++frame) {  // frame 8 passes clock 7
        glLoadIdentity();
        EXPECT_EQ(BoxFieldsDraw(input), frame == 8) << "frame " << frame;
    }
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    EXPECT_EQ(boxFields.visits, 1);
    boxFields = saved;
}

}  // namespace
