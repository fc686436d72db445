// Torus nest: one-second visits, swaying eye, ring spins; drawn visits of it and the burst.
// burst.
#include "scenes/torus_nest.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "gl_test.h"
#include "scenes/scenes.h"
#include "scenes/sphere_burst.h"

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

class SphereBurstTorusNestDrawTest : public GlTest {};

// Scenes 41..48 alternate the sphere burst (odd) and the torus nest; the last nest visit hands
// over to the word spheres.
TEST_F(SphereBurstTorusNestDrawTest, EveryFrameOfAVisitDrawsAndTheVisitHandsOverOnce) {
    SphereBurstInit();
    TorusNestInit();
    sphereBurst = SphereBurstState{};
    torusNest = TorusNestState{};
    FrameInput input;
    input.frameStep = 1.0f;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    for (int32_t scene : {41, 48}) {
        for (int frame = 1; frame <= 21; ++frame) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            const bool over = (scene == 41 ? SphereBurstDraw : TorusNestDraw)(input);
            GLint depth = 0;
            glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
            ASSERT_EQ(depth, depthBefore) << "scene " << scene << " frame " << frame;
            if (frame == 1 || frame == 12) {  // wire shapes put ink on the white screen
                EXPECT_GT(CountPixels(ReadPicture(), Rgb{0, 0, 0}), 500) << scene << " " << frame;
            }
            EXPECT_EQ(over, frame == 21) << scene << " " << frame;
        }
    }
    EXPECT_EQ(sphereBurst.clock, 0.0f);
    EXPECT_EQ(torusNest.clock, 0.0f);
}

}  // namespace
