// Mixer: interpolation, loop boundaries, volume ramps and PCM conversion, frame by frame.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "music/mixer.h"
#include "music/song.h"
#include "music/voice.h"

namespace {

constexpr uint32_t kFractionHalf = 0x80000000u;

// A sample whose storage has the loader's shape: length values, then 8 zeros, with the loop
// guard written behind the loop end.
struct TestSample {
    std::vector<int16_t> storage;
    Sample sample{};
};

void MakeSample(TestSample& test, const std::vector<int16_t>& values, uint8_t loopMode,
                uint32_t loopStart, uint32_t loopLength) {
    test.storage = values;
    test.storage.resize(values.size() + 8, 0);
    test.sample = Sample{};
    test.sample.data = test.storage.data();
    test.sample.length = static_cast<uint32_t>(values.size());
    test.sample.loopMode = loopMode;
    test.sample.bits = 16;
    if (loopMode == 1) {
        test.sample.loopStart = 0;
        test.sample.loopLength = test.sample.length;
    } else {
        test.sample.loopStart = loopStart;
        test.sample.loopLength = loopLength;
        const uint32_t end = loopStart + loopLength;
        test.storage[end] = loopMode == 2 ? test.storage[loopStart] : test.storage[end - 1];
    }
}

// Values that tell every position apart: value at index i is 100 + 7 × i.
std::vector<int16_t> Ramp(int count) {
    std::vector<int16_t> values(count);
    for (int i = 0; i < count; ++i) {
        values[i] = static_cast<int16_t>(100 + 7 * i);
    }
    return values;
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(static_cast<void*>(voices), 0, sizeof(voices));
        for (int k = 0; k < voiceCount; ++k) {
            voices[k].index = k;
            voices[k].stepInteger = 1;
        }
        rampLength = 128;
        rampLengthReciprocal = 1.0f / 128.0f;
    }

    // Starts voice k on the sample at a settled level (no ramp pending).
    Voice& Play(int k, Sample& sample, int32_t left, int32_t right, uint32_t stepInteger,
                uint32_t stepFraction, uint32_t position = 0) {
        Voice& voice = voices[k];
        voice.sample = &sample;
        voice.leftLevel = left;
        voice.rightLevel = right;
        voice.rampLeft = left * 256;
        voice.rampRight = right * 256;
        voice.stepInteger = stepInteger;
        voice.stepFraction = stepFraction;
        voice.position = position;
        voice.positionFraction = 0;
        voice.direction = 1;
        return voice;
    }

    std::vector<float> Mix(int frames) {
        std::vector<float> out(2 * frames, 0.0f);
        MixVoices(out.data(), frames, 0);
        return out;
    }
};

TEST_F(MixerTest, UnitStepAddsEachValueTimesTheGain) {
    TestSample test;
    MakeSample(test, Ramp(50), 1, 0, 0);
    Play(0, test.sample, 200, 55, 1, 0);
    std::vector<float> out(2 * 10, 1.5f);  // the mixer adds to what is there
    MixVoices(out.data(), 10, 0);
    for (int i = 0; i < 10; ++i) {
        const float value = static_cast<float>(100 + 7 * i);
        EXPECT_EQ(out[2 * i], 1.5f + value * (200.0f / 255.0f)) << i;
        EXPECT_EQ(out[2 * i + 1], 1.5f + value * (55.0f / 255.0f)) << i;
    }
    EXPECT_EQ(voices[0].position, 10u);
    EXPECT_EQ(voices[0].positionFraction, 0u);
}

TEST_F(MixerTest, HalfwayFractionGivesTheMean) {
    TestSample test;
    MakeSample(test, {100, 300, -500, 0}, 1, 0, 0);
    Voice& voice = Play(0, test.sample, 255, 255, 1, 0);
    voice.positionFraction = kFractionHalf;
    std::vector<float> out = Mix(2);
    EXPECT_EQ(out[0], 200.0f);
    EXPECT_EQ(out[1], 200.0f);
    EXPECT_EQ(out[2], -100.0f);
}

TEST_F(MixerTest, QuarterStepInterpolatesLinearly) {
    TestSample test;
    MakeSample(test, {0, 1000, 2000}, 1, 0, 0);
    Play(0, test.sample, 255, 0, 0, 0x40000000u);  // 0.25 samples per frame
    std::vector<float> out = Mix(5);
    const float expected[] = {0.0f, 250.0f, 500.0f, 750.0f, 1000.0f};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(out[2 * i], expected[i]) << i;
        EXPECT_EQ(out[2 * i + 1], 0.0f) << i;
    }
}

