// The show's timeline: properties of the table, and how a visit's end moves the show on.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>

#include "shell/timeline.h"

namespace {

TEST(TimelineTest, EveryCounterOfTheShowSelectsExactlyOneScene) {
    for (int32_t counter = 0; counter <= kLastSceneCounter; ++counter) {
        int holders = 0;
        for (const TimelineEntry& entry : kTimeline) {
            const bool holds = entry.firstCounter >= 0 && counter >= entry.firstCounter &&
                               counter <= entry.lastCounter &&
                               (counter - entry.firstCounter) % entry.counterStride == 0;
            holders += holds ? 1 : 0;
            if (holds) {
                EXPECT_EQ(SelectScene(counter, false), &entry) << counter;
            }
        }
        EXPECT_EQ(holders, 1) << "counter " << counter;
    }
    for (int32_t counter : {-2147483647 - 1, -1, kLastSceneCounter + 1, 100, 2147483647}) {
        EXPECT_EQ(SelectScene(counter, false), nullptr) << counter;
    }
    // No scene follows itself: every visit's end shows something new.
    for (int32_t counter = 1; counter <= kLastSceneCounter; ++counter) {
        EXPECT_NE(SelectScene(counter, false), SelectScene(counter - 1, false)) << counter;
    }
    EXPECT_STREQ(SelectScene(0, false)->name, "noise sphere");
    EXPECT_STREQ(SelectScene(kLastSceneCounter, false)->name, "end titles");
}

TEST(TimelineTest, HiddenModeAlwaysDrawsItsOwnSceneWhichNoCounterSelects) {
    for (int32_t counter : {-1, 0, 1, 12, 49, kLastSceneCounter, 54, 1000}) {
        EXPECT_EQ(SelectScene(counter, true), &kHiddenScene) << counter;
        EXPECT_NE(SelectScene(counter, false), &kHiddenScene) << counter;
    }
}

TEST(TimelineTest, SetUpsHaveDistinctStartUpPlacesAndScenesDistinctNames) {
    std::set<int32_t> places;
    std::set<std::string> names;
    for (const TimelineEntry& entry : kTimeline) {
        ASSERT_NE(entry.draw, nullptr) << entry.name;
        names.insert(entry.name);
        if (entry.init != nullptr) {
            EXPECT_TRUE(places.insert(entry.startupPosition).second) << entry.name;
            EXPECT_GE(entry.startupPosition, 0) << entry.name;
            EXPECT_LT(entry.startupPosition, kTimelineLength) << entry.name;
        }
    }
    EXPECT_EQ(names.size(), static_cast<size_t>(kTimelineLength));
    // The rings' set-up fills the shared textures that every later set-up and scene uses.
    EXPECT_EQ(SelectScene(1, false)->startupPosition, 0);
}

TEST(TimelineTest, AVisitsEndMovesTheCounterOnAndTheLastOneEndsTheShow) {
    ShowState show;
    EndVisit(show);
    EXPECT_EQ(show.sceneCounter, 1);
    show.sceneCounter = kLastSceneCounter - 1;
    EndVisit(show);
    EXPECT_EQ(show.sceneCounter, kLastSceneCounter);
    EXPECT_FALSE(show.quitRequested);
    EndVisit(show);
    EXPECT_EQ(show.sceneCounter, kLastSceneCounter);
    EXPECT_TRUE(show.quitRequested);
}

}  // namespace
