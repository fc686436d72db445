// Every scene's state that lives from one frame to the next (its record and the globals of its
// file that frames change: cameras, sprites), gathered for a snapshot of the show.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

// One piece of a scene's state: a plain record copied byte for byte.
struct SceneStateBlock {
    void* data;
    size_t bytes;
};

using SceneStateBlocks = std::vector<SceneStateBlock>;

template <typename T>
void AddStateBlock(SceneStateBlocks& blocks, T& value) {
    static_assert(std::is_trivially_copyable_v<T>, "scene state is copied byte for byte");
    blocks.push_back(SceneStateBlock{&value, sizeof value});
}

// Each scene's file adds its own blocks. The meshes, display lists and sprites' fixed settings
// that the set-ups build are not among them: no frame changes them (a deformed mesh is put back
// within its frame).
void NoiseSphereStateBlocks(SceneStateBlocks& blocks);
void TumblingRingsStateBlocks(SceneStateBlocks& blocks);
void TubeCarouselStateBlocks(SceneStateBlocks& blocks);
void BoxFieldsStateBlocks(SceneStateBlocks& blocks);
void BitGridStateBlocks(SceneStateBlocks& blocks);
void SphereBurstStateBlocks(SceneStateBlocks& blocks);
void TorusNestStateBlocks(SceneStateBlocks& blocks);
void WordSpheresStateBlocks(SceneStateBlocks& blocks);
void GreetingsScrollStateBlocks(SceneStateBlocks& blocks);
void WobblingCoreStateBlocks(SceneStateBlocks& blocks);
void SphereOrreryStateBlocks(SceneStateBlocks& blocks);
void EndTitlesStateBlocks(SceneStateBlocks& blocks);
void PaddleGameStateBlocks(SceneStateBlocks& blocks);

// Copies every scene's state into `bytes` (resized to fit), and back. Main thread.
void SaveSceneState(std::vector<uint8_t>& bytes);
void RestoreSceneState(const std::vector<uint8_t>& bytes);
