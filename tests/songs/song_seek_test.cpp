// Seeking the player in the show's song: from anywhere to any output frame, forward or back,
// block-aligned or not, what plays next is to the sample what playing from the start gives; and
// the position the overlay reads is that of the block being played.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "music/now_playing.h"
#include "music/player.h"
#include "music/player_seek.h"
#include "platform/wave_out.h"
#include "song_fixtures.h"

namespace {

constexpr int64_t kStraightFrames = 44100 * 50;  // the first 50 seconds
constexpr int64_t kCompared = 44100 * 3 / 2;     // checked after each seek, past the ring's end

class SongSeekTest : public ::testing::Test {
protected:
    void SetUp() override {
        WaveOutUseOffline(true);
        player.renderOnCallingThread = true;
        player.keepCheckpoints = true;
        AudioOpen(player);
        ASSERT_FALSE(player.audioUnavailable);
        song = LoadSongImage(*ShowShape().image);
        ASSERT_NE(song, nullptr);
        PlayerStart(player, song);
    }
    void TearDown() override {
        PlayerStop(player);
        AudioClose(player);
        SongFree(song);
        WaveOutUseOffline(false);
    }
    std::vector<int16_t> Pull(int64_t frames) {
        std::vector<int16_t> pcm(2 * static_cast<size_t>(frames));
        OfflinePull(player, pcm.data(), frames);
        return pcm;
    }
    Player player;
    Song* song = nullptr;
};

TEST_F(SongSeekTest, WhatPlaysAfterASeekIsWhatPlayingFromTheStartGives) {
    const std::vector<int16_t> straight = Pull(kStraightFrames);
    EXPECT_EQ(
        player.checkpoints.size(),
        static_cast<size_t>((kStraightFrames / player.blockFrames + 100) / kCheckpointBlocks + 1));
    // Back to the start, into the rendered ring ahead, far back, just past a checkpoint, at and
    // around block edges, then random frames.
    std::vector<int64_t> targets = {
        0,      44100 * 49, 884 * 5,         884 * 50, 884 * 50 - 1, 884 * 50 + 1,
        123457, 44100 * 30, 884 * 1000 + 17, 884 * 100};
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> anywhere(0, kStraightFrames - kCompared);
    for (int i = 0; i < 12; ++i) {
        targets.push_back(anywhere(random));
    }
    for (const int64_t target : targets) {
        SCOPED_TRACE("seek to frame " + std::to_string(target));
        PlayerSeek(player, target);
        const int64_t length = std::min(kCompared, kStraightFrames - target);
        const std::vector<int16_t> heard = Pull(length);
        ASSERT_TRUE(std::equal(heard.begin(), heard.end(), straight.begin() + 2 * target));
    }
}

TEST_F(SongSeekTest, WithoutCheckpointsASeekBackStartsAgainFromTheFirstRow) {
    player.keepCheckpoints = false;
    PlayerStart(player, song);
    const std::vector<int16_t> straight = Pull(44100 * 4);
    EXPECT_TRUE(player.checkpoints.empty());
    PlayerSeek(player, 44100);
    const std::vector<int16_t> heard = Pull(44100 * 3);
    EXPECT_TRUE(std::equal(heard.begin(), heard.end(), straight.begin() + 2 * 44100));
}

TEST_F(SongSeekTest, NowPlayingIsTheSongPositionOfTheBlockBeingPlayed) {
    // The show's song plays 4 ticks a row at 125 BPM: a row lasts 4 x 882 frames.
    const int64_t rowFrames = 4 * 882;
    PlayerSeek(player, 64 * rowFrames + 10 * rowFrames + 100);  // order 1, row 10
    const SongPositionNow now = PlayerNowPlaying(player);
    ASSERT_TRUE(now.known);
    EXPECT_EQ(now.orderIndex, 1);
    EXPECT_EQ(now.pattern, song->orders[1]);
    // The block's first frame may lie in the row before.
    EXPECT_GE(now.row, 9);
    EXPECT_LE(now.row, 10);
    EXPECT_EQ(now.speed, 4);
    EXPECT_EQ(now.bpm, 125);
}

}  // namespace
