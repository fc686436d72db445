// Wave-out device: the offline backend's position, and SDL's dummy driver counting as no card.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/wave_out.h"
#include "run_program.h"

namespace {

// Sets an environment variable for the lifetime of the object, then restores it.
struct ScopedEnvironment {
    ScopedEnvironment(const char* name, const std::string& value) : name(name) {
        if (const char* previous = std::getenv(name)) {
            saved = previous;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnvironment() { saved ? setenv(name, saved->c_str(), 1) : unsetenv(name); }
    const char* name;
    std::optional<std::string> saved;
};

// Started at a frame inside the ring, held for a while, then let go: the card plays the ring from
// that frame on and loops it, and the position counts from there, standing still while held.
TEST(WaveOutTest, CardBackendLoopsTheRingFromItsStartFrameAndHoldsWhilePaused) {
    // SDL's disk driver stands in for a sound card: it writes what the callback hands it.
    ScratchDir dir;
    const ScopedEnvironment driver("SDL_AUDIODRIVER", "disk");
    const ScopedEnvironment file("SDL_DISKAUDIOFILE", dir.File("played.raw"));
    WaveOutUseOffline(false);
    WaveOutAcceptDiskDriver(true);
    const bool opened = WaveOutOpen(44100);
    WaveOutAcceptDiskDriver(false);
    ASSERT_TRUE(opened) << WaveOutFailure();

    constexpr int kFrames = 1000;
    std::vector<int16_t> ring(2 * kFrames);
    for (int i = 0; i < kFrames; ++i) {
        ring[2 * i] = static_cast<int16_t>(i + 1);
        ring[2 * i + 1] = static_cast<int16_t>(-i - 1);
    }
    constexpr int kStartFrame = 250;
    WaveOutStart(ring.data(), 4 * kFrames, 4 * kStartFrame);
    EXPECT_GE(WaveOutPosition(), 4u * kStartFrame);
    auto waitFor = [](uint32_t position) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (WaveOutPosition() < position && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    };
    waitFor(4 * kFrames);
    WaveOutPause(true);
    const uint32_t held = WaveOutPosition();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(WaveOutPosition(), held);
    WaveOutPause(false);
    waitFor(4 * kStartFrame + 3 * 4 * kFrames);
    const uint32_t played = WaveOutPosition() - 4 * kStartFrame;
    WaveOutReset();
    EXPECT_EQ(WaveOutPosition(), 0u);
    WaveOutClose();
    ASSERT_GE(played, 3u * 4 * kFrames);
    EXPECT_EQ(played % 4, 0u);

    // Silence until the ring starts, then the ring over and over from its start frame (the pause
    // only leaves a gap of silence in the disk driver's file, which the comparison skips).
    const std::string bytes = ReadFileBytes(dir.File("played.raw"));
    const size_t frames = bytes.size() / 4;
    auto sampleAt = [&](size_t value) {
        return static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * value]) |
                                    static_cast<uint8_t>(bytes[2 * value + 1]) << 8);
    };
    size_t start = 0;
    while (start < frames && sampleAt(2 * start) == 0 && sampleAt(2 * start + 1) == 0) {
        ++start;
    }
    size_t at = start;
    for (size_t i = 0; i < 3u * kFrames; ++i) {
        while (at < frames && sampleAt(2 * at) == 0 && sampleAt(2 * at + 1) == 0) {
            ++at;
        }
        ASSERT_LT(at, frames) << i;
        const size_t value = (kStartFrame + i) % kFrames;
        ASSERT_EQ(sampleAt(2 * at), ring[2 * value]) << i;
        ASSERT_EQ(sampleAt(2 * at + 1), ring[2 * value + 1]) << i;
        ++at;
    }
}

TEST(WaveOutTest, OfflinePositionMovesOnlyWhenAdvanced) {
    WaveOutUseOffline(true);
    ASSERT_TRUE(WaveOutOpen(44100));
    std::vector<int16_t> ring(2 * 1000);
    WaveOutStart(ring.data(), 4 * 1000, 0);
    EXPECT_EQ(WaveOutPosition(), 0u);
    WaveOutPause(true);  // the offline device only moves when advanced anyway
    WaveOutAdvance(400);
    WaveOutAdvance(4 * 1000);
    EXPECT_EQ(WaveOutPosition(), 4400u);  // counts past the ring's end: bytes played in total
    const uint32_t queries = WaveOutPositionQueries();
    WaveOutPosition();
    EXPECT_EQ(WaveOutPositionQueries(), queries + 1);
    WaveOutReset();
    EXPECT_EQ(WaveOutPosition(), 0u);
    WaveOutStart(ring.data(), 4 * 1000, 4 * 1000 + 8);  // a start past the end wraps into the ring
    EXPECT_EQ(WaveOutPosition(), 8u);
    WaveOutAdvance(0xFFFFFFFCu - 8);
    WaveOutAdvance(8);
    EXPECT_EQ(WaveOutPosition(), 4u);  // wraps at 2^32 like the device position
    WaveOutClose();
    WaveOutAdvance(100);  // closed: nothing to advance
    WaveOutUseOffline(false);
}

TEST(WaveOutTest, DummyAndDiskDriversAreNoSoundCardAndAZeroRateIsRefused) {
    WaveOutUseOffline(false);
    {
        const ScopedEnvironment driver("SDL_AUDIODRIVER", "dummy");
        EXPECT_FALSE(WaveOutOpen(44100));
        EXPECT_NE(std::string(WaveOutFailure()).find("no sound card"), std::string::npos);
    }
    {
        ScratchDir dir;
        const ScopedEnvironment driver("SDL_AUDIODRIVER", "disk");
        const ScopedEnvironment file("SDL_DISKAUDIOFILE", dir.File("played.raw"));
        EXPECT_FALSE(WaveOutOpen(44100));
    }
    WaveOutClose();  // harmless when nothing is open
    WaveOutUseOffline(true);
    EXPECT_FALSE(WaveOutOpen(0));
    WaveOutUseOffline(false);
}

}  // namespace
