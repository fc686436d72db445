// Tumbling rings and their turns with the carousel: visit rule, camera, strobe, flashes, textures.
#include "scenes/tumbling_rings.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "scenes/tube_carousel.h"

namespace {

// The rings (odd scenes 1..9) and the carousel (even scenes 2..10) take turns, at one unit per
// frame as capture mode at 20 frames per second runs them.
TEST(RingsAndCarouselClock, AlternateFiveShorteningVisitsThenHandToTheBoxFields) {
    TumblingRingsState rings;
    TubeCarouselState carousel;
    const int expectedFrames[5] = {101, 41, 31, 21, 11};
    for (int visit = 0; visit < 10; ++visit) {
        const int32_t scene = visit + 1;
        int frames = 0;
        for (bool over = false; !over && frames < 1000; ++frames) {
            if (scene % 2 == 1) {
                TumblingRingsTick(rings, 1.0f);
            } else {
                carousel.clock += 1.0f;
            }
            over = scene % 2 == 1 ? TumblingRingsAdvance(rings) : TubeCarouselAdvance(carousel);
        }
        EXPECT_EQ(frames, expectedFrames[visit / 2]) << "scene " << scene;
        // The clock is put back to 10 x visits + 50.
        EXPECT_EQ(scene % 2 == 1 ? rings.clock : carousel.clock, 10.0f * (visit / 2) + 60.0f)
            << "scene " << scene;
    }
    EXPECT_EQ(rings.visits, 5);
    EXPECT_EQ(carousel.visits, 5);
    EXPECT_EQ(rings.spin, 10.0f * (101 + 41 + 31 + 21 + 11)) << "spin is never reset";
    rings.clock = 100.0f;
    EXPECT_FALSE(TumblingRingsAdvance(rings));
    rings.clock = std::nextafter(100.0f, 200.0f);
    EXPECT_TRUE(TumblingRingsAdvance(rings));
    carousel.clock = 100.0f;
    EXPECT_FALSE(TubeCarouselAdvance(carousel));
    carousel.noiseIndex = 2;
    for (int entry : {7, 4, 5}) {
        EXPECT_EQ(TubeCarouselNextNoise(carousel), entry);
    }
}

TEST(TumblingRingsClock, ZeroStepStillFlickersTheNoise) {
    TumblingRingsState state;
    state.spin = 12.5f;
    state.clock = 33.0f;
    for (int entry : {5, 6, 7, 4, 5, 6}) {
        TumblingRingsTick(state, 0.0f);
        EXPECT_EQ(TumblingRingsNextNoise(state), entry);
    }
    EXPECT_EQ(state.spin, 12.5f);
    EXPECT_EQ(state.clock, 33.0f);
    TumblingRingsTick(state, 0.5f);
    EXPECT_EQ(state.spin, 17.5f);
    EXPECT_EQ(state.clock, 33.5f);
}

TEST(TumblingRingsCamera, HoldsForFiveUnitsThenJumpsWithinFourHundred) {
    const Vec3 first = TumblingRingsEye(0.0f);  // straight behind at (sin 0 + 1) * 200
    EXPECT_EQ(first.x, 0.0f);
    EXPECT_FLOAT_EQ(first.z, -200.0f);
    EXPECT_EQ(TumblingRingsEye(4.99f).z, first.z);
    // Step s = 3 (clock 15..20): angle 30 / 6.283184, distance (sin(9 / 6.283184) + 1) * 200.
    const Vec3 a = TumblingRingsEye(15.0f);
    EXPECT_EQ(TumblingRingsEye(19.9f).x, a.x);
    const double angle = 30.0 / 6.283184;
    const double distance = (std::sin(9.0 / 6.283184) + 1.0) * 200.0;
    EXPECT_NEAR(a.x, -distance * std::sin(angle), 1e-3);
    EXPECT_NEAR(a.z, -distance * std::cos(angle), 1e-3);
    EXPECT_EQ(a.y, 0.0f);
    EXPECT_NE(TumblingRingsEye(20.0f).x, a.x);
    for (float clock = 0.0f; clock < 400.0f; clock += 0.5f) {
        const Vec3 eye = TumblingRingsEye(clock);
        EXPECT_LE(std::hypot(double(eye.x), double(eye.z)), 400.001) << clock;  // false for NaN
    }
}

TEST(TumblingRingsFlashes, StrobeFollowsSinFourClockAndFlashesEndAtTheirLimits) {
    const std::pair<float, float> strobe[] = {
        {21.0f, 1.0f}, {20.0f, 0.0f}, {0.0f, 0.0f}, {30.0f, 1.0f}, {31.0f, 0.0f}};
    for (const auto& [clock, alpha] : strobe) {
        EXPECT_EQ(TumblingRingsBlackoutAlpha(clock), alpha) << clock;
    }
    for (int i = 0; i < kTumblingRingsFlashCount; ++i) {
        const float limit = kTumblingRingsFlashLimit[i];
        // More than 15 units below the limit the sine cannot pull the level under 0.5.
        for (float clock = 0.0f; clock < limit - 15.0f; clock += 0.25f) {
            ASSERT_EQ(TumblingRingsFlashAlpha(clock, i), 1.0f) << clock;
        }
        EXPECT_TRUE(TumblingRingsFlashDrawn(std::nextafter(limit, 0.0f), i));
        EXPECT_FALSE(TumblingRingsFlashDrawn(limit, i));
        EXPECT_FALSE(TumblingRingsFlashDrawn(60, i)) << "later visits start at 60 or above";
    }
    EXPECT_EQ(kTumblingRingsFlashLimit[0], 30.0f);
    EXPECT_EQ(kTumblingRingsFlashLimit[3], 60.0f);
    // Near the limit the sine decides: at 28, 1.2 + sin 112 (-0.888) is below 0.5.
    EXPECT_EQ(TumblingRingsFlashAlpha(28.0f, 1), 0.0f);
    EXPECT_EQ(TumblingRingsFlashAlpha(29.0f, 1), 1.0f);  // 1.1 + sin 116 (-0.35)
}

class TumblingRingsInitTest : public GlTest {};

TEST_F(TumblingRingsInitTest, SharedTexturesHoldDiscAndFourIndependentNoiseFrames) {
    // Start-up creates the (still empty) shared textures before the first scene fills them.
    if (sharedTextures[1] == nullptr) {
        CreateToolkitStartupResources();
    }
    TumblingRingsInit();
    ASSERT_NE(sharedTextures[1], nullptr);
    EXPECT_EQ(sharedTextures[1]->pixels[256 * 512 + 256], 0xFFFFFFFFu);
    EXPECT_EQ(sharedTextures[1]->pixels[0], 0xFF000000u);
    for (int entry = 4; entry <= 7; ++entry) {
        ASSERT_NE(sharedTextures[entry], nullptr);
        int white = 0;
        for (int i = 0; i < 512 * 512; ++i) {
            const uint32_t pixel = sharedTextures[entry]->pixels[i];
            ASSERT_TRUE(pixel == 0xFFFFFFFFu || pixel == 0xFF000000u);
            white += pixel == 0xFFFFFFFFu;
        }
        EXPECT_GT(white, 512 * 512 / 3);
        EXPECT_LT(white, 512 * 512 * 2 / 3);
    }
    EXPECT_NE(std::memcmp(sharedTextures[4]->pixels.get(), sharedTextures[5]->pixels.get(), 4096),
              0);
}

}  // namespace
