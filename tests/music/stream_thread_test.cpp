// The streaming thread against the offline device: it renders exactly what the device has
// finished, hands over cleanly on stop, and gives the same PCM as rendering on one thread.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "music/now_playing.h"
#include "music/player.h"
#include "music/player_seek.h"
#include "music/song.h"
#include "platform/wave_out.h"
#include "player_test_support.h"
#include "run_program.h"

namespace {

const std::string kCorpusSong = std::string(XM_CORPUS_DIR) + "/songs/milkytracker/theday.xm";

class StreamThreadTest : public OfflinePlayerTest {
protected:
    void SetUp() override { Open(true); }

    // A real song of the shared corpus; empty where the corpus is not there.
    static std::vector<uint8_t> CorpusSongImage() {
        const std::string text = ReadFileBytes(kCorpusSong);
        return std::vector<uint8_t>(text.begin(), text.end());
    }

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
    PlayerStart(player, &marked.song);
    EXPECT_EQ(markedTicks, 101);  // the first ring was rendered before the thread started
    AdvanceAndWait(30 * 884 * 4);
    EXPECT_EQ(player.writeBlock, 30);
    AdvanceAndWait(60 * 884 * 4 + 100);
    EXPECT_EQ(player.writeBlock, 90);
    PlayerStop(player);
    EXPECT_FALSE(player.streamThread.joinable());
    EXPECT_EQ(player.writeBlock, 90);
    // Blocks 0..89 hold the second ring period, 90..99 still the first.
    for (int64_t frame = 0; frame < player.ringFrames; ++frame) {
        const int64_t period = frame < 90 * 884 ? player.ringFrames : 0;
        ASSERT_EQ(RingLeft(frame), MarkedValue(period + frame)) << frame;
    }
}

TEST_F(StreamThreadTest, StopRightAfterStartWaitsForTheThread) {
    for (int run = 0; run < 3; ++run) {
        PlayerStart(player, &marked.song);
        PlayerStop(player);
        EXPECT_FALSE(player.streamThread.joinable());
        EXPECT_TRUE(player.mixBuffer.empty());
        EXPECT_EQ(player.song, nullptr);
    }
}

TEST_F(StreamThreadTest, RestartAfterStopPlaysFromTheFirstFrame) {
    PlayerStart(player, &marked.song);
    AdvanceAndWait(10 * 884 * 4);
    PlayerStop(player);
    markedTicks = 0;
    PlayerStart(player, &marked.song);
    PlayerStop(player);
    for (int64_t frame = 0; frame < player.ringFrames; ++frame) {
        ASSERT_EQ(RingLeft(frame), MarkedValue(frame)) << frame;
    }
}

// A real song through the loader and the replay engine on the streaming thread.
TEST_F(StreamThreadTest, CorpusSongStreamsLikeTheSingleThreadedRender) {
    const std::vector<uint8_t> image = CorpusSongImage();
    if (image.empty()) {
        GTEST_SKIP() << "no XM corpus song at " << kCorpusSong;
    }

    // Threaded: play 2.5 ring periods in uneven steps, then stop.
    player.tickHandler = nullptr;
    Song* song = SongFromMemory(image.data(), image.size());
    ASSERT_NE(song, nullptr);
    PlayerStart(player, song);
    const uint32_t steps[] = {884 * 4 * 7, 884 * 4 * 33 + 12, 884 * 4 * 60, 884 * 4 * 50 + 400,
                              884 * 4 * 70};
    for (uint32_t bytes : steps) {
        AdvanceAndWait(bytes);
    }
    PlayerStop(player);
    const std::vector<int16_t> threaded = player.outputRing;
    const int32_t threadedBlock = player.writeBlock;
    SongFree(song);

    // The same on the calling thread.
    player.renderOnCallingThread = true;
    song = SongFromMemory(image.data(), image.size());
    ASSERT_NE(song, nullptr);
    PlayerStart(player, song);
    for (uint32_t bytes : steps) {
        WaveOutAdvance(bytes);
        ServiceRing(player);
    }
    EXPECT_EQ(player.writeBlock, threadedBlock);
    const std::vector<int16_t> direct = player.outputRing;
    PlayerStop(player);
    SongFree(song);

    EXPECT_TRUE(threaded == direct);
    int64_t loud = 0;
    for (int16_t value : direct) {
        loud += value > 1000 || value < -1000;
    }
    EXPECT_GT(loud, 1000);  // music, not silence
}

// A seek stops the streaming thread, moves the song and starts the thread again, while the main
// thread reads what is playing; the ring ends up as a seek on one thread leaves it.
TEST_F(StreamThreadTest, SeeksWhileStreamingRestartTheThreadAndMatchTheSingleThreadedSeek) {
    const std::vector<uint8_t> image = CorpusSongImage();
    if (image.empty()) {
        GTEST_SKIP() << "no XM corpus song at " << kCorpusSong;
    }
    const int64_t targets[] = {884 * 300 + 123, 884 * 20, 884 * 150 + 1, 5};
    auto play = [&](bool threaded) {
        player.tickHandler = nullptr;
        player.renderOnCallingThread = !threaded;
        player.keepCheckpoints = true;
        Song* song = SongFromMemory(image.data(), image.size());
        EXPECT_NE(song, nullptr);
        PlayerStart(player, song);
        for (const int64_t target : targets) {
            if (threaded) {
                AdvanceAndWait(884 * 4 * 40);
                EXPECT_TRUE(PlayerNowPlaying(player).known);
            } else {
                WaveOutAdvance(884 * 4 * 40);
                ServiceRing(player);
            }
            PlayerSeek(player, target);
            EXPECT_EQ(player.streamThread.joinable(), threaded);
        }
        if (threaded) {
            AdvanceAndWait(884 * 4 * 30 + 8);
        } else {
            WaveOutAdvance(884 * 4 * 30 + 8);
            ServiceRing(player);
        }
        PlayerStop(player);
        const std::vector<int16_t> ring = player.outputRing;
        const int64_t block = player.songBlock;
        SongFree(song);
        return std::make_pair(ring, block);
    };
    const auto threaded = play(true);
    const auto direct = play(false);
    EXPECT_EQ(threaded.second, direct.second);
    EXPECT_TRUE(threaded.first == direct.first);
}

}  // namespace
