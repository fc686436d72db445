// Opening noise sphere: dive rhythm, eye, flicker, dot field, text window, white-out, drawing.
#include "scenes/noise_sphere.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"
#include "shell/random.h"

namespace {

// The state is large (three 800-entry tables), so tests keep it on the heap.
std::unique_ptr<NoiseSphereState> FreshState() {
    return std::make_unique<NoiseSphereState>();
}

TEST(NoiseSphereDive, SpeedPassesTwoOnFrameEightAtStepOne) {
    auto state = FreshState();
    for (int frame = 1; frame <= 7; ++frame) {
        NoiseSphereDive(*state, 1.0f);
        EXPECT_LE(state->speed, 2.0f) << "frame " << frame;
        EXPECT_EQ(state->distance, 200.0f) << "frame " << frame;
    }
    NoiseSphereDive(*state, 1.0f);
    EXPECT_GT(state->speed, 2.0f);
    EXPECT_FLOAT_EQ(state->distance, 200.0f - 2.1f);
    // Afterwards the distance shrinks faster each frame.
    float before = state->distance;
    float lastDrop = 2.1f;
    for (int frame = 9; frame <= 14; ++frame) {
        NoiseSphereDive(*state, 1.0f);
        const float drop = before - state->distance;
        EXPECT_GT(drop, lastDrop) << "frame " << frame;
        lastDrop = drop;
        before = state->distance;
    }
}

TEST(NoiseSphereDive, ConstantPartIsAddedOncePerFrame) {
    // With no dive done yet the speed gain does not depend on the step: at step 0.5 the speed
    // still passes 2 on the eighth frame.
    auto state = FreshState();
    for (int frame = 1; frame <= 7; ++frame) {
        NoiseSphereDive(*state, 0.5f);
    }
    EXPECT_LE(state->speed, 2.0f);
    NoiseSphereDive(*state, 0.5f);
    EXPECT_GT(state->speed, 2.0f);
}

TEST(NoiseSphereDive, JumpsBackTo110WithSpeedMinus9ThenFurther) {
    auto state = FreshState();
    int frames = 0;
    float lowest = state->distance;
    while (state->dives == 0 && frames < 1000) {
        lowest = state->distance;
        NoiseSphereDive(*state, 1.0f);
        ++frames;
    }
    ASSERT_EQ(state->dives, 1);
    EXPECT_GE(lowest, 60.0f);  // the frame before the jump was still at or above the floor
    EXPECT_EQ(state->distance, 110.0f);
    EXPECT_EQ(state->speed, -9.0f);

    // The distance waits at 110 while the speed climbs back above 2 (0.4 per frame now).
    int waiting = 0;
    while (state->speed <= 2.0f) {
        NoiseSphereDive(*state, 1.0f);
        if (state->speed <= 2.0f) {
            EXPECT_EQ(state->distance, 110.0f);
        }
        ++waiting;
    }
    EXPECT_EQ(waiting, 28);

    while (state->dives == 1 && frames < 5000) {
        NoiseSphereDive(*state, 1.0f);
        ++frames;
    }
    EXPECT_EQ(state->dives, 2);
    EXPECT_EQ(state->distance, 160.0f);
    EXPECT_EQ(state->speed, -14.0f);
}

TEST(NoiseSphereCamera, EyeCirclesInTheXyPlaneAtTheDistance) {
    auto state = FreshState();
    for (float clock : {0.5f, 10.0f, 77.0f, 250.0f, 499.0f}) {
        state->clock = clock;
        state->distance = 135.0f;
        const Vec3 eye = NoiseSphereEye(*state);
        EXPECT_EQ(eye.z, 0.0f);
        EXPECT_NEAR(std::hypot(eye.x, eye.y), 135.0f, 1e-3f) << "clock " << clock;
    }
    // Early on both sines are positive; by clock 40 the horizontal one is not yet, but past a half
    // turn of the vertical sine (clock 31.4 to 62.8) y is negative.
    state->clock = 5.0f;
    Vec3 eye = NoiseSphereEye(*state);
    EXPECT_GT(eye.x, 0.0f);
    EXPECT_GT(eye.y, 0.0f);
    state->clock = 40.0f;
    eye = NoiseSphereEye(*state);
    EXPECT_GT(eye.x, 0.0f);
    EXPECT_LT(eye.y, 0.0f);
}

TEST(NoiseSphereCamera, ClockZeroGivesAFiniteEyeContinuingIntoTheNextFrames) {
    auto state = FreshState();
    const Vec3 eye = NoiseSphereEye(*state);
    ASSERT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z));
    EXPECT_NEAR(std::hypot(eye.x, eye.y), 200.0f, 1e-3f);
    state->clock = 0.01f;
    const Vec3 next = NoiseSphereEye(*state);
    EXPECT_NEAR(eye.x, next.x, 0.05f);
    EXPECT_NEAR(eye.y, next.y, 0.05f);
}

