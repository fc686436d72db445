// Mixer: interpolation, loop boundaries, volume ramps and PCM conversion, frame by frame.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "music/mixer.h"
#include "music/player.h"
#include "music/song.h"
#include "music/voice.h"

namespace {

constexpr uint32_t kHalf = 0x80000000u;

// A sample whose storage has the loader's shape: length values, then 8 zeros, with the loop
// guard written behind the loop end.
struct TestSample {
    TestSample(const std::vector<int16_t>& values, uint8_t loopMode, uint32_t loopStart = 0,
               uint32_t loopLength = 0)
        : storage(values) {
        storage.resize(values.size() + 8, 0);
        sample.data = storage.data();
        sample.length = static_cast<uint32_t>(values.size());
        sample.loopMode = loopMode;
        sample.bits = 16;
        sample.loopStart = loopMode == 1 ? 0 : loopStart;
        sample.loopLength = loopMode == 1 ? sample.length : loopLength;
        if (loopMode != 1) {
            const uint32_t end = loopStart + loopLength;
            storage[end] = loopMode == 2 ? storage[loopStart] : storage[end - 1];
        }
    }
    std::vector<int16_t> storage;
    Sample sample{};
};

// Values that tell every position apart: value at index i is 100 + 7 × i.
std::vector<int16_t> Ramp(int count) {
    std::vector<int16_t> values(count);
    for (int i = 0; i < count; ++i) {
        values[i] = static_cast<int16_t>(100 + 7 * i);
    }
    return values;
}

float RampAt(int i) {
    return static_cast<float>(100 + 7 * i);
}

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetVoices(player);
        player.rampLength = 128;
        player.rampLengthReciprocal = 1.0f / 128.0f;
    }

    // Starts voice k on the sample at a settled level (no ramp pending).
    Voice& Play(int k, Sample& sample, int32_t left, int32_t right, uint32_t stepInteger,
                uint32_t stepFraction, uint32_t position = 0, uint32_t fraction = 0,
                int32_t direction = 1) {
        Voice& voice = player.voices[k];
        voice.sample = &sample;
        voice.leftLevel = left;
        voice.rightLevel = right;
        voice.rampLeft = left * 256;
        voice.rampRight = right * 256;
        voice.stepInteger = stepInteger;
        voice.stepFraction = stepFraction;
        voice.position = position;
        voice.positionFraction = fraction;
        voice.direction = direction;
        return voice;
    }

    std::vector<float> Mix(int frames, float start = 0.0f) {
        std::vector<float> out(2 * frames, start);
        MixVoices(player, out.data(), frames);
        return out;
    }

    Player player;
};

TEST_F(MixerTest, VoicesAddToTheBufferWithTheirGains) {
    TestSample ramp(Ramp(50), 1);
    TestSample negative(std::vector<int16_t>(64, -510), 2, 0, 64);
    Play(0, ramp.sample, 200, 55, 1, 0);
    Play(40, negative.sample, 51, 255, 1, 0);
    std::vector<float> out = Mix(10, 1.5f);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(out[2 * i], 1.5f + RampAt(i) * (200.0f / 255.0f) + -510.0f * (51.0f / 255.0f));
        EXPECT_EQ(out[2 * i + 1], 1.5f + RampAt(i) * (55.0f / 255.0f) + -510.0f) << i;
    }
    EXPECT_EQ(player.voices[0].position, 10u);
    EXPECT_EQ(player.voices[0].positionFraction, 0u);
    // Counts below one do nothing; an empty sample stops at once and adds nothing.
    MixVoices(player, out.data(), 0);
    MixVoices(player, out.data(), -3);
    EXPECT_EQ(player.voices[0].position, 10u);
    SetUp();
    Voice& empty = Play(5, emptySample, 100, 100, 1, 0);
    empty.rampLeft = 0;
    for (float value : Mix(16)) {
        EXPECT_EQ(value, 0.0f);
    }
    EXPECT_EQ(empty.sample, nullptr);
}

