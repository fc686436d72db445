// Wobbling core's accelerating pull-outs, shell steps, word timing and hand-over, and its wave.
#include "scenes/wobbling_core.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "closing_scene_support.h"
#include "scenes/scenes.h"

namespace {

TEST(WobblingCore, PullOutsReachTwentyFurtherEachTimeAndComeFaster) {
    WobblingCoreInit();
    std::vector<float> farthest;  // eye z on each frame that snaps back
    std::vector<int> frames;
    for (int frame = 0; frame < 200; ++frame) {
        WobblingCoreAdvance(wobblingCore, 1.0f);
        const float eyeZ = wobblingCore.camera.eyeZ;
        const int before = wobblingCore.pullOuts;
        WobblingCoreSnapBack(wobblingCore);
        if (wobblingCore.pullOuts != before) {
            EXPECT_EQ(wobblingCore.camera.eyeZ, 30.0f);
            EXPECT_EQ(wobblingCore.camera.eyeY, 10.0f);
            farthest.push_back(eyeZ);
            frames.push_back(frame);
        }
    }
    ASSERT_GE(farthest.size(), 3u);
    for (size_t i = 0; i < farthest.size(); ++i) {
        const float limit = 100.0f + 20.0f * static_cast<float>(i);
        EXPECT_GT(farthest[i], limit) << i;
        EXPECT_LT(farthest[i], limit + 12.0f) << i;  // one frame's move at most past it
    }
    for (size_t i = 2; i < frames.size(); ++i) {
        EXPECT_LT(frames[i] - frames[i - 1], frames[1] - frames[0]) << i;
    }
}

TEST(WobblingCore, SnapBackShellStepsWordsAndHandOverAreStrict) {
    WobblingCore scene;
    const std::pair<float, int> pullOutsCases[] = {{100.0f, 0}, {100.01f, 1}, {120.0f, 1}};
    for (const auto& [eyeZ, pullOuts] : pullOutsCases) {
        scene.camera.eyeZ = eyeZ;
        WobblingCoreSnapBack(scene);
        EXPECT_EQ(scene.pullOuts, pullOuts) << "eye z " << eyeZ;
    }
    const std::pair<float, float> angleCases[] = {
        {0.0f, 0.0f}, {9.99f, 0.0f}, {10.0f, 30.0f}, {25.5f, 60.0f}, {199.9f, 570.0f}};
    for (const auto& [clock, angle] : angleCases) {
        EXPECT_EQ(WobblingCoreShellAngle(clock), angle) << "clock " << clock;
    }
    const std::pair<float, int> wordsCases[] = {{0.0f, 0},    {59.99f, 0}, {60.0f, 1},
                                                {119.99f, 1}, {120.0f, 2}, {179.99f, 2},
                                                {180.0f, -1}, {200.0f, -1}};
    for (const auto& [clock, words] : wordsCases) {
        EXPECT_EQ(WobblingCoreWords(clock), words) << "clock " << clock;
    }
    ExpectStrictHandOver<WobblingCore>(WobblingCoreFinishFrame, 200.0f);
}

using WobblingCoreDrawTest = ClosingSceneTest<WobblingCoreInit>;

TEST_F(WobblingCoreDrawTest, WaveNeverAccumulatesBetweenFrames) {
    // Two visits of the same clocks give the same pictures only if the core's vertices are back
    // in place after every frame and the camera and shells follow the clock alone.
    std::vector<Picture> first;
    for (int frame = 0; frame < 12; ++frame) {
        first.push_back(DrawNormalFrame(WobblingCoreDraw, 1.5f));
    }
    WobblingCoreInit();
    for (int frame = 0; frame < 12; ++frame) {
        EXPECT_EQ(DrawNormalFrame(WobblingCoreDraw, 1.5f).rgb, first[frame].rgb) << frame;
    }
}

}  // namespace
