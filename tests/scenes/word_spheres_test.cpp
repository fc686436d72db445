// Word spheres' sentence clock, feedback start and hand-over, and the blocky feedback on screen.
#include "scenes/word_spheres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "closing_scene_support.h"
#include "gfx/texture.h"
#include "scenes/scenes.h"

namespace {

TEST(WordSpheres, EachBoundBelongsToTheEarlierWord) {
    const struct {
        float t;
        const char* word;
    } cases[] = {{0.0f, "YOU"},     {5.0f, "YOU"},      {std::nextafter(5.0f, 6.0f), "should"},
                 {10.0f, "should"}, {10.5f, "be"},      {15.0f, "be"},
                 {17.0f, "happy"},  {20.0f, "happy"},   {21.0f, "cuz"},
                 {25.0f, "cuz"},    {25.01f, "we are"}, {30.0f, "we are"},
                 {31.0f, "bored"},  {35.0f, "bored"},   {std::nextafter(35.0f, 36.0f), "<none>"}};
    for (const auto& c : cases) {
        const char* word = SentenceWord(c.t);
        EXPECT_EQ(std::string(word != nullptr ? word : "<none>"), c.word) << "t " << c.t;
    }
}

TEST(WordSpheres, SentencesRepeatFasterWithOneBlankFrameBetween) {
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
    ASSERT_GE(sentenceFrames.size(), 4u);
    EXPECT_EQ(sentenceFrames[0], 36);
    EXPECT_EQ(sentenceFrames[1], 24);
    EXPECT_EQ(sentenceFrames[2], 18);
    EXPECT_EQ(sentenceFrames[3], 15);
}

TEST(WordSpheres, FeedbackAndHandOverWaitForTheClockToPassTheirLimits) {
    WordSpheres scene;
    scene.clock = 49.0f;
    WordSpheresAdvance(scene, 1.0f);
    EXPECT_FALSE(WordSpheresFeedbackOn(scene));
    WordSpheresAdvance(scene, 0.25f);
    EXPECT_TRUE(WordSpheresFeedbackOn(scene));
    ExpectStrictHandOver<WordSpheres>(WordSpheresFinishFrame, 180.0f);
}

using WordSpheresDrawTest = ClosingSceneTest<WordSpheresInit>;

// Pixels in rows [y0, y1) that differ from their left neighbour inside a 10-pixel block column.
int EdgesInsideBlocks(const Picture& picture, int y0, int y1) {
    int edges = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = 1; x < picture.width; ++x) {
            edges += x % 10 != 0 && !(PixelAt(picture, x, y) == PixelAt(picture, x - 1, y));
        }
    }
    return edges;
}

TEST_F(WordSpheresDrawTest, TurnsBlockyOnTheFirstFrameAfterClockFifty) {
    // The scene binds no texture itself: the spheres wear the noise the previous scene left bound.
    BindTexture(*sharedTextures[7]);
    for (int frame = 1; frame < 50; ++frame) {
        DrawNormalFrame(WordSpheresDraw, 1.0f, false);
    }
    // Clock 50: sharp noise and lines below the word, many edges inside any 10-pixel column.
    Picture picture = DrawNormalFrame(WordSpheresDraw, 1.0f);
    EXPECT_GT(EdgesInsideBlocks(picture, 300, 480), 300);
    // Clock 51: the 64 x 64 capture stretched to 10-pixel-wide blocks; the word is drawn after
    // it, so only rows below the large text are checked.
    bool visitOver = true;
    picture = DrawNormalFrame(WordSpheresDraw, 1.0f, true, &visitOver);
    EXPECT_EQ(EdgesInsideBlocks(picture, 300, 480), 0);
    EXPECT_GT(CountInRect(picture, 0, 300, 640, 480, Rgb{0, 0, 0}), 1000)
        << "the blocks show the spheres, not an empty picture";
    EXPECT_FALSE(visitOver);
}

}  // namespace
