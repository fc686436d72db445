// Replay engine tests: period tables, sequencing, note starts and the hand-off to the voices.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "music/channel.h"
#include "music/player.h"
#include "music/replay.h"
#include "music/voice.h"
#include "xm_builder.h"

namespace {

class ReplayTest : public ::testing::Test {
protected:
    void TearDown() override { SongFree(song); }
    Song* Start(const XmSongLayout& layout) {
        song = LoadAndStart(layout);
        return song;
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            ReplayTick(song);
        }
    }
    Song* song = nullptr;
};

TEST(PeriodTest, AmigaTableFigures) {
    EXPECT_EQ(AmigaPeriod(0, 0), 27392);
    EXPECT_EQ(AmigaPeriod(12, 0), 13696);
    EXPECT_EQ(AmigaPeriod(48, 0), 1712);
    EXPECT_EQ(AmigaPeriod(49, 0), 1615);
    EXPECT_EQ(AmigaPeriod(60, 0), 856);
    EXPECT_EQ(AmigaPeriod(48, 16), 1700);
    EXPECT_EQ(AmigaPeriod(48, -16), 1724);
    // Note 0 with a negative finetune has no lower neighbour: the upper one is used.
    EXPECT_EQ(AmigaPeriod(0, -128), 27392 + 128 * (27392 - AmigaPeriod(1, 0)) / 128);
}

TEST(PeriodTest, LinearPeriodsAndFrequencies) {
    Song linear{};
    linear.flags = 1;
    Song amiga{};
    EXPECT_EQ(NotePeriod(&linear, 48, 0), 4608);
    EXPECT_EQ(NotePeriod(&linear, 36, 0), 5376);
    EXPECT_EQ(NotePeriod(&linear, 48, -1), 4608);  // finetune / 2 truncates toward zero
    EXPECT_EQ(NotePeriod(&linear, 48, -3), 4609);
    EXPECT_EQ(NotePeriod(&linear, 48, 127), 4545);
    EXPECT_EQ(NotePeriod(&amiga, 48, 16), 1700);
    EXPECT_EQ(PeriodFrequency(&linear, 4608, 0), 8363);
    EXPECT_EQ(PeriodFrequency(&linear, 5376, 0), 4181);
    EXPECT_EQ(PeriodFrequency(&linear, 5376, 768), 8363);  // a positive delta raises the pitch
    EXPECT_EQ(PeriodFrequency(&amiga, 1712, 0), 8362);
    EXPECT_EQ(PeriodFrequency(&amiga, 1700, 12), 8362);  // here it lowers it
    EXPECT_EQ(PeriodFrequency(&linear, -8640, 0), 1303555951);
    EXPECT_EQ(PeriodFrequency(&linear, -100000, 0), 2147483647);
}

// Frequency bit on a bare channel: the voice's step from the period.
void StepFor(Song& song, int32_t period, uint32_t* integer, uint32_t* fraction) {
    outputRate = 44100;
    Voice voice{};
    voice.stepInteger = 7;
    voice.stepFraction = 7;
    Channel channel{};
    channel.voice = &voice;
    channel.period = period;
    channel.updateFlags = kUpdateFrequency;
    UpdateVoice(channel, &emptySample, &song);
    *integer = voice.stepInteger;
    *fraction = voice.stepFraction;
}

