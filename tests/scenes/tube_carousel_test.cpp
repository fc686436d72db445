// Tube carousel: clock and visit rule, orbiting camera, the blocky phase, and drawn frames read
// back from the software renderer.
#include "scenes/tube_carousel.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "block_pattern.h"
#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "scenes/tumbling_rings.h"
#include "shell/demo_globals.h"

namespace {

TEST(TubeCarouselClock, FiveVisitsShortenAndPutTheClockBack) {
    TubeCarouselState state;
    sceneCounter = 2;
    const int expectedFrames[5] = {101, 41, 31, 21, 11};
    for (int visit = 0; visit < 5; ++visit) {
        int frames = 0;
        bool advanced = false;
        while (!advanced && frames < 1000) {
            state.clock += 1.0f;
            advanced = TubeCarouselAdvance(state);
            ++frames;
        }
        EXPECT_EQ(frames, expectedFrames[visit]) << "visit " << visit + 1;
        EXPECT_EQ(state.visits, visit + 1);
        EXPECT_EQ(state.clock, 10.0f * (visit + 1) + 50.0f);
        EXPECT_EQ(sceneCounter, 3 + 2 * visit);
        sceneCounter += 1;
    }
    EXPECT_EQ(sceneCounter, 12) << "after the fifth visit the box fields follow";
    sceneCounter = 0;
}

TEST(TubeCarouselClock, AdvanceIsStrict) {
    TubeCarouselState state;
    sceneCounter = 4;
    state.visits = 1;
    state.clock = 100.0f;
    EXPECT_FALSE(TubeCarouselAdvance(state));
    state.clock = 100.25f;
    EXPECT_TRUE(TubeCarouselAdvance(state));
    EXPECT_EQ(sceneCounter, 5);
    EXPECT_EQ(state.clock, 70.0f);
    sceneCounter = 0;
}

TEST(TubeCarouselClock, NoiseCyclesThroughTheFourFrames) {
    TubeCarouselState state;
    state.noiseIndex = 2;
    EXPECT_EQ(TubeCarouselNextNoise(state), 7);
    EXPECT_EQ(TubeCarouselNextNoise(state), 4);
    EXPECT_EQ(TubeCarouselNextNoise(state), 5);
    EXPECT_EQ(state.noiseIndex, 1);
}

TEST(TubeCarouselBlockyPhase, OnWhileTheTensDigitIsOdd) {
    EXPECT_FALSE(TubeCarouselBlocky(0.0f));
    EXPECT_FALSE(TubeCarouselBlocky(9.999f));
    EXPECT_TRUE(TubeCarouselBlocky(10.0f));
    EXPECT_TRUE(TubeCarouselBlocky(19.5f));
    EXPECT_FALSE(TubeCarouselBlocky(20.0f));
    EXPECT_TRUE(TubeCarouselBlocky(99.0f));
    EXPECT_FALSE(TubeCarouselBlocky(100.5f));
    // Later visits: starting at 70 or 90 begins blocky, at 60 or 80 sharp.
    EXPECT_FALSE(TubeCarouselBlocky(61.0f));
    EXPECT_TRUE(TubeCarouselBlocky(71.0f));
    EXPECT_FALSE(TubeCarouselBlocky(81.0f));
    EXPECT_TRUE(TubeCarouselBlocky(91.0f));
}

double Length(const Vec3& v) {
    return std::sqrt(double(v.x) * v.x + double(v.y) * v.y + double(v.z) * v.z);
}

TEST(TubeCarouselCamera, DistanceStepsEveryThreeUnitsWhileTheDirectionGlides) {
    for (int s = 0; s < 40; ++s) {
        const double expected = 100.0 * std::sin(s / 3.14159) + 200.0;
        const Vec3 a = TubeCarouselEye(3.0f * s);
        const Vec3 b = TubeCarouselEye(3.0f * s + 2.9f);
        EXPECT_NEAR(Length(a), expected, 1e-3) << s;
        EXPECT_NEAR(Length(b), expected, 1e-3) << s;
        EXPECT_GE(Length(a), 99.99);
        EXPECT_LE(Length(a), 300.01);
        EXPECT_NE(a.x, b.x) << "the direction keeps moving within a step";
    }
}

TEST(TubeCarouselCamera, DirectionCirclesAndBobsAboveTheCarousel) {
    // Clock 0: direction (0, 200, -300) scaled to the distance 200.
    const Vec3 start = TubeCarouselEye(0.0f);
    const double unit = std::sqrt(200.0 * 200.0 + 300.0 * 300.0);
    EXPECT_NEAR(start.x, 0.0, 1e-4);
    EXPECT_NEAR(start.y, 200.0 * 200.0 / unit, 1e-3);
    EXPECT_NEAR(start.z, -200.0 * 300.0 / unit, 1e-3);
    // A quarter orbit (0.2 * clock / 3.14159 = pi / 2) looks from +x.
    const float clock = static_cast<float>(3.14159 * 3.14159 / 2.0 / 0.2);
    const Vec3 side = TubeCarouselEye(clock);
    EXPECT_GT(side.x, 0.0f);
    EXPECT_NEAR(side.z, 0.0, 0.5);
    EXPECT_GT(side.y, 0.0f) << "the bob stays between 100 and 300 above";
}

class TubeCarouselDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        static bool initialised = false;
        if (!initialised) {
            if (smallFont.base == 0) {
                CreateToolkitStartupResources();
            }
            TumblingRingsInit();  // fills the shared noise textures
            TubeCarouselInit();
            initialised = true;
        }
        saved = tubeCarousel;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        tubeCarousel = saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_BLEND);
        GlTest::TearDown();
    }
    Picture DrawFrameAt(float clockAfterStep) {
        tubeCarousel.clock = clockAfterStep - 1.0f;
        frameStep = 1.0f;
        sceneCounter = 2;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        GLint depthBefore = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
        TubeCarouselDraw();
        GLint depthAfter = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
        EXPECT_EQ(depthAfter, depthBefore);
        GLint viewport[4] = {};
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], 640);
        EXPECT_EQ(viewport[3], 480);
        return ReadPicture();
    }
    TubeCarouselState saved;
};

TEST_F(TubeCarouselDrawTest, SharpFrameLeavesBlendingOff) {
    glEnable(GL_BLEND);
    const Picture picture = DrawFrameAt(5.0f);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(IsBlocky(picture));
    EXPECT_GT(CountPixels(picture, {0, 0, 0}), 2000) << "wire sphere, grids and noise";
    EXPECT_GT(CountPixels(picture, {255, 255, 255}), 2000);
}

TEST_F(TubeCarouselDrawTest, BlockyPhaseShowsTenBySevenAndAHalfPixelBlocks) {
    const Picture picture = DrawFrameAt(15.0f);
    EXPECT_TRUE(IsBlocky(picture));
    EXPECT_GE(CountColours(picture), 2) << "the scene, not an empty screen";
    EXPECT_GT(CountPixels(picture, {0, 0, 0}), 640 * 480 / 100);
}

TEST_F(TubeCarouselDrawTest, LastFrameOfAVisitMovesTheShowOn) {
    DrawFrameAt(100.0f);
    EXPECT_EQ(sceneCounter, 2) << "exactly 100 stays";
    tubeCarousel.clock = 100.0f;
    frameStep = 1.0f;
    glLoadIdentity();
    TubeCarouselDraw();
    EXPECT_EQ(sceneCounter, 3);
    EXPECT_EQ(tubeCarousel.clock, 10.0f * tubeCarousel.visits + 50.0f);
}

}  // namespace
