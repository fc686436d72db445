// Wave-out device: the offline backend's position, and SDL's dummy driver counting as no card.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/wave_out.h"

namespace {

TEST(WaveOutTest, OfflinePositionMovesOnlyWhenAdvanced) {
    WaveOutUseOffline(true);
    ASSERT_TRUE(WaveOutOpen(44100));
    std::vector<int16_t> ring(2 * 1000);
    WaveOutStart(ring.data(), 4 * 1000);
    EXPECT_EQ(WaveOutPosition(), 0u);
    WaveOutAdvance(400);
    WaveOutAdvance(4 * 1000);
    EXPECT_EQ(WaveOutPosition(), 4400u);  // counts past the ring's end: bytes played in total
    const uint32_t queries = WaveOutPositionQueries();
    WaveOutPosition();
    EXPECT_EQ(WaveOutPositionQueries(), queries + 1);
    WaveOutReset();
    EXPECT_EQ(WaveOutPosition(), 0u);
    WaveOutStart(ring.data(), 4 * 1000);
    WaveOutAdvance(0xFFFFFFFCu);
    WaveOutAdvance(8);
    EXPECT_EQ(WaveOutPosition(), 4u);  // wraps at 2^32 like the device position
    WaveOutClose();
    WaveOutAdvance(100);  // closed: nothing to advance
    WaveOutUseOffline(false);
}

TEST(WaveOutTest, DummyDriverIsNoSoundCard) {
    const char* previous = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = previous != nullptr ? previous : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    WaveOutUseOffline(false);
    EXPECT_FALSE(WaveOutOpen(44100));
    EXPECT_NE(std::string(WaveOutFailure()).find("no sound card"), std::string::npos);
    WaveOutClose();  // harmless when nothing is open
    if (previous != nullptr) {
        setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    } else {
        unsetenv("SDL_AUDIODRIVER");
    }
}

TEST(WaveOutTest, InvalidRateIsRefused) {
    WaveOutUseOffline(true);
    EXPECT_FALSE(WaveOutOpen(0));
    EXPECT_TRUE(WaveOutOpen(44100));
    WaveOutClose();
    WaveOutUseOffline(false);
}

}  // namespace
