// Tumbling rings: clock and visit rule, camera jumps, strobe and quarter flashes, and drawn frames
// read back from the software renderer.
#include "scenes/tumbling_rings.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gfx/bitmap_font.h"
#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

// Runs whole visits at one unit per frame, as capture mode at 20 frames per second does.
TEST(TumblingRingsClock, FiveVisitsShortenAndPutTheClockBack) {
    TumblingRingsState state;
    sceneCounter = 1;
    const int expectedFrames[5] = {101, 41, 31, 21, 11};
    for (int visit = 0; visit < 5; ++visit) {
        int frames = 0;
        bool advanced = false;
        while (!advanced && frames < 1000) {
            TumblingRingsTick(state, 1.0f);
            advanced = TumblingRingsAdvance(state);
            ++frames;
        }
        EXPECT_EQ(frames, expectedFrames[visit]) << "visit " << visit + 1;
        EXPECT_EQ(state.visits, visit + 1);
        EXPECT_EQ(state.clock, 10.0f * (visit + 1) + 50.0f);
        EXPECT_EQ(sceneCounter, 2 + 2 * visit) << "one step per visit";
        sceneCounter += 1;  // the carousel's visit in between
    }
    EXPECT_EQ(state.spin, 10.0f * (101 + 41 + 31 + 21 + 11)) << "spin is never reset";
    sceneCounter = 0;
}

TEST(TumblingRingsClock, AdvanceIsStrict) {
    TumblingRingsState state;
    sceneCounter = 1;
    state.clock = 100.0f;
    EXPECT_FALSE(TumblingRingsAdvance(state));
    EXPECT_EQ(sceneCounter, 1);
    EXPECT_EQ(state.clock, 100.0f);
    state.clock = std::nextafter(100.0f, 200.0f);
    EXPECT_TRUE(TumblingRingsAdvance(state));
    EXPECT_EQ(sceneCounter, 2);
    EXPECT_EQ(state.clock, 60.0f);
    sceneCounter = 0;
}

TEST(TumblingRingsClock, ZeroStepStillFlickersTheNoise) {
    TumblingRingsState state;
    state.spin = 12.5f;
    state.clock = 33.0f;
    const int expectedEntries[6] = {5, 6, 7, 4, 5, 6};
    for (int entry : expectedEntries) {
        TumblingRingsTick(state, 0.0f);
        EXPECT_EQ(TumblingRingsNextNoise(state), entry);
    }
    EXPECT_EQ(state.spin, 12.5f);
    EXPECT_EQ(state.clock, 33.0f);
    TumblingRingsTick(state, 0.5f);
    EXPECT_EQ(state.spin, 17.5f);
    EXPECT_EQ(state.clock, 33.5f);
}

TEST(TumblingRingsCamera, HoldsForFiveUnitsThenJumps) {
    // First position: straight behind at distance (sin 0 + 1) * 200.
    const Vec3 first = TumblingRingsEye(0.0f);
    EXPECT_EQ(first.x, 0.0f);
    EXPECT_EQ(first.y, 0.0f);
    EXPECT_FLOAT_EQ(first.z, -200.0f);
    const Vec3 held = TumblingRingsEye(4.99f);
    EXPECT_EQ(held.x, first.x);
    EXPECT_EQ(held.z, first.z);

    // Step s = 3 (clock 15..20): angle 30 / 6.283184, distance (sin(9 / 6.283184) + 1) * 200.
    const Vec3 a = TumblingRingsEye(15.0f);
    const Vec3 b = TumblingRingsEye(19.9f);
    EXPECT_EQ(a.x, b.x);
    EXPECT_EQ(a.z, b.z);
    const double angle = 30.0 / 6.283184;
    const double distance = (std::sin(9.0 / 6.283184) + 1.0) * 200.0;
    EXPECT_NEAR(a.x, -distance * std::sin(angle), 1e-3);
    EXPECT_NEAR(a.z, -distance * std::cos(angle), 1e-3);
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_NE(TumblingRingsEye(20.0f).x, a.x);
}

TEST(TumblingRingsCamera, DistanceStaysWithinZeroToFourHundredAndNeverNaN) {
    for (float clock = 0.0f; clock < 400.0f; clock += 0.5f) {
        const Vec3 eye = TumblingRingsEye(clock);
        const double r = std::sqrt(double(eye.x) * eye.x + double(eye.z) * eye.z);
        EXPECT_LE(r, 400.001) << clock;
        EXPECT_FALSE(std::isnan(eye.x) || std::isnan(eye.z)) << clock;
    }
}

TEST(TumblingRingsStrobe, BlackoutFollowsTheSineOfFourTimesTheClock) {
    EXPECT_EQ(TumblingRingsBlackoutAlpha(21.0f), 1.0f);  // sin 84 = 0.733
    EXPECT_EQ(TumblingRingsBlackoutAlpha(20.0f), 0.0f);  // sin 80 = -0.994
    EXPECT_EQ(TumblingRingsBlackoutAlpha(0.0f), 0.0f);
    EXPECT_EQ(TumblingRingsBlackoutAlpha(30.0f), 1.0f);  // sin 120 = 0.581
    EXPECT_EQ(TumblingRingsBlackoutAlpha(31.0f), 0.0f);  // sin 124 = -0.396
}

