// Tumbling rings and tube carousel taking turns: visit lengths, strobe and flashes and the blocky
// phase.
#include <gtest/gtest.h>

#include <cmath>

#include "scene_test_support.h"
#include "scenes/tube_carousel.h"
#include "scenes/tumbling_rings.h"

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
}

TEST(TumblingRingsFlashes, StrobeFollowsSinFourClockAndFlashesEndAtTheirLimits) {
    ExpectAtClocks(TumblingRingsBlackoutAlpha, {21.0f, 20.0f, 0.0f, 30.0f, 31.0f},
                   {1.0f, 0.0f, 0.0f, 1.0f, 0.0f});
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
    // Near the limit the sine decides: at 28, 1.2 + sin 112 (-0.888) is below 0.5.
    EXPECT_EQ(TumblingRingsFlashAlpha(28.0f, 1), 0.0f);
    EXPECT_EQ(TumblingRingsFlashAlpha(29.0f, 1), 1.0f);  // 1.1 + sin 116 (-0.35)
}

TEST(TubeCarousel, BlockyWhileTheTensDigitIsOdd) {
    // Later visits: starting at 70 or 90 begins blocky, at 60 or 80 sharp.
    ExpectAtClocks(TubeCarouselBlocky,
                   {0.0f, 9.999f, 10.0f, 19.5f, 20.0f, 99.0f, 100.5f, 61.0f, 71.0f, 91.0f},
                   {false, false, true, true, false, true, false, false, true, true});
}

}  // namespace
