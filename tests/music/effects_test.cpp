// Effect, volume-column, envelope and auto-vibrato tests: tiny songs played tick by tick, with
// channel fields compared against a table of expected values per tick.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <utility>
#include <vector>

#include "music/channel.h"
#include "music/effects.h"
#include "music/player.h"
#include "music/replay.h"
#include "music/voice.h"
#include "xm_builder.h"

namespace {

using Values = std::vector<int32_t>;
using Probe = std::function<int32_t()>;
constexpr int32_t kAny = INT32_MIN;  // a tick whose value is not checked

Song* playing = nullptr;

const Probe kVolume = [] { return testPlayer.channels[0].volume; };
const Probe kPeriod = [] { return testPlayer.channels[0].period; };
const Probe kPeriodDelta = [] { return testPlayer.channels[0].periodDelta; };
const Probe kVolumeDelta = [] { return testPlayer.channels[0].volumeDelta; };
const Probe kPanning = [] { return testPlayer.channels[0].panning; };
const Probe kVoice = [] { return testPlayer.channels[0].voice->index; };
const Probe kEnvelope = [] { return testPlayer.channels[0].volumeEnvelopeValue; };
const Probe kEnvelopePlace = [] {
    return testPlayer.channels[0].volumeEnvelopePoint * 100 +
           testPlayer.channels[0].volumeEnvelopeTick;
};
const Probe kFadeout = [] { return testPlayer.channels[0].fadeoutVolume; };
const Probe kVibratoPosition = [] {
    return static_cast<int32_t>(testPlayer.channels[0].vibratoPosition);
};
const Probe kGlobal = [] { return playing->globalVolume; };
const Probe kRow = [] { return playing->row; };
const Probe kPosition = [] { return playing->orderIndex * 256 + playing->row; };

struct TickCase {
    const char* name;
    std::function<void(XmSongLayout&)> setup;
    const char* cells;                                  // as SetCells reads them
    std::vector<std::pair<Probe, Values>> checks;       // value after each tick
    std::function<void(size_t tick)> before = nullptr;  // runs before each tick
};

Channel& Ch(int c) {
    return testPlayer.channels[c];
}
Voice& V(int k) {
    return testPlayer.voices[k];
}
int32_t PlaysFirstSample(int k) {
    return V(k).sample == playing->instruments[0].samples[0];
}

Values Repeat(Values head, int32_t count, int32_t value, const Values& tail = {}) {
    head.insert(head.end(), count, value);
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// Sets the volume envelope of the song's first instrument.
void SetVolumeEnvelope(XmSongLayout& layout, const std::vector<EnvelopePoint>& points, uint8_t type,
                       uint8_t sustain = 0, uint8_t loopStart = 0, uint8_t loopEnd = 0) {
    XmInstrumentLayout& in = layout.instruments[0];
    std::copy(points.begin(), points.end(), in.volumeEnvelope.begin());
    in.volumePointCount = static_cast<uint8_t>(points.size());
    in.volumeType = type;
    in.volumeSustain = sustain;
    in.volumeLoopStart = loopStart;
    in.volumeLoopEnd = loopEnd;
    in.fadeout = 0x100;
}

// From 64 to 0 over 10 ticks, on with sustain at point 0.
void EnvelopeFallingWithSustain(XmSongLayout& layout) {
    SetVolumeEnvelope(layout, {{0, 64}, {10, 0}}, 3);
}

const Values kFalling = {64, 57, 51, 44, 38, 32, 25, 19, 12, 6, 0, 0};

const TickCase kTickCases[] = {
    {"note delay starts the note on its tick (ED0 and ED6 never)", nullptr,
     "0 0 49 1 20 0 0; 1 0 61 1 0 E D3; 2 0 61 1 0 E D0; 3 0 61 1 0 E D6",
     {{kVolume, Repeat({}, 6, kAny, {16, 16, 16, 64, 64, 64})},
      {kPeriod, Repeat({}, 11, kAny, {3840})},
      {kVoice, Repeat({}, 8, kAny, Repeat({0}, 15, 32))},  // started on tick 3 of row 1
      {[] { return static_cast<int32_t>(V(0).position); }, Repeat({}, 11, kAny, {99})}},
     [](size_t tick) {
         if (tick == 6) {
             V(0).position = 99;
         } else if (tick == 12) {
             Ch(0).volume = 10;
         }
     }},
    {"sample offset waits for the next note; one past the sample starts nothing", nullptr,
     "0 0 0 0 0 9 2; 1 0 49 1 0 0 0; 2 0 49 1 0 9 10",
     {{[] { return static_cast<int32_t>(V(0).startOffset); }, Repeat({512}, 5, kAny, {0})},
      {[] { return static_cast<int32_t>(V(0).sample != nullptr); }, {0}},
      {[] { return static_cast<int32_t>(V(0).position) * 100 + Ch(0).voice->index; },
       Repeat({}, 6, kAny, Repeat({51200}, 5, kAny, {0}))}},
     [](size_t tick) {
         if (tick == 7) {
             V(0).position = 700;
         }
     }},
    {"speed 0 reads a row every tick",
     [](XmSongLayout& l) { l.defaultTempo = 0; },
     "",
     {{[] { return playing->row * 10 + playing->tick; }, {0, 10, 20, 30, 40, 50, 60, 70, 80}}}},
    {"a restart position outside the orders starts over",
     [](XmSongLayout& l) {
         l.defaultTempo = 1;
         l.restartPosition = 9;
         l.patterns[1].rows = 1;
     },
     "",
     {{kPosition, Repeat({}, 64, kAny, {256, 0})}}},
    {"a pattern of 0 rows only sequences",
     [](XmSongLayout& l) {
         l.defaultTempo = 1;
         l.patterns[0].rows = 0;
         l.patterns[1].rows = 2;
     },
     "",
     {{kPosition, {0, 256}}}},
    {"a break past the next pattern's rows starts it at row 0",
     [](XmSongLayout& l) {
         l.defaultTempo = 1;
         l.patterns[1].rows = 16;
     },
     "0 0 0 0 0 D 32; 64 1 49 1 0 0 0",
     {{kPosition, {0, 256, 257}}, {[] { return PlaysFirstSample(1); }, {kAny, 1}}}},
    {"a note start sets periods, volumes and steps",
     [](XmSongLayout& l) {
         l.instruments.push_back(l.instruments[0]);
         l.instruments[1].samples[0].relativeNote = -12;
         l.instruments[1].samples[0].volume = 40;
     },
     "0 0 49 1 0 0 0; 0 1 49 2 0 0 0",
     {{[] { return Ch(0).note * 100 + Ch(0).realNote; }, {4848}},
      {[] { return Ch(0).notePeriod * 10000 + Ch(0).period; }, {46084608}},
      {[] { return Ch(0).volume * 1000 + V(0).volume; }, {64127}},
      {[] { return Ch(1).realNote * 10000 + Ch(1).notePeriod; }, {365376}},
      {[] { return Ch(1).volume * 1000 + V(1).volume; },  // 40 × 64 × 65536 × 64 × 255 / 2^35
       {40079}},
      {[] { return PlaysFirstSample(0); }, {1}},
      {[] { return static_cast<int32_t>(V(0).stepFraction); }, {814485521}},
      {[] { return static_cast<int32_t>(V(1).stepFraction); }, {407194064}}}},
    {"a second note moves to the partner voice; the old one keeps sample and position",
     [](XmSongLayout& l) {
         l = MakeSongLayout(4, 2);
         l.defaultTempo = 1;
     },
     "0 3 49 1 0 0 0; 1 3 50 1 0 0 0; 2 3 51 1 0 0 0",
     {{[] { return Ch(3).voice->index; }, {3, 35, 3}},
      {[] { return static_cast<int32_t>(V(35).position); }, {kAny, 0}},
      {[] {
           const Voice& old = V(3);
           return old.volume + old.leftLevel + old.rightLevel + (old.sample != nullptr) * 1000 +
                  static_cast<int32_t>(old.position) * 10000;
       },
       {kAny, 771000}},
      {[] { return V(35).volume * 1000 + V(3).volume; }, {kAny, kAny, 127}}},
     [](size_t tick) {
         if (tick == 1) {
             V(3).position = 77;  // as if the mixer had played it
         }
     }},
    {"a portamento note neither restarts nor changes the note",
     [](XmSongLayout& l) {
         l.defaultTempo = 2;
         l.instruments.push_back(l.instruments[0]);
     },
     "0 0 49 1 0 0 0; 1 0 61 2 0 3 10",
     {{[] { return Ch(0).note * 1000 + Ch(0).instrument; }, {kAny, kAny, 48000}},
      {kPeriod, {kAny, kAny, 4608, 4608 - 64}},
      {[] { return Ch(0).notePeriod * 10000 + Ch(0).portaTarget; }, {kAny, kAny, 38403840}},
      {[] { return static_cast<int32_t>(V(0).position) * 100 + Ch(0).voice->index; },
       {kAny, kAny, 5000}}},
     [](size_t tick) {
         if (tick == 2) {
             V(0).position = 50;
         }
     }},
    {"key-off without a volume envelope silences at once, on the same voice",
     [](XmSongLayout& l) { l.defaultTempo = 1; },
     "0 0 49 1 0 0 0; 1 0 97 0 0 0 0",
     {{[] { return V(0).volume; }, {127, 0}},
      {[] { return Ch(0).keyOff * 100 + Ch(0).volumeEnvelopeValue; }, {kAny, 100}},
      {kVoice, {0, 0}}}},
    {"missing instruments and slots play nothing; notes 98 and 254 are ignored",
     [](XmSongLayout& l) {
         l = MakeSongLayout(3, 2);
         l.defaultTempo = 1;
         l.instruments[0].keymap[50] = 20;  // no such slot
     },
     "0 0 49 30 0 0 0; 0 1 51 1 0 0 0; 0 2 49 1 0 0 0; 1 2 98 0 0 0 0; 2 2 254 1 0 0 0",
     {{[] { return (V(0).sample == &emptySample) + (V(1).sample == &emptySample) * 10 +
                   V(0).volume + V(1).volume; },
       {11}},
      {[] { return PlaysFirstSample(2); }, {1}},
      {[] { return Ch(2).note * 100000 + Ch(2).period * 10 + Ch(2).keyOff; },
       {kAny, kAny, 4846080}},
      {[] { return Ch(2).voice->index; }, {2, 2, 2}}}},
    {"speed and tempo; F00 reads a row every tick", nullptr,
     "0 0 0 0 0 F 20; 1 0 0 0 0 F 0",
     {{[] { return playing->bpm * 10000 + playing->samplesPerTick; }, {32 * 10000 + 110250 / 32}},
      {[] { return playing->speed; }, {6}},
      {[] { return playing->row * 10 + playing->tick; }, {1, 2, 3, 4, 5, 0, 10, 20, 30, 40}}}},
    {"set envelope position jumps into the envelope and on to its end", EnvelopeFallingWithSustain,
     "0 0 49 1 0 15 5; 1 0 0 0 0 15 20",
     {{kEnvelopePlace, {105}},
      {kEnvelope, Repeat({32}, 5, kAny, {0})},
      {[] { return Ch(0).volumeEnvelopeDone; }, Repeat({}, 6, kAny, {1})}}},
    {"set envelope position without an envelope changes nothing", nullptr, "0 0 49 1 0 15 5",
     {{kEnvelope, {64}},
      {kEnvelopePlace, {0}}}},
    {"volume slide and its memory", nullptr,
     "0 0 49 1 30 A 4; 1 0 0 0 0 A 0",
     {{kVolume, {32, 28, 24, 20, 16, 12, 12, 8, 4, 0, 0, 0}}}},
    {"volume column slides act on every tick", nullptr,
     "0 0 49 1 64 0 0; 1 0 0 0 84 0 0; 2 0 0 0 73 0 0; 3 0 0 0 92 0 0",
     {{kVolume, {60, 56, 52, 48, 44, 40, 36, 36, 36, 36, 36, 36,
                 39, 42, 45, 48, 51, 54, 56, 56, 56, 56, 56, 56}}}},
    {"portamento limits and fine slides (E1F and X1F have no lower limit)", nullptr,
     "0 0 96 1 0 1 10; 1 0 0 0 0 1 FF; 2 0 0 0 0 1 0; 3 0 0 0 0 E 1F; 4 0 0 0 0 21 1F;"
     "5 0 0 0 0 2 2",
     {{kPeriod, Repeat({1600, 1536, 1472, 1408, 1344, 1280, 1280, 260}, 10, 56,
                       Repeat({-4, -4, kAny, kAny, kAny, kAny, -19}, 5, kAny, {-19, -11, -3}))}}},
    {"set volume above 64, then a slide", nullptr,
     "0 0 49 1 0 C 7F; 1 0 0 0 0 A 10",
     {{kVolume, Repeat({}, 7, 127, {64})}}},
    {"pattern break to row 0, and D64 past the next pattern's rows", [](XmSongLayout& l) {
         l.defaultTempo = 1;
     },
     "63 0 0 0 0 D 0; 64 0 0 0 0 D 64",
     {{kPosition, Repeat({}, 64, kAny, {256, 0})}}},
    {"jump and break interact by channel order", [](XmSongLayout& l) {
         l = MakeSongLayout(3, 7);
         l.defaultTempo = 1;
     },
     // Order 3 jumps beyond the song length: back to order 0.
     "0 1 0 0 0 B 5; 0 2 0 0 0 D 10; 330 1 0 0 0 D 10; 330 2 0 0 0 B 3; 192 0 0 0 0 B 9",
     {{kPosition, {kAny, 5 * 256 + 10, 3 * 256, 0}}}},
    {"pattern delay repeats the row", [](XmSongLayout& l) { l.defaultTempo = 3; },
     "0 0 0 0 0 E E2",
     {{kRow, Repeat({}, 9, 0, {1})}}},
    {"note delay keeps the previous sound on tick 0", nullptr,
     "0 0 49 1 20 0 0; 1 0 61 1 30 E D2",
     {{kVolume, Repeat({}, 6, kAny, {16, 16, 32})},  // the volume byte runs again with the note
      {kPeriod, Repeat({}, 6, kAny, {4608, kAny, 3840})},
      {[] { return Ch(0).note * 10000 + Ch(0).notePeriod; }, Repeat({}, 6, kAny, {603840})}}},
    {"note cut", nullptr,
     "0 0 49 1 0 E C0; 1 0 49 1 0 E C2",
     {{kVolume, Repeat({}, 8, 64, {0, 0, 0, 0})}}},
    {"multi retrig: mode 3, then R03 keeps mode 0, then RF2 doubles to 64", nullptr,
     "0 0 49 1 0 1B 31; 1 0 0 0 0 1B 3; 2 0 0 0 0 1B F2",
     {{kVolume, Repeat({64, 60, 56, 52, 48, 44}, 5, kAny, {44, 44, 44, 64, 64, 64, 64})},
      {kVoice, {0, 32, 0, 32, 0, 32, 32, 32, 32, 0, 0, 0}}}},
    {"tremor", nullptr,
     "0 0 49 1 0 1D 21; 1 0 0 0 0 1D 0",
     {{[] { return V(0).volume > 0 ? 1 : 0; }, {1, 1, 1, 0, 0, 1, 1, 1, 0, 0, 1, 1}},
      {kVolume, Repeat({}, 11, kAny, {64})}}},
    {"vibrato advances after tick 0", nullptr,
     "0 0 49 1 0 4 8F",
     {{kPeriodDelta, {0, 0, -84, -120, -84, 0}}, {kVibratoPosition, Repeat({}, 5, kAny, {-24})}}},
    {"tremolo offset stays when the tremolo ends", nullptr,
     "0 0 49 1 30 7 48",
     // Phase 0, 4, 8, 12, 16: sine 0, 98, 181, 236, 256 times depth 8 >> 6.
     {{kVolumeDelta, {0, 0, 12, 22, 29, 32, 0}}, {kVolume, Repeat({}, 6, kAny, {64})}}},
    {"arpeggio", nullptr, "0 0 49 1 0 0 37",
     {{kPeriodDelta, {0, 192, 448, 0, 192, 448}}}},
    {"Amiga arpeggio uses the table", [](XmSongLayout& l) { l.flags = 0; },
     "0 0 49 1 0 0 C",
     {{kPeriodDelta, {0, 0, 856 - 1712}}}},
    {"tone portamento stops at the target; a volume-column porta note holds", nullptr,
     "0 0 49 1 0 0 0; 1 0 50 0 0 3 7; 2 0 0 0 F1 0 0; 3 0 37 0 F2 0 0",
     {{kPeriod, Repeat({}, 6, kAny, Repeat({4608, 4580, 4552}, 9, 4544, {5376, 5376, 5376}))},
      {[] { return static_cast<int32_t>(Ch(0).portaSpeed); }, Repeat({}, 20, kAny, {32})}}},
    {"panning effects; E80 then a slide leaves the range, only the voice is clamped", nullptr,
     "0 0 49 1 0 8 10; 1 0 0 0 0 19 F; 2 0 0 0 C1 19 F0; 3 0 0 0 D5 E 80",
     {{kPanning, Repeat({}, 7, 16, {1, 0, 0, 0, 0, 16, 31, 46, 61, 76, 91,
                                    0, -5, -10, -15, -20, -25})},
      {[] { return V(0).panning; }, Repeat({}, 23, kAny, {0})}}},
    {"global volume; channel 1 already hears the new value", nullptr,
     "0 0 49 1 0 10 20; 0 1 49 1 0 0 0; 1 0 0 0 0 11 A; 2 0 0 0 0 11 F0",
     {{kGlobal, Repeat({32}, 5, kAny, {32, 22, 12, 2, 0, 0, 0, 15, 30, 45, 60, 64})},
      {[] { return V(1).volume; }, {63}}}},
    {"retrigger every y ticks", nullptr, "0 0 49 1 0 E 92",
     {{kVoice, {0, 0, 32, 32, 0, 0}}}},
    {"finetune effect changes the sample", nullptr,
     "0 0 49 1 0 E 58; 1 0 49 1 0 0 0",
     {{[] { return Ch(0).notePeriod; }, Repeat({}, 6, kAny, {4608 - 4})}}},
    {"reset on instrument keeps the vibrato phase under E44", nullptr,
     "0 0 49 1 0 E 44; 1 0 49 1 0 4 41; 2 0 0 1 0 0 0",
     {{kVibratoPosition, Repeat({}, 11, kAny, {20, 20})},
      {kFadeout, Repeat({}, 12, kAny, {65536})},
      {kEnvelope, Repeat({}, 12, kAny, {64})}}},
    {"envelope sustain holds until key-off, then falls with the fadeout",
     EnvelopeFallingWithSustain,
     "0 0 49 1 0 0 0; 2 0 97 0 0 0 0",
     {{kEnvelope, Repeat({}, 12, 64, kFalling)},
      {kFadeout, Repeat({}, 12, kAny, {65024, 64512, 64000, 63488, 62976, 62464, 61952, 61440,
                                        60928, 60416, 59904, 59392})},
      {[] { return Ch(0).volumeEnvelopeDone; }, Repeat({}, 23, kAny, {1})}}},
    {"envelope loop repeats between its points",
     [](XmSongLayout& l) {
         SetVolumeEnvelope(l, {{0, 0}, {2, 40}, {4, 20}, {8, 20}}, 5, 0, 1, 2);  // loop 1..2
     },
     "0 0 49 1 0 0 0",
     {{kEnvelope, {0, 20, 40, 30, 40, 30, 40, 30, 40, 30}}}},
    {"envelope sustain and loop indices past the points are ignored",
     [](XmSongLayout& l) {
         SetVolumeEnvelope(l, {{0, 64}, {10, 0}}, 7, 11, 200, 1);
         XmInstrumentLayout& in = l.instruments[0];
         in.panningEnvelope[0] = EnvelopePoint{0, 32};
         in.panningEnvelope[1] = EnvelopePoint{2, 64};
         in.panningPointCount = 2;
         in.panningType = 7;
         in.panningSustain = 40;
         in.panningLoopEnd = 30;
     },
     "0 0 49 1 0 0 0",
     {{kEnvelope, kFalling},
      {[] { return Ch(0).panningEnvelopeValue * 10 + Ch(0).panningEnvelopeDone; },
       Repeat({}, 11, kAny, {641})}}},
    {"auto-vibrato sweeps in",
     [](XmSongLayout& l) {
         l.instruments[0].vibratoType = 1;
         l.instruments[0].vibratoDepth = 8;
         l.instruments[0].vibratoSweep = 4;
         l.instruments[0].vibratoRate = 64;
     },
     "0 0 49 1 0 0 0",
     {{kPeriodDelta, {0, 2, -4, -6, 8, 8}}}},
    {"auto-vibrato type above 3 adds nothing but still moves",
     [](XmSongLayout& l) {
         l.instruments[0].vibratoType = 9;
         l.instruments[0].vibratoDepth = 15;
         l.instruments[0].vibratoRate = 30;
     },
     "0 0 49 1 0 0 0",
     {{kPeriodDelta, Values(6, 0)},
      {[] { return Ch(0).autoVibratoPosition; }, Repeat({}, 5, kAny, {180})}}},
};

TEST(EffectsTest, TickByTickTables) {
    for (const TickCase& c : kTickCases) {
        SCOPED_TRACE(c.name);
        XmSongLayout layout = MakeSongLayout(2, 2);
        if (c.setup) {
            c.setup(layout);
        }
        SetCells(layout, c.cells);
        playing = LoadAndStart(layout);
        ASSERT_NE(playing, nullptr);
        size_t ticks = 0;
        for (const auto& check : c.checks) {
            ticks = std::max(ticks, check.second.size());
        }
        for (size_t tick = 0; tick < ticks; ++tick) {
            if (c.before) {
                c.before(tick);
            }
            ReplayTick(testPlayer);
            for (size_t k = 0; k < c.checks.size(); ++k) {
                const Values& expected = c.checks[k].second;
                if (tick < expected.size() && expected[tick] != kAny) {
                    EXPECT_EQ(c.checks[k].first(), expected[tick])
                        << "check " << k << ", tick " << tick;
                }
            }
        }
        SongFree(playing);
        playing = nullptr;
    }
}

class EffectsSongTest : public ::testing::Test {
protected:
    void TearDown() override { SongFree(song); }
    void Start(const char* cells, int32_t tempo = 6) {
        layout.defaultTempo = static_cast<uint16_t>(tempo);
        SetCells(layout, cells);
        song = LoadAndStart(layout);
        ASSERT_NE(song, nullptr);
    }
    void Ticks(int32_t count) {
        for (int32_t i = 0; i < count; ++i) {
            ReplayTick(testPlayer);
        }
    }
    XmSongLayout layout = MakeSongLayout(2, 2);
    Song* song = nullptr;
};

TEST_F(EffectsSongTest, PatternLoopPlaysTheSpanThreeTimes) {
    Start("16 0 0 0 0 E 60; 31 0 0 0 0 E 62; 15 1 0 0 0 A F; 16 1 49 1 30 0 0; 31 1 0 0 0 A 10", 2);
    Values rows;
    for (int32_t i = 0; i < 2 * (32 + 32) + 2; ++i) {
        ReplayTick(testPlayer);
        if (song->tick == 1) {
            rows.push_back(song->row);
        }
        if (song->tick == 0 && rows.size() > 16 && (rows.back() == 31 || rows.back() == 15)) {
            // Tick 1 of row 31 slid up with row 31's cells, not those of row 15.
            EXPECT_EQ(testPlayer.channels[1].volume, 33);
        }
    }
    // Row 31 moves `row` back to 15 on its tick 0 while it loops, so that the row advance lands
    // on row 16; the third time it lets the song go on.
    Values expected;
    for (int32_t r = 0; r < 31; ++r) {
        expected.push_back(r);
    }
    for (int32_t pass = 0; pass < 2; ++pass) {
        expected.push_back(15);
        for (int32_t r = 16; r < (pass == 0 ? 31 : 33); ++r) {
            expected.push_back(r);
        }
    }
    EXPECT_EQ(rows, expected);
}

// Runs one effect routine on a bare channel.
void RunEffect(const EffectAction* table, uint8_t effect, Channel& channel, Song& song) {
    Cell cell{0, 0, 0, effect, 0x5A};
    static Player player;
    player.song = &song;
    EffectContext context{&player, &song, &cell, &emptyInstrument, &emptySample, 0, 0, 0};
    table[effect](channel, context);
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
        RunEffect(effectOtherTick, 0x1B, channel, song);
        EXPECT_EQ(channel.volume, expected[mode]) << int(mode);
        EXPECT_TRUE(channel.updateFlags & kUpdateTrigger);
        EXPECT_EQ((channel.updateFlags & kUpdateVolume) != 0, mode != 0) << int(mode);
    }
    // Limits: 0..64, and nothing between the retrigger ticks.
    Channel channel{};
    channel.volume = 3;
    channel.retrigVolumeMode = 5;
    channel.retrigInterval = 3;
    RunEffect(effectOtherTick, 0x1B, channel, song);
    EXPECT_EQ(channel.volume, 3);
    EXPECT_EQ(channel.updateFlags, 0);
    song.tick = 3;
    RunEffect(effectOtherTick, 0x1B, channel, song);
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
        RunEffect(effectTickZero, effect, channel, song);
        RunEffect(effectOtherTick, effect, channel, song);
        EXPECT_EQ(channel.updateFlags, 0) << int(effect);
        EXPECT_EQ(channel.volume, 20);
        EXPECT_EQ(channel.period, 4000);
        EXPECT_EQ(channel.panning, 100);
        EXPECT_EQ(song.globalVolume, 40);
        EXPECT_EQ(song.speed, 6);
    }
}

