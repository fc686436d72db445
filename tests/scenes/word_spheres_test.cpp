// Word spheres' sentence clock, feedback start, camera path and hand-over, without GL.
#include "scenes/word_spheres.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "scenes/scenes.h"
#include "shell/demo_globals.h"

namespace {

std::string WordOrNone(float t) {
    const char* word = SentenceWord(t);
    return word != nullptr ? word : "<none>";
}

TEST(WordSpheres, EachBoundBelongsToTheEarlierWord) {
    EXPECT_EQ(WordOrNone(0.0f), "YOU");
    EXPECT_EQ(WordOrNone(5.0f), "YOU");
    EXPECT_EQ(WordOrNone(std::nextafter(5.0f, 6.0f)), "should");
    EXPECT_EQ(WordOrNone(10.0f), "should");
    EXPECT_EQ(WordOrNone(10.5f), "be");
    EXPECT_EQ(WordOrNone(15.0f), "be");
    EXPECT_EQ(WordOrNone(17.0f), "happy");
    EXPECT_EQ(WordOrNone(20.0f), "happy");
    EXPECT_EQ(WordOrNone(21.0f), "cuz");
    EXPECT_EQ(WordOrNone(25.0f), "cuz");
    EXPECT_EQ(WordOrNone(25.01f), "we are");
    EXPECT_EQ(WordOrNone(30.0f), "we are");
    EXPECT_EQ(WordOrNone(31.0f), "bored");
    EXPECT_EQ(WordOrNone(35.0f), "bored");
    EXPECT_EQ(WordOrNone(std::nextafter(35.0f, 36.0f)), "<none>");
}

TEST(WordSpheres, SentencesRepeatFasterWithOneBlankFrameBetween) {
    WordSpheres scene;
    std::vector<int> sentenceFrames;  // frames each sentence lasted, blank frame included
    int frames = 0;
    for (int frame = 0; frame < 180; ++frame) {
        WordSpheresAdvance(scene, 1.0f);
        ++frames;
        const bool blank = SentenceWord(scene.wordClock) == nullptr;
        const float rateBefore = scene.wordRate;
        WordSpheresFinishFrame(scene);
        if (blank) {
            EXPECT_EQ(scene.wordClock, 0.0f);
            EXPECT_EQ(scene.wordRate, rateBefore + 0.5f);
            sentenceFrames.push_back(frames);
            frames = 0;
        } else {
            EXPECT_EQ(scene.wordRate, rateBefore);
        }
    }
    // 35 units at speed 1, 1.5, 2, ...: the first blank comes at the 36th frame.
    ASSERT_GE(sentenceFrames.size(), 4u);
    EXPECT_EQ(sentenceFrames[0], 36);
    EXPECT_EQ(sentenceFrames[1], 24);  // 24 * 1.5 = 36 > 35
    EXPECT_EQ(sentenceFrames[2], 18);  // 18 * 2 = 36 > 35
    EXPECT_EQ(sentenceFrames[3], 15);  // 15 * 2.5 = 37.5, 14 * 2.5 = 35 is not past
}

TEST(WordSpheres, FeedbackStartsStrictlyAfterFifty) {
    WordSpheres scene;
    scene.clock = 49.0f;
    WordSpheresAdvance(scene, 1.0f);
    EXPECT_FALSE(WordSpheresFeedbackOn(scene));
    WordSpheresAdvance(scene, 0.25f);
    EXPECT_TRUE(WordSpheresFeedbackOn(scene));
}

TEST(WordSpheres, CameraWeavesFromTheClock) {
    WordSpheresInit();
    EXPECT_EQ(wordSpheres.camera.eyeX, 2.0f);
    EXPECT_EQ(wordSpheres.camera.eyeZ, 7.0f);
    WordSpheresAdvance(wordSpheres, 0.0f);
    EXPECT_EQ(wordSpheres.camera.eyeX, 0.0f);
    EXPECT_FLOAT_EQ(wordSpheres.camera.eyeZ, 4.0f);
    EXPECT_EQ(wordSpheres.camera.eyeY, 0.0f);
    // Where 2c / 6.28318 is pi the eye is furthest back and the target back at x = 0.
    const float c = 3.14159265f * 6.28318f / 2.0f;
    WordSpheresAdvance(wordSpheres, c);
    EXPECT_NEAR(wordSpheres.camera.eyeZ, 10.0f, 1e-4f);
    EXPECT_NEAR(wordSpheres.camera.targetX, 0.0f, 1e-4f);
    EXPECT_NEAR(wordSpheres.camera.eyeY, -16.0 * std::sin(3.14159265 / 4.0), 1e-4);
    EXPECT_EQ(wordSpheres.camera.targetY, 0.0f);
    EXPECT_EQ(wordSpheres.camera.targetZ, 0.0f);
    EXPECT_EQ(wordSpheres.camera.upY, 1.0f);
}

TEST(WordSpheres, HandsOverOnlyAfterClockPassesOneHundredEighty) {
    WordSpheres scene;
    sceneCounter = 49;
    scene.clock = 179.0f;
    WordSpheresAdvance(scene, 1.0f);
    WordSpheresFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 49) << "exactly 180 does not advance";
    WordSpheresAdvance(scene, 0.5f);
    WordSpheresFinishFrame(scene);
    EXPECT_EQ(sceneCounter, 50);
    ResetDemoGlobals();
}

}  // namespace

