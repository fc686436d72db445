// Effect, volume-column, envelope and auto-vibrato tests: tiny songs played tick by tick, with the
// channel's fields compared against a table of expected values per tick.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "music/channel.h"
#include "music/effects.h"
#include "music/player.h"
#include "music/replay.h"
#include "music/voice.h"
#include "xm_builder.h"

namespace {

using Probe = std::function<int32_t()>;

class EffectsTest : public ::testing::Test {
protected:
    void SetUp() override { layout = MakeSongLayout(2, 2); }
    void TearDown() override { SongFree(song); }
    void Row(int32_t row, Cell cell, int32_t channel = 0, int32_t pattern = 0) {
        SetCell(layout, pattern, row, channel, cell);
    }
    void Start() {
        song = LoadAndStart(layout);
        ASSERT_NE(song, nullptr);
    }
    // Runs `ticks` ticks and returns the probe's value after each.
    std::vector<int32_t> Trace(int32_t ticks, const Probe& probe) {
        std::vector<int32_t> values;
        for (int32_t i = 0; i < ticks; ++i) {
            ReplayTick(song);
            values.push_back(probe());
        }
        return values;
    }
    Probe VolumeOf(int32_t c = 0) {
        return [c] { return channels[c].volume; };
    }
    Probe VoiceIndexOf(int32_t c = 0) {
        return [c] { return channels[c].voice->index; };
    }
    XmSongLayout layout;
    Song* song = nullptr;
};

using Values = std::vector<int32_t>;

TEST_F(EffectsTest, VolumeSlideAndItsMemory) {
    Row(0, Cell{49, 1, 0x30, 0xA, 0x04});
    Row(1, Cell{0, 0, 0, 0xA, 0x00});
    Start();
    EXPECT_EQ(Trace(12, VolumeOf()), (Values{32, 28, 24, 20, 16, 12, 12, 8, 4, 0, 0, 0}));
}

TEST_F(EffectsTest, VolumeColumnSlidesActOnEveryTick) {
    Row(0, Cell{49, 1, 0x64, 0, 0});
    Row(1, Cell{0, 0, 0x84, 0, 0});
    Row(2, Cell{0, 0, 0x73, 0, 0});
    Row(3, Cell{0, 0, 0x92, 0, 0});
    Start();
    EXPECT_EQ(Trace(24, VolumeOf()), (Values{60, 56, 52, 48, 44, 40, 36, 36, 36, 36, 36, 36,
                                             39, 42, 45, 48, 51, 54, 56, 56, 56, 56, 56, 56}));
}

TEST_F(EffectsTest, PortamentoLimitsAndFineSlides) {
    Row(0, Cell{96, 1, 0, 0x1, 0x10});
    Row(1, Cell{0, 0, 0, 0x1, 0xFF});
    Row(2, Cell{0, 0, 0, 0x1, 0x00});
    Row(3, Cell{0, 0, 0, 0xE, 0x1F});
    Row(4, Cell{0, 0, 0, 0x21, 0x1F});
    Row(5, Cell{0, 0, 0, 0x2, 0x02});
    Start();
    Probe period = [] { return channels[0].period; };
    EXPECT_EQ(Trace(6, period), (Values{1600, 1536, 1472, 1408, 1344, 1280}));
    EXPECT_EQ(Trace(6, period), (Values{1280, 260, 56, 56, 56, 56}));
    EXPECT_EQ(Trace(6, period), (Values{56, 56, 56, 56, 56, 56}));
    EXPECT_EQ(Trace(2, period), (Values{-4, -4}));  // E1F: no lower limit
    Trace(4, period);
    EXPECT_EQ(Trace(1, period), (Values{-19}));  // X1F
    Trace(5, period);
    EXPECT_EQ(Trace(3, period), (Values{-19, -11, -3}));
}

TEST_F(EffectsTest, SetVolumeAboveSixtyFourThenSlide) {
    Row(0, Cell{49, 1, 0, 0xC, 0x7F});
    Row(1, Cell{0, 0, 0, 0xA, 0x10});
    Start();
    EXPECT_EQ(Trace(8, VolumeOf()), (Values{127, 127, 127, 127, 127, 127, 127, 64}));
    EXPECT_GT(voices[0].volume, 0);
}

TEST_F(EffectsTest, SpeedAndTempo) {
    Row(0, Cell{0, 0, 0, 0xF, 0x20});
    Row(1, Cell{0, 0, 0, 0xF, 0x00});
    Start();
    ReplayTick(song);
    EXPECT_EQ(song->bpm, 32);
    EXPECT_EQ(song->samplesPerTick, 110250 / 32);
    EXPECT_EQ(song->speed, 6);
    Trace(5, [] { return 0; });
    Probe row = [this] { return song->row; };
    EXPECT_EQ(Trace(4, row), (Values{1, 2, 3, 4}));
    EXPECT_EQ(song->tick, 0);
}

TEST_F(EffectsTest, PatternBreakTargets) {
    layout.defaultTempo = 1;
    Row(63, Cell{0, 0, 0, 0xD, 0x00});
    Row(0, Cell{0, 0, 0, 0xD, 0x64}, 0, 1);
    Start();
    Trace(64, [] { return 0; });
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 1);
    EXPECT_EQ(song->row, 0);
    ReplayTick(song);  // D64: 64 is above 63, so row 0 of the next entry (wrapping to 0)
    EXPECT_EQ(song->orderIndex, 0);
    EXPECT_EQ(song->row, 0);
}

