// Greetings scroll's list, its rise and the hand-over, and the names on screen.
#include "scenes/greetings_scroll.h"

#include <gtest/gtest.h>

#include "closing_scene_support.h"
#include "scenes/scenes.h"

namespace {

TEST(GreetingsScroll, HeadingLeadsTheNamesTwoApartRisingPointFifteenPerUnit) {
    EXPECT_STREQ(GreetingText(0), "Greetings:");
    EXPECT_STREQ(GreetingText(1), "marblequay");
    EXPECT_STREQ(GreetingText(4), "7prism");
    EXPECT_STREQ(GreetingText(9), "quimbelt");
    for (int line = 0; line < kGreetingLineCount; ++line) {
        EXPECT_EQ(GreetingLineY(0.0f, line), 0.5f - 2.0f * static_cast<float>(line)) << line;
    }
    EXPECT_FLOAT_EQ(GreetingLineY(10.0f, 0), 2.0f);
    // The last name reaches the heading's starting height after 120 units.
    EXPECT_NEAR(GreetingLineY(120.0f, 9), 0.5f, 1e-5f);
    ExpectStrictHandOver<GreetingsScroll>(GreetingsScrollFinishFrame, 200.0f);
}

using GreetingsScrollDrawTest = ClosingSceneTest<GreetingsScrollInit>;

TEST_F(GreetingsScrollDrawTest, NamesRiseAboveTheTori) {
    auto topInk = [](const Picture& picture) {
        for (int y = 0; y < picture.height; ++y) {
            if (CountInRect(picture, 0, y, picture.width, y + 1, Rgb{0, 0, 0}) > 0) {
                return y;
            }
        }
        return picture.height;
    };
    // Clock 0: the heading just above eye height and the tori seen edge on, all near the middle.
    const int start = topInk(DrawNormalFrame(GreetingsScrollDraw, 0.0f));
    EXPECT_GT(start, 150);
    EXPECT_LT(start, 240);
    // Clock 40: the heading has risen 6 units, 5 in front of the eye: near the top edge.
    EXPECT_LT(topInk(DrawNormalFrame(GreetingsScrollDraw, 40.0f)), 100);
}

}  // namespace