// Frame by frame, what one settled voice adds: the value interpolated at 32.32 position x, then
// a step, then at the loop boundary a forward wrap (fraction kept), a ping-pong mirror about the
// boundary passed, or the end of a one-shot sample.
struct ModelVoice {
    uint64_t x;
    uint64_t step;
    int32_t direction;
    bool playing = true;
};

void Settle(ModelVoice& v, const TestSample& t) {
    const int64_t start = static_cast<int64_t>(t.sample.loopStart) << 32;
    const int64_t end = start + (static_cast<int64_t>(t.sample.loopLength) << 32);
    auto x = static_cast<int64_t>(v.x);
    if (t.sample.loopMode == 2 && x >= end) {
        x = start + (x - start) % (end - start);
    }
    while (t.sample.loopMode == 4 &&
           ((v.direction == 1 && x >= end) || (v.direction == 2 && x <= start))) {
        x = v.direction == 1 ? 2 * end - 1 - x : 2 * start - 1 - x;
        v.direction = 3 - v.direction;
    }
    if (t.sample.loopMode == 1 && x >= end) {
        v.playing = false;
        x = 0;
    }
    v.x = static_cast<uint64_t>(x);
}

float ModelFrame(ModelVoice& v, const TestSample& t) {
    Settle(v, t);
    if (!v.playing) {
        return 0.0f;
    }
    const uint32_t index = static_cast<uint32_t>(v.x >> 32);
    const float s0 = t.storage[index];
    const float weight = static_cast<float>(static_cast<uint32_t>(v.x) >> 1) / 2147483648.0f;
    const float value = s0 + weight * (static_cast<float>(t.storage[index + 1]) - s0);
    v.x = v.direction == 2 && t.sample.loopMode == 4 ? v.x - v.step : v.x + v.step;
    Settle(v, t);
    return value;
}

// Frame-exact agreement with the model, over chunks long enough for the wide loops and steps from
// a quarter to 300 samples, with fractions that carry in every lane, split over several calls.
TEST_F(MixerTest, EveryFrameMatchesTheModel) {
    std::vector<int16_t> noise(5000);
    uint32_t seed = 12345;
    for (int16_t& value : noise) {
        seed = seed * 1103515245u + 12345u;
        value = static_cast<int16_t>(seed >> 16);
    }
    const TestSample samples[] = {
        TestSample(noise, 4, 100, 4800),    TestSample(Ramp(40), 2, 10, 20),
        TestSample(Ramp(40), 4, 10, 20),    TestSample(Ramp(100), 1),
        TestSample({100, 300, -500, 0}, 1), TestSample(Ramp(1000), 1)};
    struct Case {
        int sample;
        uint32_t stepInteger, stepFraction, start, startFraction;
        int32_t direction;
        std::vector<int> calls;  // frames per MixVoices call
    };
    const Case cases[] = {{0, 1, 0, 200, 0, 1, {883}},
                          {0, 0, 0xFFFFFFFFu, 200, 0xFFFFFFF0u, 1, {883}},
                          {0, 2, 0x80000001u, 300, 0x7FFFFFFFu, 1, {883}},
                          {0, 0, 0x12345678u, 250, 0x9ABCDEF0u, 1, {883}},
                          {0, 1, 0xC0000000u, 4000, 0x40000000u, 2, {883}},
                          {0, 0, 0x0000FFFFu, 3000, 0xFFFF0000u, 2, {883}},
                          {0, 3, 0x12345678u, 120, 0, 2, {5, 300, 1, 577}},
                          {1, 1, 0, 0, 0, 1, {100}},
                          {1, 1, 0x80000000u, 29, 0, 1, {1, 50}},
                          {1, 1, 0, 35, 0, 1, {3}},  // past the loop end: brought back into it
                          {1, 1000, 0x9000000u, 0, 0, 1, {37, 37, 37, 900}},
                          {2, 1, 0, 28, 0, 1, {2, 3, 60}},
                          {2, 1, 0, 12, 0x80000000u, 2, {3, 97}},
                          {2, 3, 0x12345678u, 0, 0, 1, {37, 37, 37, 800}},
                          {3, 0, 0xC0000000u, 0, 0, 1, {200}},  // the last frame meets the tail
                          {3, 0, 0x80000000u, 0, 0, 1, {150, 50}},
                          {4, 1, 0, 0, 0x80000000u, 1, {2}},
                          {5, 300, 0, 0, 0, 1, {10}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "sample " << c.sample << " step " << c.stepInteger << "+"
                                        << c.stepFraction << " from " << c.start);
        SetUp();
        const TestSample& t = samples[c.sample];
        Voice& voice = Play(0, const_cast<Sample&>(t.sample), 77, 201, c.stepInteger,
                            c.stepFraction, c.start, c.startFraction, c.direction);
        ModelVoice model{(static_cast<uint64_t>(c.start) << 32) | c.startFraction,
                         (static_cast<uint64_t>(c.stepInteger) << 32) | c.stepFraction,
                         c.direction};
        for (int frames : c.calls) {
            const std::vector<float> out = Mix(frames);
            for (int i = 0; i < frames; ++i) {
                const float s = ModelFrame(model, t);
                ASSERT_EQ(out[2 * i], s * (77.0f / 255.0f)) << "frame " << i;
                ASSERT_EQ(out[2 * i + 1], s * (201.0f / 255.0f)) << "frame " << i;
            }
            ASSERT_EQ(voice.sample != nullptr, model.playing);
            ASSERT_EQ((static_cast<uint64_t>(voice.position) << 32) | voice.positionFraction,
                      model.x);
            if (t.sample.loopMode == 4) {
                ASSERT_EQ(voice.direction, model.direction);
            }
        }
    }
}

