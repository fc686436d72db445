// Bit grid: 5-unit visit limits, a first visit without bits, bit moves and cells, and drawing.
#include "scenes/bit_grid.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>

#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"
#include "shell/demo_globals.h"
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

// Drawing on the offscreen demo window.
namespace {

class BitGridDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (smallFont.base == 0) {
            CreateToolkitStartupResources();
        }
        *saved = bitGrid;
        bitGrid = BitGridState{};
        sceneCounter = 12;
        frameStep = 1.0f;
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    void TearDown() override {
        bitGrid = *saved;
        sceneCounter = 0;
        frameStep = 0.0f;
        GlTest::TearDown();
    }
    // A frame as the driver runs it: white clear, identity, draw.
    Picture DrawFrame() {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        BitGridDraw();
        return ReadPicture();
    }
    std::unique_ptr<BitGridState> saved = std::make_unique<BitGridState>();
};

// The caption stands in the top 48 rows, left of x = 520.
bool InCaptionArea(int32_t x, int32_t y) {
    return y < 48 && x < 520;
}

int32_t NonWhiteOutsideCaption(const Picture& picture, const std::vector<bool>& allowed) {
    int32_t count = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            if (!InCaptionArea(x, y) && !allowed[y * picture.width + x] &&
                !(PixelAt(picture, x, y) == Rgb{255, 255, 255})) {
                ++count;
            }
        }
    }
    return count;
}

TEST_F(BitGridDrawTest, BitsShowAsBlackCellsAfterTheirHiddenStartUnderTheCaption) {
    bitGrid.clock = 19.0f;
    bitGrid.visits = 4;  // next limit 25
    const std::vector<bool> nothing(640 * 480, false);

    // Frames 1..4 (clock 20..23): twelve bits just moved, all hidden; only the caption shows.
    for (int frame = 1; frame <= 4; ++frame) {
        const Picture picture = DrawFrame();
        ASSERT_EQ(BitGridBitCount(bitGrid), 12);
        EXPECT_EQ(NonWhiteOutsideCaption(picture, nothing), 0) << "frame " << frame;
        int32_t captionInk = 0;
        for (int32_t y = 0; y < 48; ++y) {
            for (int32_t x = 0; x < 520; ++x) {
                captionInk += PixelAt(picture, x, y) == Rgb{0, 0, 0} ? 1 : 0;
            }
        }
        EXPECT_GT(captionInk, 300) << "frame " << frame;
    }

    // Frame 5: every bit is a black 16 x 12 rectangle centred on its grid point, nothing else.
    const Picture picture = DrawFrame();
    std::vector<bool> bits(640 * 480, false);
    for (int32_t i = 0; i < 12; ++i) {
        const int32_t cx = 16 * bitGrid.cellX[i];
        const int32_t cy = 12 * bitGrid.cellY[i];
        EXPECT_EQ(PixelAt(picture, cx, cy), (Rgb{0, 0, 0})) << "bit " << i;
        for (int32_t y = cy - 6; y < cy + 6; ++y) {
            for (int32_t x = cx - 8; x < cx + 8; ++x) {
                if (x >= 0 && y >= 0 && x < 640 && y < 480) {
                    bits[y * 640 + x] = true;
                }
            }
        }
    }
    EXPECT_EQ(NonWhiteOutsideCaption(picture, bits), 0);
    EXPECT_EQ(sceneCounter, 12);

    // Clock 25 is not past the limit; clock 26 is, and hands over once.
    DrawFrame();
    EXPECT_EQ(sceneCounter, 12);
    DrawFrame();
    EXPECT_EQ(sceneCounter, 13);
    EXPECT_EQ(bitGrid.visits, 5);
}

}  // namespace