TEST(UpdateVoiceTest, StepsFloorAndCeiling) {
    Song linear{};
    linear.flags = 1;
    Song amiga{};
    uint32_t integer = 0;
    uint32_t fraction = 0;
    StepFor(linear, 4608, &integer, &fraction);
    EXPECT_EQ(integer, 0u);
    EXPECT_EQ(fraction, 814485521u);
    StepFor(linear, 5376, &integer, &fraction);
    EXPECT_EQ(fraction, 407194064u);
    StepFor(amiga, 200000, &integer, &fraction);  // 71 Hz is raised to 100 Hz
    EXPECT_EQ(integer, 0u);
    EXPECT_EQ(fraction, 9739154u);
    StepFor(amiga, -5, &integer, &fraction);  // negative frequency: also 100 Hz
    EXPECT_EQ(fraction, 9739154u);
    // 256 samples per frame or more is held just below 256 x 44100 Hz.
    StepFor(amiga, 1, &integer, &fraction);
    EXPECT_EQ(integer, 255u);
    EXPECT_EQ(fraction, 4294869904u);
    StepFor(linear, -8640, &integer, &fraction);
    EXPECT_EQ(integer, 255u);
    // A period sum of 0 leaves the step alone (no division by 0 in Amiga mode).
    StepFor(amiga, 0, &integer, &fraction);
    EXPECT_EQ(integer, 7u);
    EXPECT_EQ(fraction, 7u);
}

TEST(UpdateVoiceTest, VolumeAndPanningLevels) {
    Song song{};
    song.globalVolume = 64;
    Voice voice{};
    Channel channel{};
    channel.voice = &voice;
    channel.volume = 64;
    channel.volumeEnvelopeValue = 64;
    channel.fadeoutVolume = 65536;
    channel.panningEnvelopeValue = 32;
    const std::pair<int32_t, std::pair<int32_t, int32_t>> cases[] = {
        {128, {63, 63}}, {255, {127, 0}}, {0, {0, 127}}};
    for (const auto& [panning, levels] : cases) {
        channel.panning = panning;
        channel.updateFlags = kUpdateVolume | kUpdatePanning;
        UpdateVoice(channel, &emptySample, &song);
        EXPECT_EQ(voice.volume, 127);
        EXPECT_EQ(voice.panning, panning);
        EXPECT_EQ(voice.leftLevel, levels.first) << panning;
        EXPECT_EQ(voice.rightLevel, levels.second) << panning;
    }
    // Half of each factor: 32 x 32 x 32768 x 32 x 255 / 2^35 = 7.97 -> 7.
    channel.volume = 32;
    channel.volumeEnvelopeValue = 32;
    channel.fadeoutVolume = 32768;
    song.globalVolume = 32;
    channel.updateFlags = kUpdateVolume;
    UpdateVoice(channel, &emptySample, &song);
    EXPECT_EQ(voice.volume, 7);
}

TEST(UpdateVoiceTest, PanningEnvelopeMovesPanningInQuarterSteps) {
    Song song{};
    Voice voice{};
    voice.volume = 100;
    Channel channel{};
    channel.voice = &voice;
    const int32_t cases[][3] = {{128, 64, 255},         {100, 64, 196}, {77, 32, 77},
                                {200, 0, 200 - 1 * 32}, {300, 32, 255}, {-20, 32, 0}};
    for (const auto& c : cases) {
        channel.panning = c[0];
        channel.panningEnvelopeValue = c[1];
        channel.updateFlags = kUpdatePanning;
        UpdateVoice(channel, &emptySample, &song);
        EXPECT_EQ(voice.panning, c[2]) << c[0] << " " << c[1];
        EXPECT_EQ(voice.leftLevel, 100 * c[2] / 255);
        EXPECT_EQ(voice.rightLevel, (255 - c[2]) * 100 / 255);
    }
}

TEST_F(ReplayTest, RowsAdvanceBySpeedAndWrapToRestartPosition) {
    XmSongLayout layout = MakeSongLayout(2, 2);
    layout.defaultTempo = 4;
    layout.restartPosition = 1;
    ASSERT_NE(Start(layout), nullptr);
    for (int order = 0; order < 3; ++order) {
        for (int row = 0; row < 64; ++row) {
            for (int tick = 0; tick < 4; ++tick) {
                ASSERT_EQ(song->tick, tick);
                ReplayTick(song);
                ASSERT_EQ(song->row, row) << order << " " << tick;
                ASSERT_EQ(song->orderIndex, order == 2 ? 1 : order);
            }
        }
    }
}