// A few figures by hand, so that the model itself is pinned.
TEST_F(MixerTest, HandFiguresOfInterpolationAndLoops) {
    TestSample test({100, 300, -500, 0}, 1);
    Play(0, test.sample, 255, 255, 1, 0, 0, kHalf);
    std::vector<float> out = Mix(2);
    EXPECT_EQ((std::vector<float>{out[0], out[1], out[2]}),
              (std::vector<float>{200.0f, 200.0f, -100.0f}));
    TestSample forward(Ramp(40), 2, 10, 20);
    Voice& voice = Play(0, forward.sample, 255, 255, 1, 0);
    out = Mix(100);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(out[2 * i], RampAt(i < 30 ? i : 10 + (i - 30) % 20)) << i;
    }
    EXPECT_EQ(voice.position, 20u);  // frame 100 would play position 20
    // Ping-pong: 12.5, 11.5, 10.5, then 9.5 is past the start: mirrored to 2 × 10 − 2^-32 − 9.5.
    TestSample pingPong(Ramp(40), 4, 10, 20);
    Play(0, pingPong.sample, 255, 255, 1, 0, 12, kHalf, 2);
    Mix(3);
    EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(voice.direction), voice.position,
                                     voice.positionFraction}),
              (std::vector<uint32_t>{1, 10, kHalf - 1}));
    // A step longer than the loop [10, 30) mirrors again: 12.5 - 45 -> 52.5 - e (past the end)
    // -> 7.5 (before the start) -> 12.5 - e, forward.
    Play(0, pingPong.sample, 255, 255, 45, 0, 12, kHalf, 2);
    Mix(1);
    EXPECT_EQ((std::vector<uint32_t>{static_cast<uint32_t>(voice.direction), voice.position,
                                     voice.positionFraction}),
              (std::vector<uint32_t>{1, 12, kHalf - 1}));
}

