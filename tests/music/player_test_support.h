// Shared set-up of the output tests: the offline device and a song whose ticks are audible.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "music/player.h"
#include "music/song.h"
#include "music/voice.h"
#include "platform/wave_out.h"

// A song without patterns whose tick routine makes voice 0 play a constant 1000 at a left level
// that names the tick: tick k (counting from 0) plays level k % 200 + 1. So the PCM tells which
// tick every frame belongs to.
struct MarkedSong {
    std::vector<int16_t> dc = std::vector<int16_t>(72, 1000);
    Sample sample{};
    Song song{};
};

inline MarkedSong* markedSong = nullptr;
inline int32_t markedTicks = 0;  // touched only by the thread that renders

inline void MarkTick(Player& player) {
    Voice& voice = player.voices[0];
    const int32_t level = markedTicks % 200 + 1;
    voice.sample = &markedSong->sample;
    voice.leftLevel = level;
    voice.rampLeft = level * 256;  // settled: no ramp
    voice.rightLevel = 0;
    voice.rampRight = 0;
    ++markedTicks;
}

inline void MakeMarkedSong(MarkedSong& marked) {
    marked.sample.data = marked.dc.data();
    marked.sample.length = 64;
    marked.sample.loopStart = 0;
    marked.sample.loopLength = 64;
    marked.sample.loopMode = 2;
    marked.sample.bits = 16;
    marked.song = Song{};
    marked.song.defaultBpm = 125;  // 882 frames per tick
    marked.song.defaultTempo = 6;
    marked.song.initialGlobalVolume = 64;
    markedSong = &marked;
    markedTicks = 0;
}

// PCM left value of stream frame f of the marked song.
inline int16_t MarkedValue(int64_t frame) {
    const int64_t tick = frame / 882;
    const float level = static_cast<float>(tick % 200 + 1);
    return static_cast<int16_t>(std::lrint(1000.0f * (level / 255.0f)));
}

// Opens the player on the offline device; `threaded` chooses whether PlayerStart starts the
// streaming thread.
class OfflinePlayerTest : public ::testing::Test {
protected:
    void SetUp() override { Open(false); }

    void Open(bool threaded) {
        WaveOutUseOffline(true);
        player.renderOnCallingThread = !threaded;
        player.tickHandler = MarkTick;
        AudioOpen(player);
        ASSERT_FALSE(player.audioUnavailable);
        MakeMarkedSong(marked);
    }

    void TearDown() override {
        PlayerStop(player);
        AudioClose(player);
        WaveOutUseOffline(false);
        markedSong = nullptr;
    }

    int16_t RingLeft(int64_t frameInRing) const { return player.outputRing[2 * frameInRing]; }

    Player player;
    MarkedSong marked;
};