// Drawn on the offscreen window as the driver draws it.
#include "closing_scene_support.h"
#include "gfx/texture.h"

namespace {

class WordSpheresDrawTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        EnsureClosingSceneResources();
        DrainGlErrors();
        WordSpheresInit();
        sceneCounter = 49;
    }
    void TearDown() override {
        ResetDemoGlobals();
        GlTest::TearDown();
    }
};

// Pixels in rows [y0, y1) that differ from their left neighbour inside a 10-pixel block column.
int EdgesInsideBlocks(const Picture& picture, int y0, int y1) {
    int edges = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = 1; x < picture.width; ++x) {
            if (x % 10 != 0 && !(PixelAt(picture, x, y) == PixelAt(picture, x - 1, y))) {
                ++edges;
            }
        }
    }
    return edges;
}

TEST_F(WordSpheresDrawTest, TurnsBlockyOnTheFirstFrameAfterClockFifty) {
    // The scene binds no texture itself: the spheres wear the noise the previous scene left bound.
    BindTexture(*sharedTextures[7]);
    Picture picture;
    for (int frame = 1; frame <= 50; ++frame) {
        picture = DrawNormalFrame(WordSpheresDraw, 1.0f);
    }
    // Sharp noise and lines below the word: many edges inside any 10-pixel column.
    EXPECT_GT(EdgesInsideBlocks(picture, 300, 480), 300);

    // Clock 51: the 64 x 64 capture stretched to 10-pixel-wide blocks; the word is drawn after
    // it, so only rows below the large text are checked.
    picture = DrawNormalFrame(WordSpheresDraw, 1.0f);
    EXPECT_EQ(EdgesInsideBlocks(picture, 300, 480), 0);
    EXPECT_GT(CountInRect(picture, 0, 300, 640, 480, Rgb{0, 0, 0}), 1000)
        << "the blocks show the spheres, not an empty picture";
    EXPECT_EQ(sceneCounter, 49);
}

TEST_F(WordSpheresDrawTest, VisitHandsOverOnceAfterOneHundredEightyOneFrames) {
    for (int frame = 1; frame <= 180; ++frame) {
        DrawNormalFrameOnly(WordSpheresDraw, 1.0f);
        ASSERT_EQ(sceneCounter, 49) << "frame " << frame;
    }
    DrawNormalFrameOnly(WordSpheresDraw, 1.0f);
    EXPECT_EQ(sceneCounter, 50);
}

}  // namespace
