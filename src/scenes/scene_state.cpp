// Every scene's carried state as one run of bytes.
#include "scenes/scene_state.h"

#include <cstring>

namespace {

using StateBlocksRoutine = void (*)(SceneStateBlocks& blocks);

constexpr StateBlocksRoutine kScenes[] = {
    NoiseSphereStateBlocks,  TumblingRingsStateBlocks, TubeCarouselStateBlocks,
    BoxFieldsStateBlocks,    BitGridStateBlocks,       SphereBurstStateBlocks,
    TorusNestStateBlocks,    WordSpheresStateBlocks,   GreetingsScrollStateBlocks,
    WobblingCoreStateBlocks, SphereOrreryStateBlocks,  EndTitlesStateBlocks,
    PaddleGameStateBlocks,
};

// The blocks never move (they are globals), so the list is built once.
const SceneStateBlocks& AllBlocks() {
    // Per thread, as the records are.
    thread_local const SceneStateBlocks blocks = [] {
        SceneStateBlocks all;
        for (StateBlocksRoutine routine : kScenes) {
            routine(all);
        }
        return all;
    }();
    return blocks;
}

}  // namespace

void SaveSceneState(std::vector<uint8_t>& bytes) {
    size_t total = 0;
    for (const SceneStateBlock& block : AllBlocks()) {
        total += block.bytes;
    }
    bytes.resize(total);
    size_t at = 0;
    for (const SceneStateBlock& block : AllBlocks()) {
        std::memcpy(bytes.data() + at, block.data, block.bytes);
        at += block.bytes;
    }
}

void RestoreSceneState(const std::vector<uint8_t>& bytes) {
    size_t at = 0;
    for (const SceneStateBlock& block : AllBlocks()) {
        if (at + block.bytes > bytes.size()) {
            return;
        }
        std::memcpy(block.data, bytes.data() + at, block.bytes);
        at += block.bytes;
    }
}
