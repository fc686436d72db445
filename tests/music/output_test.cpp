// Output ring, block rendering, tick placement, the play-position rule and the silent paths.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "music/channel.h"
#include "music/player.h"
#include "music/song.h"
#include "music/voice.h"
#include "platform/wave_out.h"
#include "player_test_support.h"

namespace {

using OutputTest = OfflinePlayerTest;

using Values = std::vector<int64_t>;

TEST_F(OutputTest, DeviceOpenSetsTheRingGeometryAndResetsTheVoices) {
    // Rate, block frames (20 ms plus 3, rounded down to a multiple of 4), ramp length.
    const int32_t cases[][3] = {{22050, 444, 64}, {48000, 960, 139}, {44100, 884, 128}};
    for (const auto& [rate, block, ramp] : cases) {
        player.voices[7].volume = 99;
        player.voices[63].sample = &marked.sample;
        ASSERT_TRUE(DeviceOpen(player, rate));
        EXPECT_EQ(
            (Values{player.outputRate, player.blockFrames, player.ringFrames, player.rampLength}),
            (Values{rate, block, 100 * block, ramp}));
        EXPECT_EQ(player.rampLengthReciprocal, 1.0f / static_cast<float>(ramp));
        for (int k = 0; k < mixedVoiceCount; ++k) {
            const Voice& v = player.voices[k];
            ASSERT_EQ((Values{v.index, v.stepInteger, v.sample != nullptr, v.volume}),
                      (Values{k, 1, 0, 0}));
        }
    }
}

TEST_F(OutputTest, SetBpmGivesWholeFramesPerTick) {
    Song song{};
    // A tempo of 0 (a damaged file) must not divide by zero or stall the renderer.
    const int32_t cases[][3] = {{125, 44100, 882}, {255, 44100, 432}, {1, 44100, 110250},
                                {65535, 44100, 1}, {125, 22050, 441}, {0, 44100, 110250}};
    for (const auto& [bpm, rate, frames] : cases) {
        SetBpm(&song, bpm, rate);
        EXPECT_EQ((Values{song.bpm, song.samplesPerTick}), (Values{bpm, frames}));
    }
}

TEST_F(OutputTest, StartResetsThePlaybackStateAndRendersTheWholeRing) {
    Song& song = marked.song;
    song.row = 9;
    song.orderIndex = 3;
    song.tick = 2;
    song.nextRow = 4;
    song.nextOrderIndex = 1;
    song.patternDelay = 5;
    song.globalVolume = 3;
    song.samplesLeftInTick = 77;
    song.channelCount = 4;
    player.channels[2].volume = 50;
    player.channels[2].voice = nullptr;
    player.channels[5].volume = 51;  // beyond channelCount: untouched

    PlayerStart(player, &song);
    EXPECT_EQ(player.song, &song);
    EXPECT_EQ(
        (Values{song.row, song.orderIndex, song.tick, song.nextRow, song.nextOrderIndex,
                song.patternDelay, song.globalVolume, song.speed, song.bpm, song.samplesPerTick}),
        (Values{0, 0, 0, -1, -1, 0, 64, 6, 125, 882}));
    EXPECT_EQ((Values{player.channels[2].volume, player.channels[5].volume}), (Values{0, 51}));
    EXPECT_EQ(player.channels[2].voice, &player.voices[2]);

    // 100 blocks of 884 frames: ticks start at 0, 882, ..., 88200.
    EXPECT_EQ((Values{player.writeBlock, markedTicks, song.samplesLeftInTick}),
              (Values{0, 101, 101 * 882 - 88400}));
    ASSERT_EQ(player.outputRing.size(), 2u * 88400);
    ASSERT_EQ(player.mixBuffer.size(), 2u * 88400);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(player.mixBuffer.data()) % 16, 0u);
    // Every frame belongs to its tick: the second tick starts inside block 0 at frame 882, two
    // frames before the block ends, and carries on into block 1 up to frame 1763.
    ASSERT_NE(MarkedValue(881), MarkedValue(882));
    ASSERT_NE(MarkedValue(1763), MarkedValue(1764));
    for (int64_t frame = 0; frame < player.ringFrames; ++frame) {
        ASSERT_EQ(RingLeft(frame), MarkedValue(frame)) << frame;
        ASSERT_EQ(player.outputRing[2 * frame + 1], 0) << frame;
    }
    // The float mix holds the same block layout.
    EXPECT_EQ(player.mixBuffer[2 * 881], 1000.0f * (1.0f / 255.0f));
    EXPECT_EQ(player.mixBuffer[2 * 882], 1000.0f * (2.0f / 255.0f));
}