TEST(NoiseSphereFlicker, FirstFramesBindEntries5674ThenWrap) {
    auto state = FreshState();
    const int expected[] = {5, 6, 7, 4, 5, 6, 7, 4, 5};
    for (int entry : expected) {
        EXPECT_EQ(NoiseSphereNextNoise(*state), entry);
    }
}

TEST(NoiseSphereDots, ThreeDotsPerBeatCappedAtTheSlots) {
    auto state = FreshState();
    state->clock = 9.99f;
    EXPECT_EQ(NoiseSphereDotCount(*state), 0);
    state->clock = 10.0f;
    EXPECT_EQ(NoiseSphereDotCount(*state), 3);
    state->clock = 501.0f;
    EXPECT_EQ(NoiseSphereDotCount(*state), 150);
    state->clock = 1.0e6f;
    EXPECT_EQ(NoiseSphereDotCount(*state), kNoiseSphereDotSlots);
}

TEST(NoiseSphereDots, RebirthDrawsColumnThenRowAndHidesTheDotBriefly) {
    auto state = FreshState();
    ResetRand();
    int32_t expectedCells[6];
    for (int32_t& cell : expectedCells) {
        cell = Rand() % 40;
    }
    ResetRand();
    const uint32_t start = RandState();

    // At clock 10 the three dots are all just reborn and invisible.
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(NoiseSphereUpdateDot(*state, i, 1.0f)) << "dot " << i;
        EXPECT_FLOAT_EQ(state->dotLife[i], 0.2f * static_cast<float>(i) + 3.0f);
        EXPECT_EQ(state->dotColumn[i], expectedCells[2 * i]);
        EXPECT_EQ(state->dotRow[i], expectedCells[2 * i + 1]);
    }
    const uint32_t afterRebirths = RandState();
    EXPECT_NE(afterRebirths, start);

    // Half a unit later still hidden, one unit later shown; no more draws while they live.
    EXPECT_FALSE(NoiseSphereUpdateDot(*state, 1, 0.5f));
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 1, 0.5f));
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_EQ(RandState(), afterRebirths);

    // Dot 0 lives 3 units: the frame its life reaches exactly 0 reborns it.
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_EQ(RandState(), afterRebirths);
    EXPECT_FALSE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_NE(RandState(), afterRebirths);
    EXPECT_FLOAT_EQ(state->dotLife[0], 3.0f);
}

TEST(NoiseSphereDots, GridSpansTheScreenUntilTheFieldDrifts) {
    auto state = FreshState();
    state->dotColumn[0] = 0;
    state->dotRow[0] = 0;
    state->dotColumn[1] = 39;
    state->dotRow[1] = 20;
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 0), -1.0f);
    EXPECT_FLOAT_EQ(NoiseSphereDotY(*state, 0), -1.0f);
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 1), 0.95f);
    EXPECT_FLOAT_EQ(NoiseSphereDotY(*state, 1), 0.0f);
    state->fieldOffsetX = -0.5f;
    state->fieldScaleX = 2.0f;
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 0), -1.0f);
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 1), 0.475f - 0.5f);
}

TEST(NoiseSphereDots, FieldDriftsOutBetween280And400AndBackAfter) {
    auto state = FreshState();
    state->clock = 280.0f;
    NoiseSphereDriftField(*state, 1.0f);
    EXPECT_EQ(state->fieldOffsetX, 0.0f);
    EXPECT_EQ(state->fieldScaleX, 1.0f);

    int moves = 0;
    for (state->clock = 281.0f; state->clock < 400.0f; state->clock += 1.0f) {
        const float before = state->fieldOffsetX;
        NoiseSphereDriftField(*state, 1.0f);
        moves += state->fieldOffsetX != before ? 1 : 0;
    }
    EXPECT_EQ(moves, 28);  // until the offset is no longer above -0.55
    EXPECT_NEAR(state->fieldOffsetX, -0.56f, 1e-4f);
    EXPECT_NEAR(state->fieldOffsetY, -0.56f, 1e-4f);
    EXPECT_NEAR(state->fieldScaleX, 1.0f + 0.3f * 28.0f, 1e-3f);
    EXPECT_NEAR(state->fieldScaleY, 1.0f + 0.2f * 28.0f, 1e-3f);

    // Exactly 400: no drift that frame.
    const float held = state->fieldOffsetX;
    state->clock = 400.0f;
    NoiseSphereDriftField(*state, 1.0f);
    EXPECT_EQ(state->fieldOffsetX, held);

    state->clock = 401.0f;
    NoiseSphereDriftField(*state, 1.0f);
    EXPECT_NEAR(state->fieldOffsetX, -0.54f, 1e-4f);
    EXPECT_NEAR(state->fieldScaleX, 1.0f + 0.3f * 27.0f, 1e-3f);
}

