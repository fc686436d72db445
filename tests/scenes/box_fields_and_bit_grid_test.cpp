// Box fields and bit grid taking turns: visit limits, cube heights, bit counts and moves.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "core/random.h"
#include "gl_test.h"
#include "platform/gl.h"
#include "scenes/bit_grid.h"
#include "scenes/box_fields.h"
#include "scenes/scenes.h"

namespace {

TEST(BoxFieldsClock, VisitsEndStrictlyAtCumulativeMultiplesOfSevenWithoutReset) {
    BoxFieldsState state;
    BoxFieldsTick(state, 0.5f);
    EXPECT_FLOAT_EQ(state.drift, 0.25f);  // half of each step
    state.clock = 7.0f;
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
    state.clock = 7.001f;
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.clock, 7.001f);  // not reset

    // At one unit per frame: the first visit runs to clock 8, every later one 7 more frames.
    state = BoxFieldsState{};
    for (int visit = 1; visit <= 15; ++visit) {
        int frames = 0;
        do {
            BoxFieldsTick(state, 1.0f);
            ++frames;
        } while (!BoxFieldsVisitEnds(state) && frames < 100);
        EXPECT_EQ(frames, visit == 1 ? 8 : 7) << "visit " << visit;
    }
    // A step past two limits ends one visit per frame.
    state = BoxFieldsState{};
    BoxFieldsTick(state, 15.0f);
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_TRUE(BoxFieldsVisitEnds(state));
    EXPECT_FALSE(BoxFieldsVisitEnds(state));
    EXPECT_EQ(state.visits, 2);
}

TEST(BoxFieldsWave, ColumnZeroHasNoHeightOthersFollowTheWave) {
    float height = 123.0f;
    for (int32_t row = 0; row < 5; ++row) {
        EXPECT_FALSE(BoxFieldsCubeHeight(3.0f, row, 0, height));
    }
    // {clock, row, column, height}: row 0 at clock 0 has no phase; column 4 puts a quarter turn
    // between rows, column 2 half a turn; the wave travels at 0.2 radians per unit.
    const float cases[][4] = {{0.0f, 0, 3, 0.0f},
                              {0.0f, 1, 4, 40.0f},
                              {0.0f, 3, 4, -40.0f},
                              {0.0f, 1, 2, 0.0f},
                              {7.853982f, 0, 1, 40.0f}};
    for (const auto& c : cases) {
        ASSERT_TRUE(BoxFieldsCubeHeight(c[0], int32_t(c[1]), int32_t(c[2]), height));
        EXPECT_NEAR(height, c[3], 1e-3f) << c[0] << " " << c[1] << " " << c[2];
    }
}

TEST(BitGridClock, FirstVisitDrawsNoBitsThenVisitsEndStrictlyAtMultiplesOfFive) {
    auto state = std::make_unique<BitGridState>();
    ResetRand();
    int frames = 0;
    do {
        state->clock += 1.0f;
        ++frames;
        EXPECT_EQ(BitGridBitCount(*state), 0) << "frame " << frames;
    } while (!BitGridVisitEnds(*state) && frames < 100);
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(RandState(), 1u);  // nothing drawn from the sequence

    state->clock = 10.0f;
    EXPECT_FALSE(BitGridVisitEnds(*state));
    state->clock = 10.5f;
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->clock, 10.5f);
    state->clock = 40.0f;  // far past several limits: one visit per call
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->visits, 3);

    for (const auto& [clock, count] :
         {std::pair{9.99f, 0}, {10.0f, 6}, {75.0f, 42}, {1.0e5f, kBitGridSlots}}) {
        state->clock = clock;
        EXPECT_EQ(BitGridBitCount(*state), count) << "clock " << clock;
    }
}

TEST(BitGridBits, MoveOnTheFirstFrameHideForThreeAndAHalfUnitsAndMoveWhenLifeIsZero) {
    auto state = std::make_unique<BitGridState>();
    // Bit 0 lives 6 units: moved on frame 1, hidden on frames 1..4 (elapsed under 3.5), shown on
    // 5 and 6, moved again on frame 7 when its life reaches exactly 0.
    const bool expectedVisible[] = {false, false, false, false, true, true, false};
    for (int frame = 0; frame < 7; ++frame) {
        const uint32_t before = RandState();
        EXPECT_EQ(BitGridUpdateBit(*state, 0, 1.0f), expectedVisible[frame]) << frame + 1;
        EXPECT_EQ(RandState() != before, frame == 0 || frame == 6) << frame + 1;
    }
    EXPECT_FLOAT_EQ(state->life[0], 6.0f);
    BitGridUpdateBit(*state, 10, 1.0f);  // a later bit lives 0.2 i + 6
    EXPECT_FLOAT_EQ(state->life[10], 8.0f);
    // Step zero leaves a living bit as it is.
    BitGridUpdateBit(*state, 3, 1.0f);  // moved
    BitGridUpdateBit(*state, 3, 4.0f);  // shown
    const float life = state->life[3];
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_TRUE(BitGridUpdateBit(*state, 3, 0.0f));
    }
    EXPECT_EQ(state->life[3], life);
    state->cellX[1] = 20;
    state->cellY[1] = 39;
    EXPECT_FLOAT_EQ(BitGridBitX(*state, 1), 0.0f);
    EXPECT_FLOAT_EQ(BitGridBitY(*state, 1), 0.95f);
}

using BitGridPicture = GlTest;

// Six live bits in a row of cells over white: only bit 0 has come up; the others, still hidden,
// leave their 16 x 12 cells untouched.
TEST_F(BitGridPicture, OnlyBitsThatHaveComeUpShow) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    bitGrid = BitGridState{};
    bitGrid.clock = 15.0f;
    for (int i = 0; i < 6; ++i) {
        bitGrid.life[i] = i == 0 ? 1.0f : 0.2f * static_cast<float>(i) + 5.9f;
        bitGrid.cellX[i] = 5 + 5 * i;
        bitGrid.cellY[i] = 30;
    }
    BitGridDraw(FrameInput{0.001f});
    const Picture picture = ReadPicture();
    for (int i = 0; i < 6; ++i) {
        const int x = 320 + 16 * (bitGrid.cellX[i] - 20);
        EXPECT_EQ(CountInRect(picture, Rgb{}, x - 8, 354, x + 8, 366), i == 0 ? 16 * 12 : 0) << i;
    }
}

}  // namespace
