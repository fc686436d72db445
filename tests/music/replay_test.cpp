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

}  // namespace