TEST_F(MixerTest, NonLoopingSampleEndsAfterItsLastValue) {
    TestSample test;
    MakeSample(test, Ramp(100), 1, 0, 0);
    Play(0, test.sample, 255, 255, 1, 0);
    std::vector<float> out = Mix(150);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(out[2 * i], static_cast<float>(100 + 7 * i)) << i;
    }
    for (int i = 100; i < 150; ++i) {
        EXPECT_EQ(out[2 * i], 0.0f) << i;
    }
    EXPECT_EQ(voices[0].sample, nullptr);
    EXPECT_EQ(voices[0].position, 0u);
    EXPECT_EQ(voices[0].positionFraction, 0u);
}

TEST_F(MixerTest, ThreeQuarterStepLastFrameInterpolatesTowardTheZeroTail) {
    TestSample test;
    MakeSample(test, Ramp(100), 1, 0, 0);
    Play(0, test.sample, 255, 255, 0, 0xC0000000u);  // 0.75
    std::vector<float> out = Mix(200);
    // 134 frames: positions 0, 0.75, ..., 99.75.
    const float last = static_cast<float>(100 + 7 * 99);
    EXPECT_EQ(out[2 * 133], last + 0.75f * (0.0f - last));
    EXPECT_NE(out[2 * 132], 0.0f);
    for (int i = 134; i < 200; ++i) {
        EXPECT_EQ(out[2 * i], 0.0f) << i;
    }
    EXPECT_EQ(voices[0].sample, nullptr);
}

TEST_F(MixerTest, ForwardLoopRepeatsFromLoopStart) {
    TestSample test;
    MakeSample(test, Ramp(40), 2, 10, 20);
    Play(0, test.sample, 255, 255, 1, 0);
    std::vector<float> out = Mix(100);
    for (int i = 0; i < 100; ++i) {
        const int position = i < 30 ? i : 10 + (i - 30) % 20;
        EXPECT_EQ(out[2 * i], static_cast<float>(100 + 7 * position)) << i;
    }
    EXPECT_EQ(voices[0].position, 20u);  // frame 100 would play position 20
    EXPECT_NE(voices[0].sample, nullptr);
}

TEST_F(MixerTest, ForwardLoopKeepsTheFractionAcrossTheWrap) {
    TestSample test;
    MakeSample(test, Ramp(40), 2, 10, 20);
    Voice& voice = Play(0, test.sample, 255, 255, 1, kFractionHalf, 29);
    Mix(1);
    EXPECT_EQ(voice.position, 10u);
    EXPECT_EQ(voice.positionFraction, kFractionHalf);
}

TEST_F(MixerTest, PingPongLoopReflectsJustBelowTheLoopEnd) {
    TestSample test;
    MakeSample(test, Ramp(40), 4, 10, 20);
    Voice& voice = Play(0, test.sample, 255, 255, 1, 0, 28);
    std::vector<float> out = Mix(2);
    EXPECT_EQ(out[0], static_cast<float>(100 + 7 * 28));
    EXPECT_EQ(out[2], static_cast<float>(100 + 7 * 29));
    EXPECT_EQ(voice.position, 29u);
    EXPECT_EQ(voice.positionFraction, 0xFFFFFFFFu);
    EXPECT_EQ(voice.direction, 2);

    // Moving backward: 29.999…, 28.999…, … each interpolating toward the next value up.
    out = Mix(3);
    const float t = static_cast<float>(0xFFFFFFFFu >> 1) / 2147483648.0f;
    for (int i = 0; i < 3; ++i) {
        const int index = 29 - i;
        const float s0 = static_cast<float>(test.storage[index]);
        const float s1 = static_cast<float>(test.storage[index + 1]);
        EXPECT_EQ(out[2 * i], s0 + t * (s1 - s0)) << i;
    }
    EXPECT_EQ(voice.position, 26u);
    EXPECT_EQ(voice.direction, 2);
}

