// Bit grid logic: the cumulative 5-unit visit limits, a first visit without bits, the bits' moves,
// their hidden start and their cells on the 40 x 40 grid.
#include "scenes/bit_grid.h"

#include <gtest/gtest.h>

#include <memory>

#include "shell/random.h"

namespace {

std::unique_ptr<BitGridState> FreshState() {
    return std::make_unique<BitGridState>();
}

TEST(BitGridClock, FirstVisitDrawsNoBitsAndNoRandomNumbers) {
    auto state = FreshState();
    ResetRand();
    int frames = 0;
    bool ended = false;
    while (!ended) {
        state->clock += 1.0f;
        ++frames;
        EXPECT_EQ(BitGridBitCount(*state), 0) << "frame " << frames;
        ended = BitGridVisitEnds(*state);
    }
    EXPECT_EQ(frames, 6);
    EXPECT_EQ(state->visits, 1);
    EXPECT_EQ(RandState(), 1u);  // nothing drawn from the sequence
}

TEST(BitGridClock, VisitsEndAtCumulativeMultiplesOfFiveStrictly) {
    auto state = FreshState();
    state->clock = 5.0f;
    EXPECT_FALSE(BitGridVisitEnds(*state));
    state->clock = 5.5f;
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->clock, 5.5f);
    state->clock = 10.0f;
    EXPECT_FALSE(BitGridVisitEnds(*state));
    state->clock = 10.5f;
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->visits, 2);
    // A clock far past several limits ends one visit per call.
    state->clock = 40.0f;
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->visits, 3);
}

TEST(BitGridBits, SixMoreEveryTenUnitsCappedAtTheSlots) {
    auto state = FreshState();
    state->clock = 9.99f;
    EXPECT_EQ(BitGridBitCount(*state), 0);
    state->clock = 10.0f;
    EXPECT_EQ(BitGridBitCount(*state), 6);
    state->clock = 75.0f;
    EXPECT_EQ(BitGridBitCount(*state), 42);
    state->clock = 1.0e5f;
    EXPECT_EQ(BitGridBitCount(*state), kBitGridSlots);
}

TEST(BitGridBits, MovesOnFirstFrameHidesForThreeAndAHalfUnitsAndMovesWhenLifeIsZero) {
    auto state = FreshState();
    ResetRand();
    const int32_t x0 = Rand() % 40;
    const int32_t y0 = Rand() % 40;
    ResetRand();

    // Bit 0 lives 6 units: moved on frame 1, hidden on frames 1..4 (elapsed under 3.5), shown on
    // 5 and 6, moved again on frame 7 when its life reaches exactly 0.
    const bool expectedVisible[] = {false, false, false, false, true, true, false};
    for (int frame = 0; frame < 7; ++frame) {
        const uint32_t before = RandState();
        EXPECT_EQ(BitGridUpdateBit(*state, 0, 1.0f), expectedVisible[frame]) << frame + 1;
        const bool moved = RandState() != before;
        EXPECT_EQ(moved, frame == 0 || frame == 6) << frame + 1;
        if (frame == 0) {
            EXPECT_EQ(state->cellX[0], x0);
            EXPECT_EQ(state->cellY[0], y0);
        }
    }
    EXPECT_FLOAT_EQ(state->life[0], 6.0f);

    // A later bit lives longer: 0.2 i + 6.
    BitGridUpdateBit(*state, 10, 1.0f);
    EXPECT_FLOAT_EQ(state->life[10], 8.0f);
}

TEST(BitGridBits, StepZeroLeavesLivingBitsAsTheyAre) {
    auto state = FreshState();
    BitGridUpdateBit(*state, 3, 1.0f);
    BitGridUpdateBit(*state, 3, 4.0f);
    const float life = state->life[3];
    const int32_t x = state->cellX[3];
    const int32_t y = state->cellY[3];
    const uint32_t before = RandState();
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_TRUE(BitGridUpdateBit(*state, 3, 0.0f));
    }
    EXPECT_EQ(state->life[3], life);
    EXPECT_EQ(state->cellX[3], x);
    EXPECT_EQ(state->cellY[3], y);
    EXPECT_EQ(RandState(), before);
}

TEST(BitGridBits, CellsMapToHalfScreenUnitsFromMinusOneTo095) {
    auto state = FreshState();
    state->cellX[0] = 0;
    state->cellY[0] = 39;
    state->cellX[1] = 20;
    state->cellY[1] = 21;
    EXPECT_FLOAT_EQ(BitGridBitX(*state, 0), -1.0f);
    EXPECT_FLOAT_EQ(BitGridBitY(*state, 0), 0.95f);
    EXPECT_FLOAT_EQ(BitGridBitX(*state, 1), 0.0f);
    EXPECT_FLOAT_EQ(BitGridBitY(*state, 1), 0.05f);
    // Every cell drawn stays on the grid.
    ResetRand();
    for (int32_t i = 0; i < 42; ++i) {
        BitGridUpdateBit(*state, i, 1.0f);
        EXPECT_GE(state->cellX[i], 0);
        EXPECT_LT(state->cellX[i], 40);
        EXPECT_GE(state->cellY[i], 0);
        EXPECT_LT(state->cellY[i], 40);
    }
}

}  // namespace