TEST_F(ReplayTest, SpeedZeroReadsARowEveryTick) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.defaultTempo = 0;
    ASSERT_NE(Start(layout), nullptr);
    for (int row = 0; row < 10; ++row) {
        ReplayTick(song);
        EXPECT_EQ(song->row, row);
        EXPECT_EQ(song->tick, 0);
    }
}

TEST_F(ReplayTest, NoteStartSetsPeriodAndVoice) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.instruments.push_back(layout.instruments[0]);
    layout.instruments[1].samples[0].relativeNote = -12;
    layout.instruments[1].samples[0].volume = 40;
    SetCell(layout, 0, 0, 0, Cell{49, 1, 0, 0, 0});
    SetCell(layout, 0, 0, 1, Cell{49, 2, 0, 0, 0});
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    EXPECT_EQ(channels[0].note, 48);
    EXPECT_EQ(channels[0].realNote, 48);
    EXPECT_EQ(channels[0].notePeriod, 4608);
    EXPECT_EQ(channels[0].period, 4608);
    EXPECT_EQ(channels[0].volume, 64);
    EXPECT_EQ(voices[0].sample, song->instruments[0].samples[0]);
    EXPECT_EQ(voices[0].stepFraction, 814485521u);
    EXPECT_EQ(voices[0].volume, 127);
    EXPECT_EQ(channels[1].realNote, 36);
    EXPECT_EQ(channels[1].notePeriod, 5376);
    EXPECT_EQ(channels[1].volume, 40);
    EXPECT_EQ(voices[1].stepFraction, 407194064u);
    EXPECT_EQ(voices[1].volume, 40 * 64 * 65536LL * 64 * 255 / (1LL << 35));
}

TEST_F(ReplayTest, SecondNoteMovesToThePartnerVoice) {
    XmSongLayout layout = MakeSongLayout(4);
    layout.defaultTempo = 1;
    for (int row = 0; row < 3; ++row) {
        SetCell(layout, 0, row, 3, Cell{static_cast<uint8_t>(49 + row), 1, 0, 0, 0});
    }
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    EXPECT_EQ(channels[3].voice, &voices[3]);
    voices[3].position = 77;  // as if the mixer had played it
    ReplayTick(song);
    EXPECT_EQ(channels[3].voice, &voices[35]);
    EXPECT_EQ(voices[35].index, 35);
    EXPECT_EQ(voices[35].position, 0u);
    EXPECT_EQ(voices[3].index, 3);
    EXPECT_EQ(voices[3].volume, 0);  // fades out through the ramp
    EXPECT_EQ(voices[3].leftLevel, 0);
    EXPECT_EQ(voices[3].rightLevel, 0);
    EXPECT_EQ(voices[3].position, 77u);
    EXPECT_NE(voices[3].sample, nullptr);
    ReplayTick(song);
    EXPECT_EQ(channels[3].voice, &voices[3]);
    EXPECT_EQ(voices[35].volume, 0);
    EXPECT_EQ(voices[3].volume, 127);
}

TEST_F(ReplayTest, PortamentoNoteNeitherRestartsNorChangesNote) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.instruments.push_back(layout.instruments[0]);
    layout.defaultTempo = 2;
    SetCell(layout, 0, 0, 0, Cell{49, 1, 0, 0, 0});
    SetCell(layout, 0, 1, 0, Cell{61, 2, 0, 3, 0x10});
    ASSERT_NE(Start(layout), nullptr);
    Ticks(2);
    voices[0].position = 50;
    Ticks(1);
    EXPECT_EQ(channels[0].note, 48);
    EXPECT_EQ(channels[0].instrument, 0);
    EXPECT_EQ(channels[0].period, 4608);
    EXPECT_EQ(channels[0].notePeriod, 3840);
    EXPECT_EQ(channels[0].portaTarget, 3840);
    EXPECT_EQ(channels[0].voice, &voices[0]);
    EXPECT_EQ(voices[0].position, 50u);
    Ticks(1);
    EXPECT_EQ(channels[0].period, 4608 - 64);
}

