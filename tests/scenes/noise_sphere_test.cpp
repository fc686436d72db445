// Opening noise sphere: dive rhythm, eye, flicker, dot field, text window, white-out, first frame.
#include "scenes/noise_sphere.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"

namespace {

// The state is large (three 800-entry tables), so tests keep it on the heap.
std::unique_ptr<NoiseSphereState> FreshState() {
    return std::make_unique<NoiseSphereState>();
}

TEST(NoiseSphereDive, SpeedPassesTwoOnFrameEightWhateverTheStep) {
    // Before the first dive the speed gain does not depend on the step.
    for (float step : {1.0f, 0.5f}) {
        SCOPED_TRACE(step);
        auto state = FreshState();
        for (int frame = 1; frame <= 7; ++frame) {
            NoiseSphereDive(*state, step);
            EXPECT_LE(state->speed, 2.0f) << "frame " << frame;
            EXPECT_EQ(state->distance, 200.0f) << "frame " << frame;
        }
        NoiseSphereDive(*state, step);
        EXPECT_GT(state->speed, 2.0f);
        if (step == 1.0f) {
            EXPECT_FLOAT_EQ(state->distance, 200.0f - 2.1f);
        }
    }
}

TEST(NoiseSphereDive, JumpsBackTo110WithSpeedMinus9ThenTo160WithMinus14) {
    auto state = FreshState();
    float lowest = state->distance;
    for (int frames = 0; state->dives == 0 && frames < 1000; ++frames) {
        lowest = state->distance;
        NoiseSphereDive(*state, 1.0f);
    }
    ASSERT_EQ(state->dives, 1);
    EXPECT_GE(lowest, 60.0f);  // the frame before the jump was still at or above the floor
    EXPECT_EQ(state->distance, 110.0f);
    EXPECT_EQ(state->speed, -9.0f);
    // The distance waits at 110 while the speed climbs back above 2 (0.4 per frame now).
    int waiting = 0;
    for (; state->speed <= 2.0f; ++waiting) {
        EXPECT_EQ(state->distance, 110.0f);
        NoiseSphereDive(*state, 1.0f);
    }
    EXPECT_EQ(waiting, 28);
    for (int frames = 0; state->dives == 1 && frames < 5000; ++frames) {
        NoiseSphereDive(*state, 1.0f);
    }
    EXPECT_EQ(state->dives, 2);
    EXPECT_EQ(state->distance, 160.0f);
    EXPECT_EQ(state->speed, -14.0f);
}

TEST(NoiseSphereCamera, EyeCirclesInTheXyPlaneAndIsFiniteAtClockZero) {
    auto state = FreshState();
    const Vec3 zero = NoiseSphereEye(*state);
    ASSERT_TRUE(std::isfinite(zero.x) && std::isfinite(zero.y) && std::isfinite(zero.z));
    EXPECT_NEAR(std::hypot(zero.x, zero.y), 200.0f, 1e-3f);
    state->clock = 0.01f;  // and continues smoothly into the next frames
    EXPECT_NEAR(NoiseSphereEye(*state).x, zero.x, 0.05f);
    EXPECT_NEAR(NoiseSphereEye(*state).y, zero.y, 0.05f);
    state->distance = 135.0f;
    for (float clock : {5.0f, 40.0f, 77.0f, 499.0f}) {
        state->clock = clock;
        const Vec3 eye = NoiseSphereEye(*state);
        EXPECT_EQ(eye.z, 0.0f);
        EXPECT_NEAR(std::hypot(eye.x, eye.y), 135.0f, 1e-3f) << "clock " << clock;
    }
}

TEST(NoiseSphereFlicker, FirstFramesBindEntries5674ThenWrap) {
    auto state = FreshState();
    for (int entry : {5, 6, 7, 4, 5, 6, 7, 4, 5}) {
        EXPECT_EQ(NoiseSphereNextNoise(*state), entry);
    }
}

TEST(NoiseSphereDots, ThreeDotsPerBeatCappedAtTheSlots) {
    auto state = FreshState();
    const std::pair<float, int32_t> cases[] = {
        {9.99f, 0}, {10.0f, 3}, {501.0f, 150}, {1.0e6f, kNoiseSphereDotSlots}};
    for (const auto& [clock, count] : cases) {
        state->clock = clock;
        EXPECT_EQ(NoiseSphereDotCount(*state), count) << "clock " << clock;
    }
}

TEST(NoiseSphereDots, RebirthDrawsColumnThenRowAndHidesTheDotBriefly) {
    auto state = FreshState();
    ResetRand();
    // At clock 10 the three dots are all just reborn and invisible.
    for (int32_t i = 0; i < 3; ++i) {
        EXPECT_FALSE(NoiseSphereUpdateDot(*state, i, 1.0f)) << "dot " << i;
        EXPECT_FLOAT_EQ(state->dotLife[i], 0.2f * static_cast<float>(i) + 3.0f);
    }
    const uint32_t afterRebirths = RandState();
    ResetRand();
    for (int32_t i = 0; i < 3; ++i) {  // column first, then row
        EXPECT_EQ(state->dotColumn[i], Rand() % 40) << "dot " << i;
        EXPECT_EQ(state->dotRow[i], Rand() % 40) << "dot " << i;
    }
    EXPECT_EQ(RandState(), afterRebirths);
    // Half a unit later still hidden, one unit later shown; no more draws while they live.
    EXPECT_FALSE(NoiseSphereUpdateDot(*state, 1, 0.5f));
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 1, 0.5f));
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_TRUE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_EQ(RandState(), afterRebirths);
    // Dot 0 lives 3 units: the frame its life reaches exactly 0 reborns it.
    EXPECT_FALSE(NoiseSphereUpdateDot(*state, 0, 1.0f));
    EXPECT_NE(RandState(), afterRebirths);
    EXPECT_FLOAT_EQ(state->dotLife[0], 3.0f);
}