TEST_F(MixerTest, PingPongLoopTurnsForwardAtTheLoopStart) {
    TestSample test;
    MakeSample(test, Ramp(40), 4, 10, 20);
    Voice& voice = Play(0, test.sample, 255, 255, 1, 0, 12);
    voice.positionFraction = kFractionHalf;
    voice.direction = 2;
    Mix(3);  // 12.5, 11.5, 10.5, then 9.5 is past the start
    EXPECT_EQ(voice.direction, 1);
    // Mirrored about the start: 2 × 10 − 2^-32 − 9.5 = 10.5 − 2^-32.
    EXPECT_EQ(voice.position, 10u);
    EXPECT_EQ(voice.positionFraction, kFractionHalf - 1);
}

TEST_F(MixerTest, PingPongLoopStaysInsideOverManyPasses) {
    TestSample test;
    MakeSample(test, Ramp(40), 4, 10, 20);
    Voice& voice = Play(0, test.sample, 255, 255, 3, 0x12345678u, 0);
    for (int call = 0; call < 200; ++call) {
        Mix(37);
        ASSERT_GE(voice.position, 10u);
        ASSERT_LT(voice.position, 30u);
    }
    EXPECT_NE(voice.sample, nullptr);
}

TEST_F(MixerTest, LongChunksMatchTheFrameByFrameFormula) {
    // Chunks long enough for the wide loops, with fractions that carry in every lane.
    std::vector<int16_t> values(5000);
    uint32_t seed = 12345;
    for (int16_t& value : values) {
        seed = seed * 1103515245u + 12345u;
        value = static_cast<int16_t>(seed >> 16);
    }
    TestSample test;
    MakeSample(test, values, 4, 100, 4800);
    struct Case {
        uint32_t stepInteger, stepFraction, startFraction;
        int32_t direction;
        uint32_t start;
    };
    const Case cases[] = {{1, 0, 0, 1, 200},
                          {0, 0xFFFFFFFFu, 0xFFFFFFF0u, 1, 200},
                          {2, 0x80000001u, 0x7FFFFFFFu, 1, 300},
                          {0, 0x12345678u, 0x9ABCDEF0u, 1, 250},
                          {1, 0xC0000000u, 0x40000000u, 2, 4000},
                          {0, 0x0000FFFFu, 0xFFFF0000u, 2, 3000}};
    for (const Case& c : cases) {
        SetUp();
        Voice& voice = Play(0, test.sample, 77, 201, c.stepInteger, c.stepFraction, c.start);
        voice.positionFraction = c.startFraction;
        voice.direction = c.direction;
        const int frames = 883;
        std::vector<float> out = Mix(frames);
        uint64_t x = (static_cast<uint64_t>(c.start) << 32) | c.startFraction;
        const uint64_t step = (static_cast<uint64_t>(c.stepInteger) << 32) | c.stepFraction;
        for (int i = 0; i < frames; ++i) {
            const uint32_t index = static_cast<uint32_t>(x >> 32);
            const float s0 = static_cast<float>(test.storage[index]);
            const float s1 = static_cast<float>(test.storage[index + 1]);
            const float t = static_cast<float>(static_cast<uint32_t>(x) >> 1) / 2147483648.0f;
            const float s = s0 + t * (s1 - s0);
            ASSERT_EQ(out[2 * i], s * (77.0f / 255.0f)) << c.stepFraction << " frame " << i;
            ASSERT_EQ(out[2 * i + 1], s * (201.0f / 255.0f)) << c.stepFraction << " frame " << i;
            x = c.direction == 1 ? x + step : x - step;
        }
        EXPECT_EQ(voice.position, static_cast<uint32_t>(x >> 32));
        EXPECT_EQ(voice.positionFraction, static_cast<uint32_t>(x));
    }
}

TEST_F(MixerTest, SilentVoiceStillMovesOn) {
    TestSample test;
    MakeSample(test, Ramp(100), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 0, 0, 0, 0x80000000u);  // faded out, half speed
    std::vector<float> out = Mix(150);
    for (float value : out) {
        EXPECT_EQ(value, 0.0f);
    }
    EXPECT_EQ(voice.position, 75u);
    EXPECT_NE(voice.sample, nullptr);
    Mix(50);  // passes its end at frame 200
    EXPECT_EQ(voice.sample, nullptr);
}

