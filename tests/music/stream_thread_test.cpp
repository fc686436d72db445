// The streaming thread against the offline device: it renders exactly what the device has
// finished, hands over cleanly on stop, and gives the same PCM as rendering on one thread.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "music/player.h"
#include "music/song.h"
#include "platform/wave_out.h"
#include "player_test_support.h"
#include "run_program.h"

namespace {

class StreamThreadTest : public OfflinePlayerTest {
protected:
    void SetUp() override { Open(true); }

    // Moves the device on and waits until the streaming thread has polled the new position and
    // finished the blocks it named (two polls later at the latest). The position queries are
    // atomic, so what the thread rendered before its next query is visible here afterwards.
    void AdvanceAndWait(uint32_t bytes) {
        WaveOutAdvance(bytes);
        const uint32_t seen = WaveOutPositionQueries();
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (WaveOutPositionQueries() < seen + 2) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "streaming thread stalled";
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
};

TEST_F(StreamThreadTest, RendersTheBlocksTheDeviceFinished) {
    PlayerStart(&marked.song);
    EXPECT_EQ(markedTicks, 101);  // the first ring was rendered before the thread started
    AdvanceAndWait(30 * 884 * 4);
    EXPECT_EQ(writeBlock, 30);
    AdvanceAndWait(60 * 884 * 4 + 100);
    EXPECT_EQ(writeBlock, 90);
    ASSERT_TRUE(PlayerStop(&marked.song));
    EXPECT_TRUE(threadExited);
    EXPECT_EQ(writeBlock, 90);
    // Blocks 0..89 hold the second ring period, 90..99 still the first.
    for (int64_t frame = 0; frame < ringFrames; ++frame) {
        const int64_t period = frame < 90 * 884 ? ringFrames : 0;
        ASSERT_EQ(RingLeft(frame), MarkedValue(period + frame)) << frame;
    }
}

TEST_F(StreamThreadTest, StopRightAfterStartWaitsForTheThread) {
    for (int run = 0; run < 3; ++run) {
        PlayerStart(&marked.song);
        ASSERT_TRUE(PlayerStop(&marked.song));
        EXPECT_TRUE(threadExited);
        EXPECT_EQ(mixBuffer, nullptr);
        EXPECT_EQ(currentSong, nullptr);
    }
}

TEST_F(StreamThreadTest, RestartAfterStopPlaysFromTheFirstFrame) {
    PlayerStart(&marked.song);
    AdvanceAndWait(10 * 884 * 4);
    ASSERT_TRUE(PlayerStop(&marked.song));
    markedTicks = 0;
    PlayerStart(&marked.song);
    ASSERT_TRUE(PlayerStop(&marked.song));
    for (int64_t frame = 0; frame < ringFrames; ++frame) {
        ASSERT_EQ(RingLeft(frame), MarkedValue(frame)) << frame;
    }
}

// A real song through the loader and the replay engine on the streaming thread.
TEST_F(StreamThreadTest, CorpusSongStreamsLikeTheSingleThreadedRender) {
    const std::string path = std::string(XM_CORPUS_DIR) + "/songs/milkytracker/theday.xm";
    const std::string text = ReadFileBytes(path);
    const std::vector<uint8_t> image(text.begin(), text.end());
    ASSERT_FALSE(image.empty()) << path;

    // Threaded: play 2.5 ring periods in uneven steps, then stop.
    Song* song = SongFromMemory(image.data(), static_cast<int32_t>(image.size()));
    ASSERT_NE(song, nullptr);
    PlayerStart(song);
    const uint32_t steps[] = {884 * 4 * 7, 884 * 4 * 33 + 12, 884 * 4 * 60, 884 * 4 * 50 + 400,
                              884 * 4 * 70};
    for (uint32_t bytes : steps) {
        AdvanceAndWait(bytes);
    }
    ASSERT_TRUE(PlayerStop(song));
    const std::vector<int16_t> threaded(outputRing, outputRing + 2 * ringFrames);
    const int32_t threadedBlock = writeBlock;
    SongFree(song);

    // The same on the calling thread.
    renderOnCallingThread = true;
    song = SongFromMemory(image.data(), static_cast<int32_t>(image.size()));
    ASSERT_NE(song, nullptr);
    PlayerStart(song);
    for (uint32_t bytes : steps) {
        WaveOutAdvance(bytes);
        ServiceRing();
    }
    EXPECT_EQ(writeBlock, threadedBlock);
    const std::vector<int16_t> direct(outputRing, outputRing + 2 * ringFrames);
    ASSERT_TRUE(PlayerStop(song));
    SongFree(song);

    EXPECT_TRUE(threaded == direct);
    int64_t loud = 0;
    for (int16_t value : direct) {
        loud += value > 1000 || value < -1000;
    }
    EXPECT_GT(loud, 1000);  // music, not silence
}

}  // namespace