TEST(NoiseSphereDots, GridSpansTheScreenAndDriftsOutBetween280And400) {
    auto state = FreshState();
    state->dotColumn[1] = 39;
    state->dotRow[1] = 20;
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 0), -1.0f);
    EXPECT_FLOAT_EQ(NoiseSphereDotX(*state, 1), 0.95f);
    EXPECT_FLOAT_EQ(NoiseSphereDotY(*state, 1), 0.0f);
    int moves = 0;
    for (state->clock = 280.0f; state->clock <= 400.0f; state->clock += 1.0f) {
        const float before = state->fieldOffsetX;
        NoiseSphereDriftField(*state, 1.0f);
        moves += state->fieldOffsetX != before ? 1 : 0;
        if (state->clock == 280.0f || state->clock == 400.0f) {
            EXPECT_EQ(state->fieldOffsetX, before) << "clock " << state->clock;
        }
    }
    // From 281 until the offset is no longer above -0.55; none at exactly 280 or 400.
    EXPECT_EQ(moves, 28);
    EXPECT_NEAR(state->fieldOffsetY, -0.56f, 1e-4f);
    EXPECT_NEAR(state->fieldScaleX, 1.0f + 0.3f * 28.0f, 1e-3f);
    EXPECT_NEAR(state->fieldScaleY, 1.0f + 0.2f * 28.0f, 1e-3f);
    EXPECT_NEAR(NoiseSphereDotX(*state, 1), 0.95f / state->fieldScaleX - 0.56f, 1e-4f);
    state->clock = 401.0f;
    NoiseSphereDriftField(*state, 1.0f);
    EXPECT_NEAR(state->fieldOffsetX, -0.54f, 1e-4f);
    EXPECT_NEAR(state->fieldScaleX, 1.0f + 0.3f * 27.0f, 1e-3f);
}

TEST(NoiseSphereText, ShowsFrom295To400AndJustAfter400To440) {
    const std::pair<float, float> cases[] = {{0.0f, 0.0f},   {294.0f, 0.0f}, {295.5f, 1.0f},
                                             {399.9f, 1.0f}, {400.0f, 0.0f}, {400.5f, 1.0f},
                                             {439.5f, 1.0f}, {440.5f, 0.0f}, {499.0f, 0.0f}};
    for (const auto& [clock, alpha] : cases) {
        EXPECT_EQ(NoiseSphereTextAlpha(clock), alpha) << "clock " << clock;
    }
}

TEST(NoiseSphereText, GarbleDrawsTenBytesBelow255AndEndsThem) {
    ResetRand();
    char text[11] = "xxxxxxxxxx";
    text[10] = 'x';
    NoiseSphereGarble(text);
    const uint32_t afterGarble = RandState();
    EXPECT_EQ(text[10], 0);
    ResetRand();
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(static_cast<unsigned char>(text[k]), Rand() % 255) << k;
    }
    EXPECT_EQ(RandState(), afterGarble);  // exactly ten draws
}

TEST(NoiseSphereWhiteOut, QuarterFlickersThenStaysWhiteAndTheSceneEndsPast500) {
    for (float start : {450.0f, 460.0f, 470.0f, 480.0f}) {
        EXPECT_FALSE(NoiseSphereQuarterLit(start - 5.0f, start));
        EXPECT_FALSE(NoiseSphereQuarterLit(start, start));
        int lit = 0;
        for (float clock = start + 1.0f; clock <= start + 10.0f; clock += 1.0f) {
            lit += NoiseSphereQuarterLit(clock, start) ? 1 : 0;
        }
        EXPECT_GT(lit, 0) << start;
        EXPECT_LT(lit, 10) << start;
        for (float clock = start + 15.01f; clock < start + 60.0f; clock += 0.25f) {
            EXPECT_TRUE(NoiseSphereQuarterLit(clock, start)) << clock;
        }
    }
    auto state = FreshState();
    state->clock = 500.0f;
    EXPECT_FALSE(NoiseSphereFinished(*state));
    state->clock = 500.05f;
    EXPECT_TRUE(NoiseSphereFinished(*state));
}

class NoiseSphereDrawTest : public GlTest {};

TEST_F(NoiseSphereDrawTest, FirstFrameWithStepZeroLooksFromAFiniteEye) {
    if (smallFont.base == 0) {
        CreateToolkitStartupResources();
    }
    NoiseSphereInit();
    auto saved = std::make_unique<NoiseSphereState>(noiseSphere);
    noiseSphere = NoiseSphereState{};
    glLoadIdentity();
    EXPECT_FALSE(NoiseSphereDraw(FrameInput{}));
    // After the frame the modelview holds the camera's view, which must be a real rotation.
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    float norm = 0.0f;
    for (float value : view) {
        ASSERT_TRUE(std::isfinite(value));
        norm += value * value;
    }
    EXPECT_GT(norm, 3.5f);  // three unit axes plus the homogeneous 1
    noiseSphere = *saved;
}

}  // namespace