TEST(NoiseSphereText, ShowsFrom295To400AndJustAfter400To440) {
    EXPECT_EQ(NoiseSphereTextAlpha(0.0f), 0.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(294.0f), 0.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(295.5f), 1.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(399.9f), 1.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(400.0f), 0.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(400.5f), 1.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(439.5f), 1.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(440.5f), 0.0f);
    EXPECT_EQ(NoiseSphereTextAlpha(499.0f), 0.0f);
}

TEST(NoiseSphereText, GarbleDrawsTenBytesBelow255AndEndsThem) {
    ResetRand();
    int32_t expected[10];
    for (int32_t& byte : expected) {
        byte = Rand() % 255;
    }
    const uint32_t afterTen = RandState();
    ResetRand();
    char text[11];
    text[10] = 'x';
    NoiseSphereGarble(text);
    EXPECT_EQ(RandState(), afterTen);
    EXPECT_EQ(text[10], 0);
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(static_cast<unsigned char>(text[k]), expected[k]);
    }
}

TEST(NoiseSphereWhiteOut, QuarterFlickersThenStaysWhite) {
    for (float start : {450.0f, 460.0f, 470.0f, 480.0f}) {
        EXPECT_FALSE(NoiseSphereQuarterLit(start - 5.0f, start));
        EXPECT_FALSE(NoiseSphereQuarterLit(start, start));
        int lit = 0;
        int dark = 0;
        for (float clock = start + 1.0f; clock <= start + 10.0f; clock += 1.0f) {
            (NoiseSphereQuarterLit(clock, start) ? lit : dark) += 1;
        }
        EXPECT_GT(lit, 0) << start;
        EXPECT_GT(dark, 0) << start;
        for (float clock = start + 15.01f; clock < start + 60.0f; clock += 0.25f) {
            EXPECT_TRUE(NoiseSphereQuarterLit(clock, start)) << clock;
        }
    }
}

TEST(NoiseSphereLifecycle, FinishesOnlyOncePast500) {
    auto state = FreshState();
    state->clock = 500.0f;
    EXPECT_FALSE(NoiseSphereFinished(*state));
    state->clock = 500.05f;
    EXPECT_TRUE(NoiseSphereFinished(*state));
}

}  // namespace

// Drawing on the offscreen demo window.
namespace {

class NoiseSphereDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (smallFont.base == 0) {
            CreateToolkitStartupResources();
        }
        NoiseSphereInit();
        *saved = noiseSphere;
        noiseSphere = NoiseSphereState{};
        sceneCounter = 0;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        noiseSphere = *saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        GlTest::TearDown();
    }
    Picture DrawFrame(float step) {
        frameStep = step;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        NoiseSphereDraw();
        return ReadPicture();
    }
    std::unique_ptr<NoiseSphereState> saved = std::make_unique<NoiseSphereState>();
};

TEST_F(NoiseSphereDrawTest, FirstFrameWithStepZeroLooksFromAFiniteEye) {
    GLint depthBefore = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthBefore);
    const Picture picture = DrawFrame(0.0f);
    // After the frame the modelview holds the camera's view, which must be a real rotation.
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    float norm = 0.0f;
    for (float value : view) {
        ASSERT_TRUE(std::isfinite(value));
        norm += value * value;
    }
    EXPECT_GT(norm, 3.5f);  // three unit axes plus the homogeneous 1
    GLint depthAfter = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depthAfter);
    EXPECT_EQ(depthAfter, depthBefore);
    // The sphere and its shells are on screen.
    EXPECT_LT(CountPixels(picture, Rgb{255, 255, 255}), 640 * 480 - 1000);
}

TEST_F(NoiseSphereDrawTest, WhiteOutCoversTheScreenAndTheEndHandsOverAfterDrawing) {
    noiseSphere.clock = 496.0f;
    Picture picture = DrawFrame(1.0f);
    EXPECT_EQ(CountPixels(picture, Rgb{255, 255, 255}), 640 * 480);
    EXPECT_EQ(sceneCounter, 0);
    noiseSphere.clock = 499.5f;
    picture = DrawFrame(1.0f);
    EXPECT_EQ(CountPixels(picture, Rgb{255, 255, 255}), 640 * 480);
    EXPECT_EQ(sceneCounter, 1);
}

}  // namespace
