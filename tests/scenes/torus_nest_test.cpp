// Torus nest: one-second visits, the swaying eye, the rings' spins, and drawing.
#include "scenes/torus_nest.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(TorusNestClock, VisitEndsStrictlyPast20AndStartsOver) {
    TorusNestState state;
    state.clock = 20.0f;
    EXPECT_FALSE(TorusNestVisitEnds(state));
    state.clock = 20.5f;
    EXPECT_TRUE(TorusNestVisitEnds(state));
    EXPECT_EQ(state.clock, 0.0f);
    for (int visit = 0; visit < 5; ++visit) {
        int frames = 0;
        do {
            state.clock += 1.0f;
            ++frames;
        } while (!TorusNestVisitEnds(state));
        EXPECT_EQ(frames, 21);
    }
}

TEST(TorusNestClock, NoiseFlickerCarriesOverVisits) {
    TorusNestState state;
    const int expected[] = {5, 6, 7, 4, 5, 6};
    for (int k = 0; k < 6; ++k) {
        if (k == 3) {
            state.clock = 25.0f;
            ASSERT_TRUE(TorusNestVisitEnds(state));
        }
        EXPECT_EQ(TorusNestNextNoise(state), expected[k]);
    }
}

TEST(TorusNestCamera, EyeStartsAt50050AndSwaysOutOfStep) {
    const Vec3 start = TorusNestEye(0.0f);
    EXPECT_EQ(start.x, 50.0f);
    EXPECT_EQ(start.y, 0.0f);
    EXPECT_EQ(start.z, 50.0f);
    const Vec3 quarter = TorusNestEye(9.8696f);  // a quarter turn of the z sway
    EXPECT_NEAR(quarter.z, 100.0f, 1e-3f);
    EXPECT_NEAR(quarter.x, 100.0f, 1e-2f);
    // The two divisors differ slightly, so far into the run x and z drift apart.
    const Vec3 late = TorusNestEye(3000.0f);
    EXPECT_GT(std::fabs(late.x - late.z), 0.5f);
    for (float clock = 0.0f; clock < 21.0f; clock += 0.5f) {
        const Vec3 eye = TorusNestEye(clock);
        EXPECT_GE(eye.x, 0.0f);
        EXPECT_LE(eye.x, 100.0f);
        EXPECT_EQ(eye.y, 0.0f);
    }
}

TEST(TorusNestRings, InnerTurnsAtTwoOuterAtEightOddOnesSolid) {
    EXPECT_EQ(TorusNestRingAngle(0.0f, 3), 0.0f);
    EXPECT_EQ(TorusNestRingAngle(1.0f, 0), 2.0f);
    EXPECT_EQ(TorusNestRingAngle(1.0f, 6), 8.0f);
    EXPECT_EQ(TorusNestRingAngle(10.0f, 3), 50.0f);
    for (int32_t ring = 0; ring < kTorusNestRings; ++ring) {
        EXPECT_EQ(TorusNestRingIsSolid(ring), ring == 1 || ring == 3 || ring == 5) << ring;
    }
}

}  // namespace

// Drawing on the offscreen demo window.
namespace {

class TorusNestDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        TorusNestInit();
        saved = torusNest;
        torusNest = TorusNestState{};
        sceneCounter = 48;
        frameStep = 1.0f;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        torusNest = saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        GlTest::TearDown();
    }
    TorusNestState saved;
};

TEST_F(TorusNestDrawTest, LastVisitHandsOverToTheWordSpheresAfter21Frames) {
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int frame = 1; frame <= 21; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        TorusNestDraw();
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        ASSERT_EQ(depth, depthBefore) << "frame " << frame;
        if (frame == 1) {
            EXPECT_GT(CountPixels(ReadPicture(), Rgb{0, 0, 0}), 500);
        }
        EXPECT_EQ(sceneCounter, frame < 21 ? 48 : 49) << "frame " << frame;
    }
}

}  // namespace