TEST_F(EffectsTest, JumpAndBreakInteractByChannelOrder) {
    layout = MakeSongLayout(3, 7);
    layout.defaultTempo = 1;
    Row(0, Cell{0, 0, 0, 0xB, 0x05}, 1);
    Row(0, Cell{0, 0, 0, 0xD, 0x10}, 2);
    Row(10, Cell{0, 0, 0, 0xD, 0x10}, 1, 5);
    Row(10, Cell{0, 0, 0, 0xB, 0x03}, 2, 5);
    Row(0, Cell{0, 0, 0, 0xB, 0x09}, 0, 3);  // beyond the song length: order 0
    Start();
    ReplayTick(song);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 5);
    EXPECT_EQ(song->row, 10);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 3);
    EXPECT_EQ(song->row, 0);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 0);
    EXPECT_EQ(song->row, 0);
}

TEST_F(EffectsTest, PatternLoopPlaysTheSpanThreeTimes) {
    layout.defaultTempo = 2;
    Row(16, Cell{0, 0, 0, 0xE, 0x60});
    Row(31, Cell{0, 0, 0, 0xE, 0x62});
    Row(15, Cell{0, 0, 0, 0xA, 0x0F}, 1);
    Row(16, Cell{49, 1, 0x30, 0, 0}, 1);
    Row(31, Cell{0, 0, 0, 0xA, 0x10}, 1);
    Start();
    std::vector<int32_t> rows;
    for (int32_t i = 0; i < 2 * (32 + 32) + 2; ++i) {
        ReplayTick(song);
        if (song->tick == 1) {
            rows.push_back(song->row);
        }
        if (song->tick == 0 && rows.size() > 16 && (rows.back() == 31 || rows.back() == 15)) {
            // Tick 1 of row 31 slid up with row 31's cells, not those of row 15.
            EXPECT_EQ(channels[1].volume, 33);
        }
    }
    // Row 31 moves `row` back to 15 on its tick 0 while it loops, so that the row advance lands
    // on row 16; the third time it lets the song go on.
    Values expected;
    for (int32_t r = 0; r < 31; ++r) {
        expected.push_back(r);
    }
    expected.push_back(15);
    for (int32_t r = 16; r < 31; ++r) {
        expected.push_back(r);
    }
    expected.push_back(15);
    for (int32_t r = 16; r < 33; ++r) {
        expected.push_back(r);
    }
    EXPECT_EQ(rows, expected);
}

TEST_F(EffectsTest, PatternDelayRepeatsTheRow) {
    layout.defaultTempo = 3;
    Row(0, Cell{0, 0, 0, 0xE, 0xE2});
    Start();
    Probe row = [this] { return song->row; };
    EXPECT_EQ(Trace(10, row), (Values{0, 0, 0, 0, 0, 0, 0, 0, 0, 1}));
}

