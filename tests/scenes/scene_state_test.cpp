// Every scene's carried state is saved and put back whole.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "scenes/bit_grid.h"
#include "scenes/end_titles.h"
#include "scenes/noise_sphere.h"
#include "scenes/paddle_game.h"
#include "scenes/scene_state.h"
#include "scenes/word_spheres.h"

namespace {

TEST(SceneStateTest, RecordsChangedAfterASaveComeBackOnRestore) {
    noiseSphere.clock = 12.5f;
    noiseSphere.dotColumn[799] = 17;
    bitGrid.cellY[3] = 9;
    endTitles.white.fill[24] = 1;
    wordSpheres.camera.eyeZ = 3.0f;
    paddleGame.computerScore = 4;
    std::vector<uint8_t> saved;
    SaveSceneState(saved);
    // At least the records of every scene, the two large arrays of dots and bits among them.
    EXPECT_GT(saved.size(), sizeof noiseSphere + sizeof bitGrid + sizeof endTitles +
                                sizeof wordSpheres + sizeof paddleGame);

    noiseSphere = NoiseSphereState{};
    bitGrid = BitGridState{};
    endTitles = EndTitles{};
    wordSpheres = WordSpheres{};
    paddleGame = PaddleGame{};
    RestoreSceneState(saved);
    EXPECT_EQ(noiseSphere.clock, 12.5f);
    EXPECT_EQ(noiseSphere.dotColumn[799], 17);
    EXPECT_EQ(bitGrid.cellY[3], 9);
    EXPECT_EQ(endTitles.white.fill[24], 1);
    EXPECT_EQ(wordSpheres.camera.eyeZ, 3.0f);
    EXPECT_EQ(paddleGame.computerScore, 4);

    std::vector<uint8_t> again;
    SaveSceneState(again);
    EXPECT_TRUE(again == saved);
}

}  // namespace