TEST_F(OutputTest, PlayPositionDecidesWhichBlocksAreRendered) {
    PlayerStart(player, &marked.song);
    // 176,800 bytes = 44,200 frames: the device plays block 50.
    WaveOutAdvance(176800);
    ServiceRing(player);
    EXPECT_EQ(player.writeBlock, 50);
    // Blocks 0..49 now hold the ring's second period, block 50 still the first.
    for (int32_t block = 0; block <= 50; ++block) {
        const int64_t start = static_cast<int64_t>(block) * player.blockFrames;
        const int64_t period = block < 50 ? player.ringFrames : 0;
        for (int64_t i = 0; i < player.blockFrames; ++i) {
            ASSERT_EQ(RingLeft(start + i), MarkedValue(period + start + i)) << block << " " << i;
        }
    }
    // Nothing moves while the position stays inside block 50.
    WaveOutAdvance(4 * 883);
    ServiceRing(player);
    EXPECT_EQ(player.writeBlock, 50);
    WaveOutAdvance(4);
    ServiceRing(player);
    EXPECT_EQ(player.writeBlock, 51);
}

TEST_F(OutputTest, PositionWrapsWithTheRing) {
    PlayerStart(player, &marked.song);
    // One and a half ring periods: block 50 of the second period is playing.
    for (int step = 0; step < 3; ++step) {
        WaveOutAdvance(static_cast<uint32_t>(player.ringFrames / 2) * 4);
        ServiceRing(player);
    }
    EXPECT_EQ(player.writeBlock, 50);
    EXPECT_EQ(RingLeft(49 * 884), MarkedValue(2 * player.ringFrames + 49 * 884));
    EXPECT_EQ(RingLeft(50 * 884), MarkedValue(player.ringFrames + 50 * 884));
}

TEST_F(OutputTest, OfflinePullHandsOutTheStreamInOrder) {
    std::vector<int16_t> silence(8, 7);  // before a song starts: silence
    OfflinePull(player, silence.data(), 4);
    EXPECT_EQ(silence, std::vector<int16_t>(8, 0));
    PlayerStart(player, &marked.song);
    const int64_t total = 3 * static_cast<int64_t>(player.ringFrames) + 1234;
    std::vector<int16_t> pcm(2 * total);
    int64_t done = 0;
    const int64_t pieces[] = {1, 883, 885, 5000, 88400, 7};
    for (int i = 0; done < total; ++i) {
        int64_t chunk = pieces[i % 6];
        chunk = chunk < total - done ? chunk : total - done;
        OfflinePull(player, pcm.data() + 2 * done, chunk);
        done += chunk;
    }
    for (int64_t frame = 0; frame < total; ++frame) {
        ASSERT_EQ(pcm[2 * frame], MarkedValue(frame)) << frame;
    }
    EXPECT_EQ(WaveOutPosition(), static_cast<uint32_t>(total * 4));
}

TEST_F(OutputTest, StopReleasesTheMixButKeepsTheRingForTheDevice) {
    PlayerStop(player);  // nothing to stop yet
    for (Song* song : {&marked.song, static_cast<Song*>(nullptr)}) {
        const int32_t ticks = markedTicks;
        PlayerStart(player, song);  // a null song does nothing
        EXPECT_EQ(markedTicks > ticks, song != nullptr);
        PlayerStop(player);
        EXPECT_EQ(player.song, nullptr);
        EXPECT_TRUE(player.mixBuffer.empty());
        EXPECT_EQ(player.outputRing.size(), 2u * 88400);
    }
}

TEST_F(OutputTest, NoSoundCardMeansTheSilentPath) {
    AudioClose(player);
    // SDL's dummy driver opens, but it is no sound card.
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    WaveOutUseOffline(false);
    player.audioUnavailable = false;
    AudioOpen(player);
    EXPECT_TRUE(player.audioUnavailable);
    EXPECT_NE(std::string(WaveOutFailure()).find("dummy"), std::string::npos);
    // The silent path: starting renders nothing and holds no song or mix.
    PlayerStart(player, &marked.song);
    EXPECT_EQ(markedTicks, 0);
    EXPECT_EQ(player.song, nullptr);
    EXPECT_TRUE(player.mixBuffer.empty());
    AudioOpen(player);  // a device already found missing is not tried again
    EXPECT_TRUE(player.audioUnavailable);
    if (previous != nullptr) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}

}  // namespace