TEST_F(EffectsTest, NoteDelay) {
    Row(0, Cell{49, 1, 0x20, 0, 0});
    Row(1, Cell{61, 1, 0, 0xE, 0xD3});
    Row(2, Cell{61, 1, 0, 0xE, 0xD0});
    Row(3, Cell{61, 1, 0, 0xE, 0xD6});
    Start();
    Probe volume = VolumeOf();
    Trace(6, volume);
    voices[0].position = 99;
    EXPECT_EQ(Trace(6, volume), (Values{16, 16, 16, 64, 64, 64}));
    EXPECT_EQ(channels[0].period, 3840);
    EXPECT_EQ(channels[0].voice, &voices[32]);  // started on tick 3
    EXPECT_EQ(voices[0].position, 99u);
    // ED0 and ED6 never play their notes.
    channels[0].volume = 10;
    Probe voice = VoiceIndexOf();
    EXPECT_EQ(Trace(12, voice), (Values(12, 32)));
}

TEST_F(EffectsTest, NoteDelayKeepsThePreviousSoundOnTickZero) {
    Row(0, Cell{49, 1, 0x20, 0, 0});
    Row(1, Cell{61, 1, 0x30, 0xE, 0xD2});
    Start();
    Trace(6, [] { return 0; });
    ReplayTick(song);
    EXPECT_EQ(channels[0].volume, 16);
    EXPECT_EQ(channels[0].period, 4608);
    EXPECT_EQ(channels[0].note, 60);
    EXPECT_EQ(channels[0].notePeriod, 3840);
    ReplayTick(song);
    EXPECT_EQ(channels[0].volume, 16);
    ReplayTick(song);
    EXPECT_EQ(channels[0].volume, 32);  // the volume byte runs again with the note
    EXPECT_EQ(channels[0].period, 3840);
}

TEST_F(EffectsTest, NoteCut) {
    Row(0, Cell{49, 1, 0, 0xE, 0xC0});
    Row(1, Cell{49, 1, 0, 0xE, 0xC2});
    Start();
    EXPECT_EQ(Trace(12, VolumeOf()), (Values{64, 64, 64, 64, 64, 64, 64, 64, 0, 0, 0, 0}));
}

TEST_F(EffectsTest, MultiRetrigModes) {
    Row(0, Cell{49, 1, 0, 0x1B, 0x31});
    Row(1, Cell{0, 0, 0, 0x1B, 0x03});
    Row(2, Cell{0, 0, 0, 0x1B, 0xF2});
    Start();
    std::vector<int32_t> indices;
    EXPECT_EQ(Trace(6,
                    [&] {
                        indices.push_back(channels[0].voice->index);
                        return channels[0].volume;
                    }),
              (Values{64, 60, 56, 52, 48, 44}));
    EXPECT_EQ(indices, (Values{0, 32, 0, 32, 0, 32}));
    // R03: a non-zero parameter stores both nibbles: mode 0, so a bare retrigger on tick 3.
    EXPECT_EQ(Trace(6, VoiceIndexOf()), (Values{32, 32, 32, 0, 0, 0}));
    EXPECT_EQ(channels[0].volume, 44);
    // RF2: doubled every second tick, limited to 64.
    EXPECT_EQ(Trace(6, VolumeOf()), (Values{44, 44, 64, 64, 64, 64}));
}

TEST(EffectTableTest, MultiRetrigVolumeModes) {
    // Volume 30 before the retrigger, for modes 0 to 15.
    const int32_t expected[16] = {30, 29, 28, 26, 22, 14, 20, 15, 30, 31, 32, 34, 38, 46, 45, 60};
    Song song{};
    song.tick = 4;
    for (uint8_t mode = 0; mode < 16; ++mode) {
        Channel channel{};
        channel.volume = 30;
        channel.retrigVolumeMode = mode;
        channel.retrigInterval = 2;
        Cell cell{0, 0, 0, 0x1B, 0};
        EffectContext context{&song, &cell, &emptyInstrument, &emptySample, 0, 0, 0};
        effectOtherTick[0x1B](channel, context);
        EXPECT_EQ(channel.volume, expected[mode]) << int(mode);
        EXPECT_TRUE(channel.updateFlags & kUpdateTrigger);
        EXPECT_EQ((channel.updateFlags & kUpdateVolume) != 0, mode != 0) << int(mode);
    }
    // Limits: 0..64, and nothing between the retrigger ticks.
    Channel channel{};
    channel.volume = 3;
    channel.retrigVolumeMode = 5;
    channel.retrigInterval = 3;
    Cell cell{0, 0, 0, 0x1B, 0};
    EffectContext context{&song, &cell, &emptyInstrument, &emptySample, 0, 0, 0};
    effectOtherTick[0x1B](channel, context);
    EXPECT_EQ(channel.volume, 3);
    EXPECT_EQ(channel.updateFlags, 0);
    song.tick = 3;
    effectOtherTick[0x1B](channel, context);
    EXPECT_EQ(channel.volume, 0);
}

