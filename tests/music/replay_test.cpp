// Replay engine tests: period tables, sequencing, note starts and the hand-off to the voices.
#include <gtest/gtest.h>

#include <vector>

#include "music/channel.h"
#include "music/player.h"
#include "music/replay.h"
#include "music/voice.h"
#include "xm_builder.h"

namespace {

using Values = std::vector<int64_t>;

TEST(PeriodTest, AmigaAndLinearTableFigures) {
    const int32_t amiga[][3] = {{0, 0, 27392}, {12, 0, 13696}, {48, 0, 1712},  {49, 0, 1615},
                                {60, 0, 856},  {48, 16, 1700}, {48, -16, 1724}};
    for (const auto& a : amiga) {
        EXPECT_EQ(AmigaPeriod(a[0], a[1]), a[2]) << a[0] << " " << a[1];
    }
    // Note 0 with a negative finetune has no lower neighbour: the upper one is used.
    EXPECT_EQ(AmigaPeriod(0, -128), 27392 + 128 * (27392 - AmigaPeriod(1, 0)) / 128);

    Song linear{};
    linear.flags = 1;
    Song amigaSong{};
    EXPECT_EQ(NotePeriod(&linear, 48, 0), 4608);
    EXPECT_EQ(NotePeriod(&linear, 36, 0), 5376);
    EXPECT_EQ(NotePeriod(&linear, 48, -1), 4608);  // finetune / 2 truncates toward zero
    EXPECT_EQ(NotePeriod(&linear, 48, -3), 4609);
    EXPECT_EQ(NotePeriod(&linear, 48, 127), 4545);
    EXPECT_EQ(NotePeriod(&amigaSong, 48, 16), 1700);
    EXPECT_EQ(PeriodFrequency(&linear, 4608, 0), 8363);
    EXPECT_EQ(PeriodFrequency(&linear, 5376, 0), 4181);
    EXPECT_EQ(PeriodFrequency(&linear, 5376, 768), 8363);  // a positive delta raises the pitch
    EXPECT_EQ(PeriodFrequency(&amigaSong, 1712, 0), 8362);
    EXPECT_EQ(PeriodFrequency(&amigaSong, 1700, 12), 8362);  // here it lowers it
    EXPECT_EQ(PeriodFrequency(&linear, -8640, 0), 1303555951);
    EXPECT_EQ(PeriodFrequency(&linear, -100000, 0), 2147483647);
}

TEST(UpdateVoiceTest, StepsFloorAndCeiling) {
    struct Case {
        uint8_t flags;
        int32_t period;
        uint32_t integer, fraction;
    };
    const Case cases[] = {
        {1, 4608, 0, 814485521u},     {1, 5376, 0, 407194064u},
        {0, 200000, 0, 9739154u},  // 71 Hz is raised to 100 Hz
        {0, -5, 0, 9739154u},      // negative frequency: also 100 Hz
        {0, 1, 255, 4294869904u},  // 256 samples per frame or more: just below 256 x 44100 Hz
        {1, -8640, 255, 4294869904u}, {0, 0, 7, 7},  // a period sum of 0 leaves the step alone
    };
    for (const Case& c : cases) {
        Song song{};
        song.flags = c.flags;
        Player player;
        player.outputRate = 44100;
        player.song = &song;
        Voice voice{};
        voice.stepInteger = 7;
        voice.stepFraction = 7;
        Channel channel{};
        channel.voice = &voice;
        channel.period = c.period;
        channel.updateFlags = kUpdateFrequency;
        UpdateVoice(player, channel, &emptySample);
        EXPECT_EQ(voice.stepInteger, c.integer) << c.period;
        EXPECT_EQ(voice.stepFraction, c.fraction) << c.period;
    }
}

TEST(UpdateVoiceTest, VolumeAndPanningLevels) {
    Song song{};
    song.globalVolume = 64;
    Player player;
    player.song = &song;
    Voice voice{};
    Channel channel{};
    channel.voice = &voice;
    channel.volume = 64;
    channel.volumeEnvelopeValue = 64;
    channel.fadeoutVolume = 65536;
    // Channel panning, panning envelope, voice panning: the envelope moves it in quarter steps.
    const int32_t cases[][3] = {{128, 32, 128}, {255, 32, 255}, {0, 32, 0},
                                {128, 64, 255}, {100, 64, 196}, {77, 32, 77},
                                {200, 0, 168},  {300, 32, 255}, {-20, 32, 0}};
    for (const auto& c : cases) {
        channel.panning = c[0];
        channel.panningEnvelopeValue = c[1];
        channel.updateFlags = kUpdateVolume | kUpdatePanning;
        UpdateVoice(player, channel, &emptySample);
        EXPECT_EQ(voice.volume, 127);
        EXPECT_EQ(voice.panning, c[2]) << c[0] << " " << c[1];
        EXPECT_EQ(voice.leftLevel, 127 * c[2] / 255) << c[0];
        EXPECT_EQ(voice.rightLevel, (255 - c[2]) * 127 / 255) << c[0];
    }
    // Half of each factor: 32 x 32 x 32768 x 32 x 255 / 2^35 = 7.97 -> 7.
    channel.volume = 32;
    channel.volumeEnvelopeValue = 32;
    channel.fadeoutVolume = 32768;
    song.globalVolume = 32;
    channel.updateFlags = kUpdateVolume;
    UpdateVoice(player, channel, &emptySample);
    EXPECT_EQ(voice.volume, 7);
}

class ReplayTest : public ::testing::Test {
protected:
    void TearDown() override { SongFree(song); }
    void Start(int32_t channelCount, int32_t patterns, int32_t tempo,
               const std::vector<std::pair<int32_t, Cell>>& pattern0 = {}) {
        layout = MakeSongLayout(channelCount, patterns);
        layout.defaultTempo = static_cast<uint16_t>(tempo);
        starting = pattern0;
    }
    void Go() {
        for (const auto& [rowChannel, cell] : starting) {
            SetCell(layout, 0, rowChannel / 100, rowChannel % 100, cell);
        }
        song = LoadAndStart(layout);
        ASSERT_NE(song, nullptr);
    }
    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            ReplayTick(testPlayer);
        }
    }
    int32_t Position() const { return song->orderIndex * 256 + song->row; }
    XmSongLayout layout;
    std::vector<std::pair<int32_t, Cell>> starting;  // row * 100 + channel, cell
    Song* song = nullptr;
};

