// Bit grid: 5-unit visit limits, a first visit without bits, bit moves and cells, and drawn bits.
#include "scenes/bit_grid.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "scenes/scenes.h"

namespace {

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
    EXPECT_EQ(state->visits, 1);
    EXPECT_EQ(RandState(), 1u);  // nothing drawn from the sequence

    state->clock = 10.0f;
    EXPECT_FALSE(BitGridVisitEnds(*state));
    state->clock = 10.5f;
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->clock, 10.5f);
    state->clock = 40.0f;  // far past several limits: one visit per call
    EXPECT_TRUE(BitGridVisitEnds(*state));
    EXPECT_EQ(state->visits, 3);

    const std::pair<float, int32_t> counts[] = {
        {9.99f, 0}, {10.0f, 6}, {75.0f, 42}, {1.0e5f, kBitGridSlots}};
    for (const auto& [clock, count] : counts) {
        state->clock = clock;
        EXPECT_EQ(BitGridBitCount(*state), count) << "clock " << clock;
    }
}

TEST(BitGridBits, MovesOnFirstFrameHidesForThreeAndAHalfUnitsAndMovesWhenLifeIsZero) {
    auto state = std::make_unique<BitGridState>();
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
        EXPECT_EQ(RandState() != before, frame == 0 || frame == 6) << frame + 1;
        if (frame == 0) {
            EXPECT_EQ(state->cellX[0], x0);
            EXPECT_EQ(state->cellY[0], y0);
        }
    }
    EXPECT_FLOAT_EQ(state->life[0], 6.0f);
    BitGridUpdateBit(*state, 10, 1.0f);  // a later bit lives 0.2 i + 6
    EXPECT_FLOAT_EQ(state->life[10], 8.0f);

    // Step zero leaves a living bit as it is.
    BitGridUpdateBit(*state, 3, 1.0f);
    BitGridUpdateBit(*state, 3, 4.0f);
    const BitGridState before = *state;
    const uint32_t randBefore = RandState();
    for (int frame = 0; frame < 5; ++frame) {
        EXPECT_TRUE(BitGridUpdateBit(*state, 3, 0.0f));
    }
    EXPECT_EQ(state->life[3], before.life[3]);
    EXPECT_EQ(state->cellX[3], before.cellX[3]);
    EXPECT_EQ(RandState(), randBefore);

    state->cellX[1] = 20;
    state->cellY[1] = 39;
    EXPECT_FLOAT_EQ(BitGridBitX(*state, 1), 0.0f);
    EXPECT_FLOAT_EQ(BitGridBitY(*state, 1), 0.95f);
    state->cellX[1] = 0;
    state->cellY[1] = 21;
    EXPECT_FLOAT_EQ(BitGridBitX(*state, 1), -1.0f);
    EXPECT_FLOAT_EQ(BitGridBitY(*state, 1), 0.05f);
}

class BitGridDrawTest : public GlTest {};

// Whether a pixel outside the caption (top 48 rows, left of 520) and the given mask is not white.
int32_t StrayInk(const Picture& picture, const std::vector<bool>& mask) {
    int32_t count = 0;
    for (int32_t y = 0; y < picture.height; ++y) {
        for (int32_t x = 0; x < picture.width; ++x) {
            count += !(y < 48 && x < 520) && !mask[y * picture.width + x] &&
                     !(PixelAt(picture, x, y) == Rgb{255, 255, 255});
        }
    }
    return count;
}

TEST_F(BitGridDrawTest, BitsShowAsBlackCellsAfterTheirHiddenStart) {
    if (smallFont.base == 0) {
        CreateToolkitStartupResources();
    }
    auto saved = std::make_unique<BitGridState>(bitGrid);
    bitGrid = BitGridState{};
    bitGrid.clock = 19.0f;
    bitGrid.visits = 4;  // next limit 25
    FrameInput input;
    input.frameStep = 1.0f;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    std::vector<bool> bits(640 * 480, false);
    // Frames 1..4 (clock 20..23): twelve bits just moved, all hidden. Frame 5: every bit is a
    // black 16 x 12 rectangle centred on its grid point, nothing else.
    for (int frame = 1; frame <= 5; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        EXPECT_FALSE(BitGridDraw(input));
        const Picture picture = ReadPicture();
        ASSERT_EQ(BitGridBitCount(bitGrid), 12);
        for (int32_t i = 0; frame == 5 && i < 12; ++i) {
            const int32_t cx = 16 * bitGrid.cellX[i];
            const int32_t cy = 12 * bitGrid.cellY[i];
            EXPECT_EQ(PixelAt(picture, cx, cy), (Rgb{0, 0, 0})) << "bit " << i;
            for (int32_t y = std::max(cy - 6, 0); y < std::min(cy + 6, 480); ++y) {
                for (int32_t x = std::max(cx - 8, 0); x < std::min(cx + 8, 640); ++x) {
                    bits[y * 640 + x] = true;
                }
            }
        }
        EXPECT_EQ(StrayInk(picture, bits), 0) << "frame " << frame;
    }
    bitGrid = *saved;
}

}  // namespace