TEST(EffectTableTest, UnlistedEffectsDoNothing) {
    Song song{};
    song.tick = 1;
    song.speed = 6;
    song.globalVolume = 40;
    for (uint8_t effect : {18, 19, 22, 23, 24, 26, 28, 30, 31, 32, 34, 35}) {
        Channel channel{};
        channel.volume = 20;
        channel.period = 4000;
        channel.panning = 100;
        Cell cell{0, 0, 0, effect, 0x5A};
        EffectContext context{&song, &cell, &emptyInstrument, &emptySample, 0, 0, 0};
        effectTickZero[effect](channel, context);
        effectOtherTick[effect](channel, context);
        EXPECT_EQ(channel.updateFlags, 0) << int(effect);
        EXPECT_EQ(channel.volume, 20);
        EXPECT_EQ(channel.period, 4000);
        EXPECT_EQ(channel.panning, 100);
        EXPECT_EQ(song.globalVolume, 40);
        EXPECT_EQ(song.speed, 6);
    }
}

TEST_F(EffectsTest, TremorCycle) {
    Row(0, Cell{49, 1, 0, 0x1D, 0x21});
    Row(1, Cell{0, 0, 0, 0x1D, 0x00});
    Start();
    Probe audible = [] { return voices[0].volume > 0 ? 1 : 0; };
    EXPECT_EQ(Trace(12, audible), (Values{1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1}));
    EXPECT_EQ(channels[0].volume, 64);
}

TEST(ModulatorTest, WaveformsAndSteps) {
    EXPECT_EQ(ModulatorWave(0, 16), 256);
    EXPECT_EQ(ModulatorWave(0, -16), 256);
    EXPECT_EQ(ModulatorWave(0, 8), 181);
    EXPECT_EQ(ModulatorWave(0, 0), 0);
    EXPECT_EQ(ModulatorWave(1, 0), 0);
    EXPECT_EQ(ModulatorWave(1, 31), 248);
    EXPECT_EQ(ModulatorWave(1, -32), 255);
    EXPECT_EQ(ModulatorWave(1, -1), 7);
    EXPECT_EQ(ModulatorWave(2, 5), 255);

    Channel channel{};
    channel.vibratoDepth = 15;
    channel.vibratoPosition = 16;
    VibratoStep(channel);
    EXPECT_EQ(channel.periodDelta, -120);
    channel.vibratoPosition = -16;
    VibratoStep(channel);
    EXPECT_EQ(channel.periodDelta, 120);
    channel.waveControl = 3;  // square
    channel.vibratoDepth = 1;
    VibratoStep(channel);
    EXPECT_EQ(channel.periodDelta, 4);  // 255 >> 5 = 7, low bits cleared

    const int32_t tremolo[][4] = {// position, volume, expected delta, waveform
                                  {16, 40, 24, 0},   {16, 20, 32, 0},      {-16, 20, -20, 0},
                                  {-16, 50, -32, 0}, {-16, 50, -31, 0x20}, {-16, 50, -32, 0x30}};
    for (const auto& t : tremolo) {
        Channel c{};
        c.tremoloDepth = 8;
        c.tremoloSpeed = 20;
        c.tremoloPosition = static_cast<int8_t>(t[0]);
        c.volume = t[1];
        c.waveControl = static_cast<uint8_t>(t[3]);
        TremoloStep(c);
        EXPECT_EQ(c.volumeDelta, t[2]) << t[0] << " " << t[1] << " " << t[3];
        EXPECT_EQ(c.tremoloPosition, t[0] + 20 > 31 ? t[0] + 20 - 64 : t[0] + 20);
    }
}

TEST_F(EffectsTest, VibratoAdvancesAfterTickZero) {
    Row(0, Cell{49, 1, 0, 0x4, 0x8F});
    Start();
    Probe delta = [] { return channels[0].periodDelta; };
    EXPECT_EQ(Trace(6, delta), (Values{0, 0, -84, -120, -84, 0}));
    EXPECT_EQ(channels[0].vibratoPosition, -24);
}