TEST_F(MixerTest, NewNoteRampsUpOverRampLengthFrames) {
    TestSample test;
    MakeSample(test, std::vector<int16_t>(400, 1000), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 100, 0, 1, 0);
    voice.rampLeft = 0;  // a note start fades in from silence
    voice.rampRight = 0;
    std::vector<float> out = Mix(300);
    const float step = 100.0f * (1.0f / 255.0f) * (1.0f / 128.0f);
    float gain = 0.0f;
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(out[2 * i], 1000.0f * gain) << i;
        gain += step;
    }
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_NEAR(out[2 * 64], 1000.0f * 50.0f / 255.0f, 0.01f);
    for (int i = 128; i < 300; ++i) {
        EXPECT_EQ(out[2 * i], 1000.0f * (100.0f / 255.0f)) << i;
        EXPECT_EQ(out[2 * i + 1], 0.0f) << i;
    }
    EXPECT_EQ(voice.rampRemaining, 0);
    EXPECT_EQ(voice.rampLeft, 100 * 256);
    EXPECT_EQ(voice.rampLeftStep, 0.0f);
}

TEST_F(MixerTest, RampSplitOverCallsStoresTheReachedLevel) {
    TestSample test;
    MakeSample(test, std::vector<int16_t>(400, 1000), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 100, 0, 1, 0);
    voice.rampLeft = 0;
    voice.rampRight = 0;
    Mix(64);
    EXPECT_EQ(voice.rampRemaining, 64);
    EXPECT_EQ(voice.rampLeftTarget, 100);
    // Half way: 50 × 256, rounded from the float gain.
    EXPECT_NEAR(voice.rampLeft, 50 * 256, 1);
    EXPECT_EQ(voice.rampRight, 0);
}

TEST_F(MixerTest, CallLongerThanTheRampContinuesAtTheTarget) {
    TestSample test;
    MakeSample(test, std::vector<int16_t>(2000, 2000), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 120, 60, 1, 0);
    // A ramp with 50 frames left, set up earlier for these very targets.
    voice.rampLeftTarget = 120;
    voice.rampRightTarget = 60;
    voice.rampRemaining = 50;
    voice.rampLeft = 100 * 256;
    voice.rampRight = 80 * 256;
    const float leftStep = 20.0f / 255.0f / 50.0f;
    const float rightStep = -20.0f / 255.0f / 50.0f;
    voice.rampLeftStep = leftStep;
    voice.rampRightStep = rightStep;
    std::vector<float> out = Mix(882);
    float left = 100.0f * 256.0f / 256.0f / 255.0f;
    float right = 80.0f * 256.0f / 256.0f / 255.0f;
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(out[2 * i], 2000.0f * left) << i;
        EXPECT_EQ(out[2 * i + 1], 2000.0f * right) << i;
        left += leftStep;
        right += rightStep;
    }
    for (int i = 50; i < 882; ++i) {
        EXPECT_EQ(out[2 * i], 2000.0f * (120.0f / 255.0f)) << i;
        EXPECT_EQ(out[2 * i + 1], 2000.0f * (60.0f / 255.0f)) << i;
    }
    EXPECT_EQ(voice.rampRemaining, 0);
    EXPECT_EQ(voice.rampLeft, 120 * 256);
    EXPECT_EQ(voice.rampRight, 60 * 256);
}

TEST_F(MixerTest, LevelChangeDuringARampRestartsIt) {
    TestSample test;
    MakeSample(test, std::vector<int16_t>(1000, 1000), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 100, 100, 1, 0);
    voice.rampLeft = 0;
    voice.rampRight = 0;
    Mix(64);
    const int32_t reached = voice.rampLeft;
    voice.leftLevel = 0;  // the replay engine turns the voice off half way up
    voice.rightLevel = 0;
    std::vector<float> out = Mix(200);
    EXPECT_EQ(voice.rampLeftTarget, 0);
    EXPECT_EQ(voice.rampRemaining, 0);
    EXPECT_EQ(voice.rampLeft, 0);
    // It starts from the level reached and falls to silence in 128 frames.
    EXPECT_NEAR(out[0], 1000.0f * static_cast<float>(reached) / 256.0f / 255.0f, 0.01f);
    EXPECT_GT(out[2 * 100], 0.0f);
    EXPECT_EQ(out[2 * 128], 0.0f);
    EXPECT_EQ(out[2 * 199], 0.0f);
}

TEST_F(MixerTest, EmptySampleStopsAtOnceAndAddsNothing) {
    Voice& voice = Play(5, emptySample, 100, 100, 1, 0);
    voice.rampLeft = 0;
    std::vector<float> out = Mix(16);
    for (float value : out) {
        EXPECT_EQ(value, 0.0f);
    }
    EXPECT_EQ(voice.sample, nullptr);
}