TEST_F(MixerTest, NewNoteRampsUpOverRampLengthFrames) {
    TestSample test(std::vector<int16_t>(400, 1000), 1);
    for (int frames : {64, 300}) {
        SetUp();
        Voice& voice = Play(0, test.sample, 100, 0, 1, 0);
        voice.rampLeft = 0;  // a note start fades in from silence
        voice.rampRight = 0;
        const std::vector<float> out = Mix(frames);
        if (frames == 64) {  // split over calls: the reached level is stored
            EXPECT_EQ(voice.rampRemaining, 64);
            EXPECT_EQ(voice.rampLeftTarget, 100);
            EXPECT_NEAR(voice.rampLeft, 50 * 256, 1);  // rounded from the float gain
            EXPECT_EQ(voice.rampRight, 0);
            continue;
        }
        const float step = 100.0f * (1.0f / 255.0f) * (1.0f / 128.0f);
        float gain = 0.0f;
        for (int i = 0; i < 128; ++i) {
            EXPECT_EQ(out[2 * i], 1000.0f * gain) << i;
            gain += step;
        }
        EXPECT_NEAR(out[2 * 64], 1000.0f * 50.0f / 255.0f, 0.01f);
        for (int i = 128; i < 300; ++i) {
            EXPECT_EQ(out[2 * i], 1000.0f * (100.0f / 255.0f)) << i;
            EXPECT_EQ(out[2 * i + 1], 0.0f) << i;
        }
        EXPECT_EQ(voice.rampRemaining, 0);
        EXPECT_EQ(voice.rampLeft, 100 * 256);
        EXPECT_EQ(voice.rampLeftStep, 0.0f);
    }
}

TEST_F(MixerTest, CallLongerThanTheRampContinuesAtTheTarget) {
    TestSample test(std::vector<int16_t>(2000, 2000), 1);
    Voice& voice = Play(0, test.sample, 120, 60, 1, 0);
    // A ramp with 50 frames left, set up earlier for these very targets.
    voice.rampLeftTarget = 120;
    voice.rampRightTarget = 60;
    voice.rampRemaining = 50;
    voice.rampLeft = 100 * 256;
    voice.rampRight = 80 * 256;
    voice.rampLeftStep = 20.0f / 255.0f / 50.0f;
    voice.rampRightStep = -20.0f / 255.0f / 50.0f;
    std::vector<float> out = Mix(882);
    float left = 100.0f / 255.0f;
    float right = 80.0f / 255.0f;
    for (int i = 0; i < 882; ++i) {
        EXPECT_EQ(out[2 * i], 2000.0f * (i < 50 ? left : 120.0f / 255.0f)) << i;
        EXPECT_EQ(out[2 * i + 1], 2000.0f * (i < 50 ? right : 60.0f / 255.0f)) << i;
        left += 20.0f / 255.0f / 50.0f;
        right += -20.0f / 255.0f / 50.0f;
    }
    EXPECT_EQ(voice.rampRemaining, 0);
    EXPECT_EQ(voice.rampLeft, 120 * 256);
    EXPECT_EQ(voice.rampRight, 60 * 256);
}

TEST_F(MixerTest, LevelChangeDuringARampRestartsIt) {
    TestSample test(std::vector<int16_t>(1000, 1000), 1);
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

TEST(ConvertToPcm16Test, RoundsHalvesToEvenClampsAndIgnoresEmptyRequests) {
    const float source[] = {2.5f,  3.5f,   -2.5f,    40000.0f,  -40000.0f,
                            0.49f, -0.51f, 32767.4f, -32768.0f, 1.5f};
    int16_t out[10] = {7, 7};
    ConvertToPcm16(out, source, 0);
    ConvertToPcm16(out, source, -1);
    ConvertToPcm16(nullptr, source, 1);
    ConvertToPcm16(out, nullptr, 1);
    EXPECT_EQ(out[0], 7);
    EXPECT_EQ(out[1], 7);
    ConvertToPcm16(out, source, 5);
    const int16_t expected[] = {2, 4, -2, 32767, -32768, 0, -1, 32767, -32768, 2};
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(out[i], expected[i]) << i;
    }
}

}  // namespace