TEST_F(EffectsTest, TremoloOffsetStaysWhenTheTremoloEnds) {
    Row(0, Cell{49, 1, 0x30, 0x7, 0x48});
    Row(1, Cell{0, 0, 0, 0, 0});
    Start();
    Probe delta = [] { return channels[0].volumeDelta; };
    // Phase 0, 4, 8, 12, 16: sine 0, 98, 181, 236, 256 times depth 8 >> 6.
    EXPECT_EQ(Trace(6, delta), (Values{0, 0, 12, 22, 29, 32}));
    ReplayTick(song);
    EXPECT_EQ(channels[0].volume, 32 + 32);
    EXPECT_EQ(channels[0].volumeDelta, 0);
}

TEST_F(EffectsTest, ArpeggioOffsetsByTick) {
    Row(0, Cell{49, 1, 0, 0x0, 0x37});
    Start();
    Probe delta = [] { return channels[0].periodDelta; };
    EXPECT_EQ(Trace(6, delta), (Values{0, 192, 448, 0, 192, 448}));
}

TEST_F(EffectsTest, AmigaArpeggioUsesTheTable) {
    layout.flags = 0;
    Row(0, Cell{49, 1, 0, 0x0, 0x0C});
    Start();
    Probe delta = [] { return channels[0].periodDelta; };
    EXPECT_EQ(Trace(3, delta), (Values{0, 0, 856 - 1712}));
}

TEST_F(EffectsTest, TonePortamentoStopsAtTheTarget) {
    Row(0, Cell{49, 1, 0, 0, 0});
    Row(1, Cell{50, 0, 0, 0x3, 0x07});
    Row(2, Cell{0, 0, 0xF1, 0, 0});
    Row(3, Cell{37, 0, 0xF2, 0, 0});
    Start();
    Probe period = [] { return channels[0].period; };
    Trace(6, period);
    EXPECT_EQ(Trace(6, period), (Values{4608, 4580, 4552, 4544, 4544, 4544}));
    EXPECT_EQ(Trace(6, period), Values(6, 4544));
    // A note with the volume-column portamento sets its period at once; the slide then holds.
    EXPECT_EQ(Trace(3, period), (Values{5376, 5376, 5376}));
    EXPECT_EQ(channels[0].portaSpeed, 32);
}