TEST_F(MixerTest, NothingHappensForCountsBelowOne) {
    TestSample test;
    MakeSample(test, Ramp(10), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 255, 255, 1, 0);
    std::vector<float> out(4, 0.0f);
    MixVoices(out.data(), 0, 0);
    MixVoices(out.data(), -3, 0);
    EXPECT_EQ(out[0], 0.0f);
    EXPECT_EQ(voice.position, 0u);
}

TEST_F(MixerTest, OnlyTheFirstSixtyFourVoicesAreMixed) {
    TestSample test;
    MakeSample(test, std::vector<int16_t>(64, 510), 2, 0, 64);
    Play(63, test.sample, 255, 0, 1, 0);
    Play(64, test.sample, 0, 255, 1, 0);
    std::vector<float> out = Mix(8);
    EXPECT_EQ(out[0], 510.0f);
    EXPECT_EQ(out[1], 0.0f);
    EXPECT_EQ(voices[64].position, 0u);
}

TEST_F(MixerTest, VoicesAddUp) {
    TestSample a;
    TestSample b;
    MakeSample(a, std::vector<int16_t>(64, 255), 2, 0, 64);
    MakeSample(b, std::vector<int16_t>(64, -510), 2, 0, 64);
    Play(0, a.sample, 255, 51, 1, 0);
    Play(40, b.sample, 51, 255, 1, 0);
    std::vector<float> out = Mix(4);
    EXPECT_EQ(out[0], 255.0f + -510.0f * (51.0f / 255.0f));
    EXPECT_EQ(out[1], 255.0f * (51.0f / 255.0f) + -510.0f);
}

TEST_F(MixerTest, StepsOfHundredsOfSamplesNeverReadPastTheData) {
    // 300 samples per frame over a 1000-value sample: 4 frames (0, 300, 600, 900), then idle.
    TestSample test;
    MakeSample(test, Ramp(1000), 1, 0, 0);
    Voice& voice = Play(0, test.sample, 255, 255, 300, 0);
    std::vector<float> out = Mix(10);
    EXPECT_EQ(out[2 * 3], static_cast<float>(100 + 7 * 900));
    EXPECT_EQ(out[2 * 4], 0.0f);
    EXPECT_EQ(voice.sample, nullptr);

    // The same on a 20-value forward loop: every frame lands inside the loop.
    TestSample looped;
    MakeSample(looped, Ramp(40), 2, 10, 20);
    Voice& loopVoice = Play(1, looped.sample, 255, 0, 1000, 0x9000000u);
    for (int i = 0; i < 50; ++i) {
        Mix(17);
        ASSERT_GE(loopVoice.position, 10u);
        ASSERT_LT(loopVoice.position, 30u);
    }
}

TEST_F(MixerTest, PositionPastTheLoopEndIsBroughtBackIntoTheLoop) {
    TestSample test;
    MakeSample(test, Ramp(40), 2, 10, 20);
    Voice& voice = Play(0, test.sample, 255, 255, 1, 0, 35);
    std::vector<float> out = Mix(1);
    EXPECT_EQ(out[0], static_cast<float>(100 + 7 * 15));  // 35 is 15 within the loop's period
    EXPECT_EQ(voice.position, 16u);
}

TEST(ConvertToPcm16Test, RoundsHalvesToEvenAndClamps) {
    const float source[] = {2.5f,  3.5f,   -2.5f,    40000.0f,  -40000.0f,
                            0.49f, -0.51f, 32767.4f, -32768.0f, 1.5f};
    int16_t out[10] = {};
    ConvertToPcm16(out, source, 5);
    const int16_t expected[] = {2, 4, -2, 32767, -32768, 0, -1, 32767, -32768, 2};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(out[i], expected[i]) << i;
    }
}

TEST(ConvertToPcm16Test, IgnoresEmptyRequestsAndNullPointers) {
    const float source[] = {100.0f, 200.0f};
    int16_t out[2] = {7, 7};
    ConvertToPcm16(out, source, 0);
    ConvertToPcm16(out, source, -1);
    ConvertToPcm16(nullptr, source, 1);
    ConvertToPcm16(out, nullptr, 1);
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(out[1], 7);
    ConvertToPcm16(out, source, 1);
    EXPECT_EQ(out[0], 100);
    EXPECT_EQ(out[1], 200);
}

}  // namespace
