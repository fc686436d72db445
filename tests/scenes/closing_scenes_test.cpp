// The closing scenes' clocks: word spheres, greetings, wobbling core, orrery and end titles, each
// with its strict hand-over.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "scene_test_support.h"
#include "scenes/end_titles.h"
#include "scenes/greetings_scroll.h"
#include "scenes/scenes.h"
#include "scenes/sphere_orrery.h"
#include "scenes/wobbling_core.h"
#include "scenes/word_spheres.h"

namespace {

TEST(WordSpheres, EachBoundBelongsToTheEarlierWord) {
    const std::pair<float, const char*> cases[] = {
        {0.0f, "YOU"},     {5.0f, "YOU"},      {std::nextafter(5.0f, 6.0f), "should"},
        {10.0f, "should"}, {10.5f, "be"},      {15.0f, "be"},
        {17.0f, "happy"},  {20.0f, "happy"},   {21.0f, "cuz"},
        {25.0f, "cuz"},    {25.01f, "we are"}, {30.0f, "we are"},
        {31.0f, "bored"},  {35.0f, "bored"},   {std::nextafter(35.0f, 36.0f), "<none>"}};
    for (const auto& [t, expected] : cases) {
        const char* word = SentenceWord(t);
        EXPECT_EQ(std::string(word != nullptr ? word : "<none>"), expected) << "t " << t;
    }
}

TEST(WordSpheres, SentencesRepeatFasterAndFeedbackAndHandOverWaitForTheirLimits) {
    WordSpheres scene;
    std::vector<int> sentenceFrames;  // frames each sentence lasted, blank frame included
    int frames = 0;
    for (int frame = 0; frame < 180; ++frame) {
        WordSpheresAdvance(scene, 1.0f);
        ++frames;
        if (SentenceWord(scene.wordClock) == nullptr) {
            sentenceFrames.push_back(frames);
            frames = 0;
        }
        WordSpheresFinishFrame(scene);
    }
    // 35 units at speed 1, 1.5, 2, 2.5, the clock back at 0 after each blank frame: a sentence
    // ends once its clock is strictly past 35 (14 * 2.5 = 35 is not).
    sentenceFrames.resize(4);
    EXPECT_EQ(sentenceFrames, (std::vector<int>{36, 24, 18, 15}));

    scene = WordSpheres{};
    scene.clock = 49.0f;
    WordSpheresAdvance(scene, 1.0f);
    EXPECT_FALSE(WordSpheresFeedbackOn(scene));
    WordSpheresAdvance(scene, 0.25f);
    EXPECT_TRUE(WordSpheresFeedbackOn(scene));
    ExpectStrictHandOver<WordSpheres>(WordSpheresFinishFrame, 180.0f);
}

TEST(GreetingsScroll, HeadingLeadsTheNamesTwoApartRisingPointFifteenPerUnit) {
    EXPECT_STREQ(GreetingText(0), "Greetings:");
    EXPECT_STREQ(GreetingText(4), "7prism");
    EXPECT_STREQ(GreetingText(9), "quimbelt");
    for (int line = 0; line < kGreetingLineCount; ++line) {
        EXPECT_EQ(GreetingLineY(0.0f, line), 0.5f - 2.0f * static_cast<float>(line)) << line;
    }
    EXPECT_FLOAT_EQ(GreetingLineY(10.0f, 0), 2.0f);
    EXPECT_NEAR(GreetingLineY(120.0f, 9), 0.5f, 1e-5f);  // the last name where the heading began
    ExpectStrictHandOver<GreetingsScroll>(GreetingsScrollFinishFrame, 200.0f);
}

TEST(WobblingCore, SnapBackShellStepsWordsAndHandOverAreStrict) {
    WobblingCore scene;
    for (const auto& [eyeZ, pullOuts] : {std::pair{100.0f, 0}, {100.01f, 1}, {120.0f, 1}}) {
        scene.camera.eyeZ = eyeZ;
        WobblingCoreSnapBack(scene);
        EXPECT_EQ(scene.pullOuts, pullOuts) << "eye z " << eyeZ;
    }
    ExpectAtClocks(WobblingCoreShellAngle, {0.0f, 9.99f, 10.0f, 25.5f, 199.9f},
                   {0.0f, 0.0f, 30.0f, 60.0f, 570.0f});
    ExpectAtClocks(WobblingCoreWords,
                   {0.0f, 59.99f, 60.0f, 119.99f, 120.0f, 179.99f, 180.0f, 200.0f},
                   {0, 0, 1, 1, 2, 2, -1, -1});
    ExpectStrictHandOver<WobblingCore>(WobblingCoreFinishFrame, 200.0f);
}

TEST(SphereOrrery, EyeFlickerClosingQuartersWordsAndHandOverKeepTheirBounds) {
    EXPECT_FLOAT_EQ(SphereOrreryEye(0.0f).x, -100.0f);
    for (float clock = 0.0f; clock < 220.0f; clock += 1.3f) {
        const Vec3 eye = SphereOrreryEye(clock);
        EXPECT_NEAR(Vec3Length(eye), 100.0, 1e-3) << clock;
    }
    ExpectAtClocks(SphereOrreryFlickerQuarter, {0.5f, 1.0f, 2.9f, 3.0f, 4.2f, 199.0f},
                   {0, 1, 2, 3, 0, 3});
    // Lit while 50 * clock truncates to an odd number: never on whole units.
    ExpectAtClocks(SphereOrreryFlickerAlpha, {0.0f, 0.02f, 0.05f, 0.07f, 1.0f},
                   {0.0f, 1.0f, 0.0f, 1.0f, 0.0f});
    ExpectAtClocks(SphereOrreryClosedQuarters,
                   {170.0f, 170.5f, 180.0f, 185.0f, 190.5f, 200.0f, 200.5f}, {0, 1, 1, 2, 3, 3, 4});
    // Words only inside open intervals.
    ExpectAtClocks(
        SphereOrreryWord,
        {0.0f, 30.0f, 30.5f, 59.9f, 60.0f, 60.5f, 90.0f, 95.0f, 105.0f, 106.0f, 154.9f, 155.0f},
        {-1, -1, 0, 0, -1, 1, -1, 2, -1, 3, 3, -1});
    ExpectStrictHandOver<SphereOrrery>(SphereOrreryFinishFrame, 200.0f);
}

// Cells are set in number order: exactly the first min(count, 24).
::testing::AssertionResult CellsSetInOrder(const CellCover& cover) {
    const int set = std::min(cover.count, 24);
    const auto filled = std::count(std::begin(cover.fill), std::end(cover.fill), 1);
    if (filled != set || (set > 0 && cover.fill[set - 1] != 1)) {
        return ::testing::AssertionFailure()
               << filled << " cells set for a count of " << cover.count;
    }
    return ::testing::AssertionSuccess();
}

TEST(EndTitles, CoversFillTwentyFourCellsInOrderAndNeverTheLast) {
    CellCover cover;
    for (int frame = 0; frame < 3; ++frame) {
        CellCoverStep(cover, 1.0f);
    }
    EXPECT_EQ(cover.count, 0) << "a timer of exactly 3 has not passed 3";
    CellCoverStep(cover, 1.0f);
    EXPECT_EQ(cover.count, 1);
    EXPECT_EQ(cover.timer, 0.0f);

    EndTitlesInit();
    // A copy of the record as the set-up leaves it: the steps take the record they work on.
    EndTitles scene = endTitles;
    while (scene.clock < 580.0f) {
        EndTitlesAdvance(scene, 1.0f);
        EndTitlesCover(scene, 1.0f);
        ASSERT_TRUE(CellsSetInOrder(scene.black)) << "black, clock " << scene.clock;
        ASSERT_TRUE(CellsSetInOrder(scene.white)) << "white, clock " << scene.clock;
        EXPECT_TRUE(scene.clock > 330.0f || scene.black.count == 0) << scene.clock;
        EXPECT_TRUE(scene.clock > 350.0f || scene.white.count == 0) << scene.clock;
    }
    EXPECT_GT(scene.white.count, 24);
    EXPECT_EQ(scene.black.fill[24], 0);
    EXPECT_EQ(scene.white.fill[24], 0);
    ExpectStrictHandOver<EndTitles>(EndTitlesFinishFrame, 580.0f);
}

}  // namespace
