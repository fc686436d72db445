// Torus nest: one-second visits, the swaying eye, the rings' spins, and the hand-over to scene 49.
#include "scenes/torus_nest.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

TEST(TorusNestClock, VisitEndsStrictlyPast20AndStartsOverWhileTheNoiseCarriesOn) {
    TorusNestState state;
    for (int entry : {5, 6, 7}) {
        EXPECT_EQ(TorusNestNextNoise(state), entry);
    }
    state.clock = 20.0f;
    EXPECT_FALSE(TorusNestVisitEnds(state));
    state.clock = 20.5f;
    EXPECT_TRUE(TorusNestVisitEnds(state));
    EXPECT_EQ(state.clock, 0.0f);
    EXPECT_EQ(TorusNestNextNoise(state), 4);
}

TEST(TorusNestMotion, EyeSwaysOutOfStepAndOddRingsAreSolid) {
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
    EXPECT_EQ(TorusNestRingAngle(1.0f, 0), 2.0f);
    EXPECT_EQ(TorusNestRingAngle(1.0f, 6), 8.0f);
    EXPECT_EQ(TorusNestRingAngle(10.0f, 3), 50.0f);
    for (int32_t ring = 0; ring < kTorusNestRings; ++ring) {
        EXPECT_EQ(TorusNestRingIsSolid(ring), ring % 2 == 1) << ring;
    }
}

class TorusNestDrawTest : public GlTest {};

TEST_F(TorusNestDrawTest, LastVisitHandsOverToTheWordSpheresAfter21Frames) {
    TorusNestInit();
    torusNest = TorusNestState{};
    sceneCounter = 48;
    frameStep = 1.0f;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int frame = 1; frame <= 21; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        TorusNestDraw();
        GLint depth = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
        ASSERT_EQ(depth, depthBefore) << "frame " << frame;
        EXPECT_EQ(sceneCounter, frame < 21 ? 48 : 49) << "frame " << frame;
    }
    sceneCounter = 0;
    frameStep = 0.0f;
}

}  // namespace