TEST_F(ReplayTest, KeyOffWithoutVolumeEnvelopeSilencesAtOnce) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.defaultTempo = 1;
    SetCell(layout, 0, 0, 0, Cell{49, 1, 0, 0, 0});
    SetCell(layout, 0, 1, 0, Cell{97, 0, 0, 0, 0});
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    EXPECT_EQ(voices[0].volume, 127);
    ReplayTick(song);
    EXPECT_EQ(channels[0].keyOff, 1);
    EXPECT_EQ(channels[0].volumeEnvelopeValue, 0);
    EXPECT_EQ(voices[0].volume, 0);
    EXPECT_EQ(channels[0].voice, &voices[0]);  // no new note
}

TEST_F(ReplayTest, MissingInstrumentsAndSlotsPlayNothing) {
    XmSongLayout layout = MakeSongLayout(3);
    layout.instruments[0].keymap[50] = 20;  // no such slot
    SetCell(layout, 0, 0, 0, Cell{49, 30, 0, 0, 0});
    SetCell(layout, 0, 0, 1, Cell{51, 1, 0, 0, 0});
    SetCell(layout, 0, 0, 2, Cell{49, 1, 0, 0, 0});
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    EXPECT_EQ(voices[0].sample, &emptySample);
    EXPECT_EQ(voices[0].volume, 0);
    EXPECT_EQ(voices[1].sample, &emptySample);
    EXPECT_EQ(voices[1].volume, 0);
    EXPECT_EQ(voices[2].sample, song->instruments[0].samples[0]);
}

TEST_F(ReplayTest, NotesOutsideTheXmRangeAreIgnored) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.defaultTempo = 1;
    SetCell(layout, 0, 0, 0, Cell{49, 1, 0, 0, 0});
    SetCell(layout, 0, 1, 0, Cell{98, 0, 0, 0, 0});
    SetCell(layout, 0, 2, 0, Cell{254, 1, 0, 0, 0});
    ASSERT_NE(Start(layout), nullptr);
    Ticks(3);
    EXPECT_EQ(channels[0].note, 48);
    EXPECT_EQ(channels[0].period, 4608);
    EXPECT_EQ(channels[0].voice, &voices[0]);
    EXPECT_EQ(channels[0].keyOff, 0);
}

TEST_F(ReplayTest, BreakPastTheNextPatternsRowsStartsItAtRowZero) {
    XmSongLayout layout = MakeSongLayout(2, 2);
    layout.defaultTempo = 1;
    layout.patterns[1].rows = 16;
    SetCell(layout, 0, 0, 0, Cell{0, 0, 0, 0xD, 0x32});
    SetCell(layout, 1, 0, 1, Cell{49, 1, 0, 0, 0});
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 1);
    EXPECT_EQ(song->row, 0);
    EXPECT_EQ(voices[1].sample, song->instruments[0].samples[0]);
    ReplayTick(song);
    EXPECT_EQ(song->row, 1);
}

TEST_F(ReplayTest, RestartPositionOutsideTheOrdersStartsOver) {
    XmSongLayout layout = MakeSongLayout(2, 2);
    layout.defaultTempo = 1;
    layout.restartPosition = 9;
    layout.patterns[1].rows = 1;
    ASSERT_NE(Start(layout), nullptr);
    Ticks(65);
    EXPECT_EQ(song->orderIndex, 1);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 0);
    EXPECT_EQ(song->row, 0);
}

TEST_F(ReplayTest, EmptyPatternsAndNoChannelsOnlySequence) {
    XmSongLayout layout = MakeSongLayout(2, 2);
    layout.defaultTempo = 1;
    layout.patterns[0].rows = 0;
    layout.patterns[1].rows = 2;
    ASSERT_NE(Start(layout), nullptr);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 0);
    ReplayTick(song);
    EXPECT_EQ(song->orderIndex, 1);
    EXPECT_EQ(song->row, 0);
}

}  // namespace