TEST(ModulatorTest, WaveformsAndSteps) {
    const int32_t waves[][3] = {{0, 16, 256}, {0, -16, 256}, {0, 8, 181}, {0, 0, 0},  {1, 0, 0},
                                {1, 31, 248}, {1, -32, 255}, {1, -1, 7},  {2, 5, 255}};
    for (const auto& w : waves) {
        EXPECT_EQ(ModulatorWave(w[0], w[1]), w[2]) << w[0] << " " << w[1];
    }
    const int32_t autoWaves[][3] = {
        {0, 0, 0},    {0, 64, 64},   {0, 192, -64}, {0, 32, 45}, {1, 127, 64}, {1, 128, -64},
        {2, 0, 0},    {2, 127, -64}, {2, 128, 64},  {2, 255, 0}, {3, 0, 0},    {3, 127, 63},
        {3, 128, 64}, {3, 129, -64}, {3, 255, -1},  {4, 64, 0},  {255, 64, 0}};
    for (const auto& w : autoWaves) {
        EXPECT_EQ(AutoVibratoWave(w[0], w[1]), w[2]) << w[0] << " " << w[1];
    }

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

    const int32_t tremolo[][5] = {// position, volume, waveform, delta, new position
                                  {16, 40, 0, 24, -28},    {16, 20, 0, 32, -28},
                                  {-16, 20, 0, -20, 4},    {-16, 50, 0, -32, 4},
                                  {-16, 50, 0x20, -31, 4}, {-16, 50, 0x30, -32, 4}};
    for (const auto& t : tremolo) {
        Channel c{};
        c.tremoloDepth = 8;
        c.tremoloSpeed = 20;
        c.tremoloPosition = static_cast<int8_t>(t[0]);
        c.volume = t[1];
        c.waveControl = static_cast<uint8_t>(t[2]);
        TremoloStep(c);
        EXPECT_EQ(c.volumeDelta, t[3]) << t[0] << " " << t[1] << " " << t[2];
        EXPECT_EQ(c.tremoloPosition, t[4]);
    }
}

}  // namespace