TEST_F(EffectsTest, PanningEffects) {
    Row(0, Cell{49, 1, 0, 0x8, 0x10});
    Row(1, Cell{0, 0, 0, 0x19, 0x0F});
    Row(2, Cell{0, 0, 0xC1, 0x19, 0xF0});
    Row(3, Cell{0, 0, 0xD5, 0xE, 0x80});
    Start();
    Probe panning = [] { return channels[0].panning; };
    EXPECT_EQ(Trace(6, panning), (Values{16, 16, 16, 16, 16, 16}));
    EXPECT_EQ(Trace(6, panning), (Values{16, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Trace(6, panning), (Values{16, 31, 46, 61, 76, 91}));
    // E80 sets 0 after the volume byte; the volume byte's slide then leaves the channel's
    // range, and only the voice is clamped.
    EXPECT_EQ(Trace(6, panning), (Values{0, -5, -10, -15, -20, -25}));
    EXPECT_EQ(voices[0].panning, 0);
}

TEST_F(EffectsTest, GlobalVolume) {
    Row(0, Cell{49, 1, 0, 0x10, 0x20});
    Row(0, Cell{49, 1, 0, 0, 0}, 1);
    Row(1, Cell{0, 0, 0, 0x11, 0x0A});
    Row(2, Cell{0, 0, 0, 0x11, 0xF0});
    Start();
    Probe global = [this] { return song->globalVolume; };
    EXPECT_EQ(Trace(1, global), (Values{32}));
    EXPECT_EQ(voices[1].volume, 63);  // channel 1 already hears the new value
    Trace(5, global);
    EXPECT_EQ(Trace(6, global), (Values{32, 22, 12, 2, 0, 0}));
    EXPECT_EQ(Trace(6, global), (Values{0, 15, 30, 45, 60, 64}));
}

TEST_F(EffectsTest, SampleOffsetWaitsForTheNextNote) {
    Row(0, Cell{0, 0, 0, 0x9, 0x02});
    Row(1, Cell{49, 1, 0, 0, 0});
    Row(2, Cell{49, 1, 0, 0x9, 0x10});
    Start();
    ReplayTick(song);
    EXPECT_EQ(voices[0].startOffset, 512u);
    EXPECT_EQ(voices[0].sample, nullptr);
    Trace(5, [] { return 0; });
    ReplayTick(song);
    EXPECT_EQ(voices[0].position, 512u);
    EXPECT_EQ(voices[0].startOffset, 0u);
    voices[0].position = 700;
    Trace(5, [] { return 0; });
    ReplayTick(song);  // 4096 is past the sample: no new start, position back to 0
    EXPECT_EQ(channels[0].voice, &voices[0]);
    EXPECT_EQ(voices[0].position, 0u);
}

TEST_F(EffectsTest, RetriggerEveryYTicks) {
    Row(0, Cell{49, 1, 0, 0xE, 0x92});
    Start();
    EXPECT_EQ(Trace(6, VoiceIndexOf()), (Values{0, 0, 32, 32, 0, 0}));
}

TEST_F(EffectsTest, FinetuneEffectChangesTheSample) {
    Row(0, Cell{49, 1, 0, 0xE, 0x58});
    Row(1, Cell{49, 1, 0, 0, 0});
    Start();
    Trace(7, [] { return 0; });
    EXPECT_EQ(song->instruments[0].samples[0]->finetune, 8);
    EXPECT_EQ(channels[0].notePeriod, 4608 - 4);
}

class EnvelopeTest : public EffectsTest {
protected:
    void SetUp() override {
        EffectsTest::SetUp();
        XmInstrumentLayout& in = layout.instruments[0];
        in.volumeEnvelope[0] = EnvelopePoint{0, 64};
        in.volumeEnvelope[1] = EnvelopePoint{10, 0};
        in.volumePointCount = 2;
        in.volumeType = 3;  // on, sustain at point 0
        in.fadeout = 0x100;
    }
};

TEST_F(EnvelopeTest, SustainHoldsUntilKeyOffThenFallsWithFadeout) {
    Row(0, Cell{49, 1, 0, 0, 0});
    Row(2, Cell{97, 0, 0, 0, 0});
    Start();
    Probe value = [] { return channels[0].volumeEnvelopeValue; };
    EXPECT_EQ(Trace(12, value), Values(12, 64));
    std::vector<int32_t> fade;
    EXPECT_EQ(Trace(12,
                    [&] {
                        fade.push_back(channels[0].fadeoutVolume);
                        return channels[0].volumeEnvelopeValue;
                    }),
              (Values{64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0}));
    EXPECT_EQ(channels[0].volumeEnvelopeDone, 1);
    for (int32_t i = 0; i < 12; ++i) {
        EXPECT_EQ(fade[i], 65536 - 512 * (i + 1));
    }
}

TEST_F(EnvelopeTest, LoopRepeatsBetweenItsPoints) {
    XmInstrumentLayout& in = layout.instruments[0];
    in.volumeEnvelope[0] = EnvelopePoint{0, 0};
    in.volumeEnvelope[1] = EnvelopePoint{2, 40};
    in.volumeEnvelope[2] = EnvelopePoint{4, 20};
    in.volumeEnvelope[3] = EnvelopePoint{8, 20};
    in.volumePointCount = 4;
    in.volumeType = 5;  // on, loop from point 1 to point 2
    in.volumeLoopStart = 1;
    in.volumeLoopEnd = 2;
    Row(0, Cell{49, 1, 0, 0, 0});
    Start();
    Probe value = [] { return channels[0].volumeEnvelopeValue; };
    EXPECT_EQ(Trace(10, value), (Values{0, 20, 40, 30, 40, 30, 40, 30, 40, 30}));
}

TEST_F(EnvelopeTest, IndicesPastThePointsAreIgnored) {
    XmInstrumentLayout& in = layout.instruments[0];
    in.volumeType = 7;
    in.volumeSustain = 11;
    in.volumeLoopStart = 200;
    in.volumeLoopEnd = 1;
    in.panningEnvelope[0] = EnvelopePoint{0, 32};
    in.panningEnvelope[1] = EnvelopePoint{2, 64};
    in.panningPointCount = 2;
    in.panningType = 7;
    in.panningSustain = 40;
    in.panningLoopStart = 0;
    in.panningLoopEnd = 30;
    Row(0, Cell{49, 1, 0, 0, 0});
    Start();
    Probe value = [] { return channels[0].volumeEnvelopeValue; };
    EXPECT_EQ(Trace(12, value), (Values{64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0}));
    EXPECT_EQ(channels[0].panningEnvelopeValue, 64);
    EXPECT_EQ(channels[0].panningEnvelopeDone, 1);
}

TEST_F(EnvelopeTest, SetEnvelopePosition) {
    Row(0, Cell{49, 1, 0, 0x15, 0x05});
    Row(1, Cell{0, 0, 0, 0x15, 0x20});
    Start();
    ReplayTick(song);
    EXPECT_EQ(channels[0].volumeEnvelopePoint, 1);
    EXPECT_EQ(channels[0].volumeEnvelopeTick, 5);
    EXPECT_EQ(channels[0].volumeEnvelopeValue, 32);
    Trace(5, [] { return 0; });
    ReplayTick(song);
    EXPECT_EQ(channels[0].volumeEnvelopeValue, 0);
    EXPECT_EQ(channels[0].volumeEnvelopeDone, 1);
}

TEST_F(EffectsTest, SetEnvelopePositionWithoutEnvelopeChangesNothing) {
    Row(0, Cell{49, 1, 0, 0x15, 0x05});
    Start();
    ReplayTick(song);
    EXPECT_EQ(channels[0].volumeEnvelopeValue, 64);
    EXPECT_EQ(channels[0].volumeEnvelopeTick, 0);
    EXPECT_EQ(channels[0].volumeEnvelopePoint, 0);
}

TEST(AutoVibratoTest, Waveforms) {
    EXPECT_EQ(AutoVibratoWave(0, 0), 0);
    EXPECT_EQ(AutoVibratoWave(0, 64), 64);
    EXPECT_EQ(AutoVibratoWave(0, 192), -64);
    EXPECT_EQ(AutoVibratoWave(0, 32), 45);
    EXPECT_EQ(AutoVibratoWave(1, 127), 64);
    EXPECT_EQ(AutoVibratoWave(1, 128), -64);
    EXPECT_EQ(AutoVibratoWave(2, 0), 0);
    EXPECT_EQ(AutoVibratoWave(2, 127), -64);
    EXPECT_EQ(AutoVibratoWave(2, 128), 64);
    EXPECT_EQ(AutoVibratoWave(2, 255), 0);
    EXPECT_EQ(AutoVibratoWave(3, 0), 0);
    EXPECT_EQ(AutoVibratoWave(3, 127), 63);
    EXPECT_EQ(AutoVibratoWave(3, 128), 64);
    EXPECT_EQ(AutoVibratoWave(3, 129), -64);
    EXPECT_EQ(AutoVibratoWave(3, 255), -1);
    EXPECT_EQ(AutoVibratoWave(4, 64), 0);
    EXPECT_EQ(AutoVibratoWave(255, 64), 0);
}

TEST_F(EffectsTest, AutoVibratoSweepsIn) {
    XmInstrumentLayout& in = layout.instruments[0];
    in.vibratoType = 1;
    in.vibratoDepth = 8;
    in.vibratoSweep = 4;
    in.vibratoRate = 64;
    Row(0, Cell{49, 1, 0, 0, 0});
    Start();
    Probe delta = [] { return channels[0].periodDelta; };
    EXPECT_EQ(Trace(6, delta), (Values{0, 2, -4, -6, 8, 8}));
}

TEST_F(EffectsTest, AutoVibratoTypeAboveThreeAddsNothing) {
    XmInstrumentLayout& in = layout.instruments[0];
    in.vibratoType = 9;
    in.vibratoDepth = 15;
    in.vibratoRate = 30;
    Row(0, Cell{49, 1, 0, 0, 0});
    Start();
    Probe delta = [] { return channels[0].periodDelta; };
    EXPECT_EQ(Trace(6, delta), Values(6, 0));
    EXPECT_EQ(channels[0].autoVibratoPosition, 180);
}

TEST_F(EffectsTest, ResetOnInstrumentRespectsWaveControl) {
    Row(0, Cell{49, 1, 0, 0xE, 0x44});  // vibrato phase kept across resets
    Row(1, Cell{49, 1, 0, 0x4, 0x41});
    Row(2, Cell{0, 1, 0, 0, 0});
    Start();
    Trace(12, [] { return 0; });
    EXPECT_EQ(channels[0].vibratoPosition, 20);
    ReplayTick(song);
    EXPECT_EQ(channels[0].vibratoPosition, 20);
    EXPECT_EQ(channels[0].fadeoutVolume, 65536);
    EXPECT_EQ(channels[0].volumeEnvelopeValue, 64);
}

}  // namespace