TEST_F(ReplayTest, SequencingEdgeCases) {
    // Speed 0 reads a row every tick.
    Start(2, 1, 0);
    Go();
    for (int row = 0; row < 10; ++row) {
        ReplayTick(testPlayer);
        EXPECT_EQ(song->row, row);
        EXPECT_EQ(song->tick, 0);
    }
    SongFree(song);
    // A restart position outside the orders starts over.
    Start(2, 2, 1);
    layout.restartPosition = 9;
    layout.patterns[1].rows = 1;
    Go();
    Ticks(65);
    EXPECT_EQ(song->orderIndex, 1);
    Ticks(1);
    EXPECT_EQ(Position(), 0);
    SongFree(song);
    // A pattern of 0 rows only sequences.
    Start(2, 2, 1);
    layout.patterns[0].rows = 0;
    layout.patterns[1].rows = 2;
    Go();
    Ticks(1);
    EXPECT_EQ(song->orderIndex, 0);
    Ticks(1);
    EXPECT_EQ(Position(), 256);
    SongFree(song);
    // A break past the next pattern's rows starts it at row 0.
    Start(2, 2, 1, {{0, Cell{0, 0, 0, 0xD, 0x32}}});
    layout.patterns[1].rows = 16;
    SetCell(layout, 1, 0, 1, Cell{49, 1, 0, 0, 0});
    Go();
    Ticks(2);
    EXPECT_EQ(Position(), 256);
    EXPECT_EQ(testPlayer.voices[1].sample, song->instruments[0].samples[0]);
    Ticks(1);
    EXPECT_EQ(song->row, 1);
}

TEST_F(ReplayTest, NoteStartSetsPeriodAndVoice) {
    Start(2, 1, 6, {{0, Cell{49, 1, 0, 0, 0}}, {1, Cell{49, 2, 0, 0, 0}}});
    layout.instruments.push_back(layout.instruments[0]);
    layout.instruments[1].samples[0].relativeNote = -12;
    layout.instruments[1].samples[0].volume = 40;
    Go();
    Ticks(1);
    const Channel& a = testPlayer.channels[0];
    const Channel& b = testPlayer.channels[1];
    EXPECT_EQ(
        (Values{a.note, a.realNote, a.notePeriod, a.period, a.volume, testPlayer.voices[0].volume}),
        (Values{48, 48, 4608, 4608, 64, 127}));
    EXPECT_EQ((Values{b.realNote, b.notePeriod, b.volume, testPlayer.voices[1].volume}),
              (Values{36, 5376, 40, 40 * 64 * 65536LL * 64 * 255 / (1LL << 35)}));
    EXPECT_EQ(testPlayer.voices[0].sample, song->instruments[0].samples[0]);
    EXPECT_EQ(testPlayer.voices[0].stepFraction, 814485521u);
    EXPECT_EQ(testPlayer.voices[1].stepFraction, 407194064u);
}

