// Sphere burst: one-second visits, the jumping eye, the balls' spread, the shell, and drawing.
#include "scenes/sphere_burst.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(SphereBurstClock, VisitEndsStrictlyPast20AndStartsOver) {
    SphereBurstState state;
    state.clock = 20.0f;
    EXPECT_FALSE(SphereBurstVisitEnds(state));
    EXPECT_EQ(state.clock, 20.0f);
    state.clock = 20.01f;
    EXPECT_TRUE(SphereBurstVisitEnds(state));
    EXPECT_EQ(state.clock, 0.0f);

    // At one unit per frame every visit lasts 21 frames.
    for (int visit = 0; visit < 4; ++visit) {
        int frames = 0;
        do {
            state.clock += 1.0f;
            ++frames;
        } while (!SphereBurstVisitEnds(state));
        EXPECT_EQ(frames, 21);
    }
}

TEST(SphereBurstClock, NoiseFlickerCarriesOverVisits) {
    SphereBurstState state;
    EXPECT_EQ(SphereBurstNextNoise(state), 5);
    EXPECT_EQ(SphereBurstNextNoise(state), 6);
    state.clock = 21.0f;
    ASSERT_TRUE(SphereBurstVisitEnds(state));
    EXPECT_EQ(SphereBurstNextNoise(state), 7);
    EXPECT_EQ(SphereBurstNextNoise(state), 4);
}

TEST(SphereBurstCamera, EyeHoldsForEightUnitsThenJumps) {
    const Vec3 first = SphereBurstEye(0.0f);
    EXPECT_NEAR(first.x, 0.0f, 1e-5f);
    EXPECT_EQ(first.y, 50.0f);
    EXPECT_NEAR(first.z, -300.0f, 1e-4f);
    const Vec3 held = SphereBurstEye(7.99f);
    EXPECT_EQ(held.x, first.x);
    EXPECT_EQ(held.z, first.z);

    const Vec3 second = SphereBurstEye(8.0f);
    EXPECT_NEAR(second.x, 100.0f * std::sin(4.0 / 3.14159), 1e-3);
    EXPECT_NEAR(second.z, -300.0f * std::cos(4.0 / 3.14159), 1e-3);
    EXPECT_EQ(SphereBurstEye(15.99f).x, second.x);

    const Vec3 third = SphereBurstEye(16.0f);
    EXPECT_NEAR(third.x, 100.0f * std::sin(8.0 / 3.14159), 1e-3);
    EXPECT_EQ(third.y, 50.0f);
    EXPECT_NE(third.x, second.x);
}

TEST(SphereBurstMotion, BallsStartHalfOutPeakAndReturn) {
    EXPECT_NEAR(SphereBurstSpread(0.0f), 50.0f, 1e-4f);
    EXPECT_NEAR(SphereBurstSpread(4.934798f), 100.0f, 1e-3f);
    EXPECT_NEAR(SphereBurstSpread(9.869596f), 50.0f, 1e-3f);
    EXPECT_NEAR(SphereBurstSpread(14.804394f), 0.0f, 1e-3f);
    for (float clock = 0.0f; clock <= 21.0f; clock += 0.3f) {
        EXPECT_GE(SphereBurstSpread(clock), 0.0f);
        EXPECT_LE(SphereBurstSpread(clock), 100.0f);
    }
}

TEST(SphereBurstMotion, ShellStaysAHundredUnitsOut) {
    const Vec3 start = SphereBurstShellOffset(0.0f);
    EXPECT_NEAR(start.x, 0.0f, 1e-4f);
    EXPECT_NEAR(start.y, 0.0f, 1e-4f);
    EXPECT_NEAR(start.z, -100.0f, 1e-4f);
    for (float clock = 0.0f; clock <= 21.0f; clock += 0.37f) {
        const Vec3 v = SphereBurstShellOffset(clock);
        EXPECT_NEAR(std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z), 100.0f, 1e-3f) << clock;
        // x and y come from the same sine with opposite signs, in the ratio 50 : -80.
        if (std::fabs(v.x) > 1.0f) {
            EXPECT_NEAR(v.y / v.x, -1.6f, 1e-4f);
        }
    }
}

}  // namespace

// Drawing on the offscreen demo window.
namespace {

class SphereBurstDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        SphereBurstInit();
        saved = sphereBurst;
        sphereBurst = SphereBurstState{};
        sceneCounter = 41;
        frameStep = 1.0f;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        sphereBurst = saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        GlTest::TearDown();
    }
    SphereBurstState saved;
};

TEST_F(SphereBurstDrawTest, DrawsEveryFrameOfAVisitAndHandsOverOnce) {
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int frame = 1; frame <= 21; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        SphereBurstDraw();
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        ASSERT_EQ(depth, depthBefore) << "frame " << frame;
        if (frame == 1 || frame == 12) {
            // The wire spheres (and the floor, untextured or not) put ink on the white screen.
            EXPECT_GT(CountPixels(ReadPicture(), Rgb{0, 0, 0}), 500) << "frame " << frame;
        }
        EXPECT_EQ(sceneCounter, frame < 21 ? 41 : 42) << "frame " << frame;
    }
    EXPECT_EQ(sphereBurst.clock, 0.0f);
}

}  // namespace
