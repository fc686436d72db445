// Bit grid: black bits blinking on at random cells of a 40 x 40 screen grid, under a caption.
#include "scenes/bit_grid.h"

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gfx/sprite.h"
#include "platform/gl.h"
#include "scenes/scene_state.h"
#include "scenes/scenes.h"

namespace {

constexpr float kVisitLength = 5.0f;  // the visits end at cumulative multiples of this
constexpr float kCell = 0.05f;        // one grid cell, half-screen units (16 x 12 pixels)
constexpr float kHalfCell = 0.025f;

}  // namespace

thread_local BitGridState bitGrid;

int32_t BitGridBitCount(const BitGridState& state) {
    const int32_t count = 6 * static_cast<int32_t>(state.clock / 10.0f);
    // The show's clock stays below 80 (42 bits); a huge step must not run past the slots.
    if (count > kBitGridSlots) {
        return kBitGridSlots;
    }
    return count < 0 ? 0 : count;
}

bool BitGridUpdateBit(BitGridState& state, int32_t i, float step) {
    const float index = static_cast<float>(i);
    state.life[i] = state.life[i] - step;
    if (!(state.life[i] > 0.0f)) {
        state.life[i] = 0.2f * index + 6.0f;
        state.cellX[i] = Rand() % 40;
        state.cellY[i] = Rand() % 40;
    }
    return (0.2f * index + 3.0f - state.life[i]) * 0.05f >= 0.025f;
}

float BitGridBitX(const BitGridState& state, int32_t i) {
    return static_cast<float>(state.cellX[i] - 20) * kCell;
}

float BitGridBitY(const BitGridState& state, int32_t i) {
    return static_cast<float>(state.cellY[i] - 20) * kCell;
}

bool BitGridVisitEnds(BitGridState& state) {
    if (state.clock > kVisitLength * static_cast<float>(state.visits + 1)) {
        state.visits = state.visits + 1;
        return true;
    }
    return false;
}

bool BitGridDraw(const FrameInput& frame) {
    BitGridState& state = bitGrid;
    const float step = frame.frameStep;
    state.clock = state.clock + step;
    const int32_t count = BitGridBitCount(state);

    Begin2D();
    Sprite bit;
    bit.alphaBlend = true;
    bit.color = Color4{0.0f, 0.0f, 0.0f, 1.0f};
    bit.textured = false;
    bit.rotation = 0.0f;
    bit.halfWidth = kHalfCell;
    bit.halfHeight = kHalfCell;
    for (int32_t i = 0; i < count; ++i) {
        const bool visible = BitGridUpdateBit(state, i, step);
        bit.x = BitGridBitX(state, i);
        bit.y = BitGridBitY(state, i);
        DrawSprite(bit, visible ? 1.0f : 0.0f);
    }
    End2D();

    PushTextSpace();
    SetTextPosition(smallFont, -1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 1.0f);
    PrintText(smallFont, "mystery of FILE. bits.");
    glPopMatrix();

    return BitGridVisitEnds(state);
}

void BitGridStateBlocks(SceneStateBlocks& blocks) {
    AddStateBlock(blocks, bitGrid);
}