TEST_F(ReplayTest, SecondNoteMovesToThePartnerVoice) {
    Start(4, 1, 1,
          {{3, Cell{49, 1, 0, 0, 0}}, {103, Cell{50, 1, 0, 0, 0}}, {203, Cell{51, 1, 0, 0, 0}}});
    Go();
    Ticks(1);
    EXPECT_EQ(testPlayer.channels[3].voice, &testPlayer.voices[3]);
    testPlayer.voices[3].position = 77;  // as if the mixer had played it
    Ticks(1);
    EXPECT_EQ(testPlayer.channels[3].voice, &testPlayer.voices[35]);
    // The old voice keeps its sample and position and fades out through the ramp.
    const Voice& old = testPlayer.voices[3];
    EXPECT_EQ((Values{testPlayer.voices[35].index,
                      static_cast<int32_t>(testPlayer.voices[35].position), old.index, old.volume,
                      old.leftLevel, old.rightLevel, static_cast<int32_t>(old.position)}),
              (Values{35, 0, 3, 0, 0, 0, 77}));
    EXPECT_NE(old.sample, nullptr);
    Ticks(1);
    EXPECT_EQ(testPlayer.channels[3].voice, &testPlayer.voices[3]);
    EXPECT_EQ(testPlayer.voices[35].volume, 0);
    EXPECT_EQ(testPlayer.voices[3].volume, 127);
}

TEST_F(ReplayTest, PortamentoNoteNeitherRestartsNorChangesNote) {
    Start(2, 1, 2, {{0, Cell{49, 1, 0, 0, 0}}, {100, Cell{61, 2, 0, 3, 0x10}}});
    layout.instruments.push_back(layout.instruments[0]);
    Go();
    Ticks(2);
    testPlayer.voices[0].position = 50;
    Ticks(1);
    const Channel& c = testPlayer.channels[0];
    EXPECT_EQ((Values{c.note, c.instrument, c.period, c.notePeriod, c.portaTarget,
                      static_cast<int32_t>(testPlayer.voices[0].position)}),
              (Values{48, 0, 4608, 3840, 3840, 50}));
    EXPECT_EQ(c.voice, &testPlayer.voices[0]);
    Ticks(1);
    EXPECT_EQ(testPlayer.channels[0].period, 4608 - 64);
}

TEST_F(ReplayTest, KeyOffWithoutVolumeEnvelopeSilencesAtOnce) {
    Start(2, 1, 1, {{0, Cell{49, 1, 0, 0, 0}}, {100, Cell{97, 0, 0, 0, 0}}});
    Go();
    Ticks(1);
    EXPECT_EQ(testPlayer.voices[0].volume, 127);
    Ticks(1);
    EXPECT_EQ((Values{testPlayer.channels[0].keyOff, testPlayer.channels[0].volumeEnvelopeValue,
                      testPlayer.voices[0].volume}),
              (Values{1, 0, 0}));
    EXPECT_EQ(testPlayer.channels[0].voice, &testPlayer.voices[0]);  // no new note
}

TEST_F(ReplayTest, MissingInstrumentsSlotsAndNotesOutsideTheRangePlayNothing) {
    Start(3, 1, 1,
          {{0, Cell{49, 30, 0, 0, 0}},
           {1, Cell{51, 1, 0, 0, 0}},
           {2, Cell{49, 1, 0, 0, 0}},
           {102, Cell{98, 0, 0, 0, 0}},
           {202, Cell{254, 1, 0, 0, 0}}});
    layout.instruments[0].keymap[50] = 20;  // no such slot
    Go();
    Ticks(1);
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(testPlayer.voices[c].sample, &emptySample) << c;
        EXPECT_EQ(testPlayer.voices[c].volume, 0) << c;
    }
    EXPECT_EQ(testPlayer.voices[2].sample, song->instruments[0].samples[0]);
    Ticks(2);  // notes 98 and 254 are ignored
    EXPECT_EQ((Values{testPlayer.channels[2].note, testPlayer.channels[2].period,
                      testPlayer.channels[2].keyOff}),
              (Values{48, 4608, 0}));
    EXPECT_EQ(testPlayer.channels[2].voice, &testPlayer.voices[2]);
}

}  // namespace
