// The rehearsal on its own thread and context leaves the show's pictures alone while it runs,
// and the show's move to the rehearsed context keeps every picture after it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "core/frame_clock.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "platform/display.h"
#include "shell/rehearsal.h"
#include "shell/show_snapshots.h"

namespace {

constexpr int32_t kFps = 20;
// Into the second visit, so that the pictures after the move cover a change of scene.
constexpr int64_t kFrames = 560;

class RehearsalTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!started) {
            CreateToolkitStartupResources();
            RunSceneInitialisations();
            started = true;
        }
    }

    uint64_t DrawNext() {
        DrawNextFrame(show, position, FixedFrameStep(kFps), true);
        return PixelHash(ReadPicture());
    }

    static inline bool started = false;
    ShowState show;
    ShowPosition position;
};

// One test, as the scenes' state is the thread's: the straight run first, then the same frames
// after the first one's rehearsal at start-up, with the rehearsing thread beside them and the
// show moving to its two contexts on the way.
TEST_F(RehearsalTest, LeavesTheShowsPicturesAloneAndTheMoveKeepsThem) {
    ShowSnapshot start;
    TakeSnapshot(start, show, position, 0);
    std::vector<uint64_t> straight;
    for (int64_t frame = 1; frame <= kFrames; ++frame) {
        straight.push_back(DrawNext());
    }
    ASSERT_EQ(show.sceneCounter, 1) << "the straight run should reach the second visit";

    RestoreSnapshot(start, show, position);
    Rehearsal rehearsal;
    rehearsal.fps = kFps;
    // Names made from here on are the rehearsal's: the driver hands out names above the highest.
    GLuint firstTexture = 0;
    glGenTextures(1, &firstTexture);
    glDeleteTextures(1, &firstTexture);
    const GLuint firstList = glGenLists(1);
    glDeleteLists(firstList, 1);
    if (!RehearsalStart(rehearsal, show, position)) {
        GTEST_SKIP() << "no second GL context here";
    }
    // As the live show starts: its first frame drawn unseen and put back.
    ASSERT_EQ(position.frame, 0);
    // A hundred frames beside the first round, the move to its context once it is done, the rest
    // of the opening beside the second round, and the move to its context a few frames into the
    // second visit, whose frames depend on the state the ones before left.
    const auto waitForRound = [&](int32_t round) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (rehearsal.roundsDone < round && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    };
    for (int64_t frame = 1; frame <= kFrames; ++frame) {
        if (frame == 101 || frame == 505) {
            waitForRound(frame == 101 ? 1 : 2);
            ASSERT_TRUE(RehearsalMoveWhenReady(rehearsal, frame)) << "before frame " << frame;
        }
        ASSERT_EQ(DrawNext(), straight[static_cast<size_t>(frame - 1)]) << "frame " << frame;
    }
    EXPECT_EQ(rehearsal.moves, 2);
    EXPECT_FALSE(rehearsal.running);
    // The second round drew the whole show, as long as the show is at this step.
    EXPECT_TRUE(rehearsal.drewShow);
    EXPECT_EQ(rehearsal.framesDrawn, 2642);
    // It deleted what it made: its textures and display lists are gone from the share group.
    int32_t left = 0;
    for (GLuint name = firstTexture; name < firstTexture + 200; ++name) {
        left += glIsTexture(name) ? 1 : 0;
    }
    for (GLuint list = firstList; list < firstList + 2000; ++list) {
        left += glIsList(list) ? 1 : 0;
    }
    EXPECT_EQ(left, 0);
    RehearsalEnd(rehearsal);
    EXPECT_TRUE(DisplayIsOpen());
}

TEST_F(RehearsalTest, EndedEarlyItLeavesTheShowOnItsContext) {
    Rehearsal rehearsal;
    if (!RehearsalStart(rehearsal, show, position)) {
        GTEST_SKIP() << "no second GL context here";
    }
    RehearsalEnd(rehearsal);
    EXPECT_FALSE(rehearsal.running);
    EXPECT_EQ(rehearsal.moves, 0);
    EXPECT_FALSE(rehearsal.drewShow) << "stopped at once, it cannot have drawn the whole show";
    EXPECT_FALSE(RehearsalMoveWhenReady(rehearsal, 1));
    // The show still draws where it did.
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(PixelAt(ReadPicture(), 10, 10), (Rgb{0, 255, 0}));
}

}  // namespace