TEST(TumblingRingsFlashes, SolidFarBelowTheLimitAndGoneFromIt) {
    for (int i = 0; i < kTumblingRingsFlashCount; ++i) {
        const float limit = kTumblingRingsFlashLimit[i];
        // More than 15 units below the limit the sine cannot pull the level under 0.5.
        for (float clock = 0.0f; clock < limit - 15.0f; clock += 0.25f) {
            ASSERT_TRUE(TumblingRingsFlashDrawn(clock, i));
            ASSERT_EQ(TumblingRingsFlashAlpha(clock, i), 1.0f) << clock;
        }
        EXPECT_TRUE(TumblingRingsFlashDrawn(std::nextafter(limit, 0.0f), i));
        EXPECT_FALSE(TumblingRingsFlashDrawn(limit, i));
    }
    EXPECT_EQ(kTumblingRingsFlashLimit[0], 30.0f);
    EXPECT_EQ(kTumblingRingsFlashLimit[3], 60.0f);
    // Near the limit the sine decides: at 28, 1.2 + sin 112 (-0.888) is below 0.5.
    EXPECT_EQ(TumblingRingsFlashAlpha(28.0f, 1), 0.0f);
    EXPECT_EQ(TumblingRingsFlashAlpha(29.0f, 1), 1.0f);  // 1.1 + sin 116 (-0.35)
    // Later visits start at 60 or above: no quarter is drawn.
    for (int i = 0; i < kTumblingRingsFlashCount; ++i)
        EXPECT_FALSE(TumblingRingsFlashDrawn(60, i));
}

class TumblingRingsDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        static bool initialised = false;
        if (!initialised) {
            if (smallFont.base == 0) {
                CreateToolkitStartupResources();
            }
            TumblingRingsInit();
            initialised = true;
        }
        saved = tumblingRings;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        tumblingRings = saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        glDisable(GL_TEXTURE_2D);
        GlTest::TearDown();
    }
    Picture DrawFrameAt(float clockAfterStep) {
        tumblingRings.clock = clockAfterStep - 1.0f;
        frameStep = 1.0f;
        sceneCounter = 1;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        GLint depthBefore = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
        TumblingRingsDraw();
        GLint depthAfter = 0;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
        EXPECT_EQ(depthAfter, depthBefore);
        return ReadPicture();
    }
    TumblingRingsState saved;
};

int CountInRect(const Picture& picture, Rgb color, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            count += PixelAt(picture, x, y) == color;
    }
    return count;
}

TEST_F(TumblingRingsDrawTest, SharedTexturesHoldDiscAndNoise) {
    ASSERT_NE(sharedTextures[1], nullptr);
    ASSERT_NE(sharedTextures[4], nullptr);
    const Texture& disc = *sharedTextures[1];
    EXPECT_EQ(disc.pixels[256 * 512 + 256], 0xFFFFFFFFu);
    EXPECT_EQ(disc.pixels[0], 0xFF000000u);
    for (int entry = 4; entry <= 7; ++entry) {
        const Texture& noise = *sharedTextures[entry];
        int white = 0;
        for (int i = 0; i < 512 * 512; ++i) {
            ASSERT_TRUE(noise.pixels[i] == 0xFFFFFFFFu || noise.pixels[i] == 0xFF000000u);
            white += noise.pixels[i] == 0xFFFFFFFFu;
        }
        EXPECT_GT(white, 512 * 512 / 3);
        EXPECT_LT(white, 512 * 512 * 2 / 3);
    }
    EXPECT_NE(std::memcmp(sharedTextures[4]->pixels.get(), sharedTextures[5]->pixels.get(), 4096),
              0)
        << "the four frames are independent";
}

TEST_F(TumblingRingsDrawTest, AllFourQuartersFlashWhiteEarlyInTheFirstVisit) {
    const Picture picture = DrawFrameAt(5.0f);
    EXPECT_EQ(CountPixels(picture, {255, 255, 255}), 640 * 480);
}

TEST_F(TumblingRingsDrawTest, StrobeBlacksOutTheQuarterWhoseFlashHasEnded) {
    // Clock 30: the top-left flash has stopped, the strobe is on, the other three still flash.
    const Picture picture = DrawFrameAt(30.0f);
    EXPECT_EQ(CountInRect(picture, {0, 0, 0}, 0, 0, 320, 240), 320 * 240);
    EXPECT_EQ(CountPixels(picture, {255, 255, 255}), 640 * 480 - 320 * 240);
}

TEST_F(TumblingRingsDrawTest, RingsShowWhereNoFlashOrStrobeCovers) {
    // Clock 31: strobe off, top-left and bottom-right flashes not lit: the rings show there.
    const Picture picture = DrawFrameAt(31.0f);
    const int topLeftBlack = CountInRect(picture, {0, 0, 0}, 0, 0, 320, 240);
    const int topLeftWhite = CountInRect(picture, {255, 255, 255}, 0, 0, 320, 240);
    EXPECT_GT(topLeftBlack, 1000) << "static noise and black lines";
    EXPECT_GT(topLeftWhite, 1000);
    EXPECT_EQ(CountInRect(picture, {255, 255, 255}, 320, 0, 640, 240), 320 * 240);
    EXPECT_EQ(CountInRect(picture, {255, 255, 255}, 0, 240, 320, 480), 320 * 240);
    EXPECT_EQ(sceneCounter, 1);
}

TEST_F(TumblingRingsDrawTest, LastFrameOfAVisitMovesTheShowOn) {
    DrawFrameAt(101.0f);
    EXPECT_EQ(sceneCounter, 2);
    EXPECT_EQ(tumblingRings.visits, saved.visits + 1);
    EXPECT_EQ(tumblingRings.clock, 10.0f * tumblingRings.visits + 50.0f);
}

}  // namespace
