// Loader tests: XM images built here, each exercising one way the format can break the loader.
#include <gtest/gtest.h>

#include <iterator>
#include <tuple>
#include <vector>

#include "music/song.h"
#include "xm_builder.h"

namespace {

using Values = std::vector<int32_t>;

// Loads a layout; the image stays alive in the fixture for as long as the song.
class LoaderTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (Song* song : songs) {
            SongFree(song);
        }
    }
    Song* Load(const XmSongLayout& layout) {
        images.push_back(BuildXm(layout));
        Song* song = LoadImage(images.back());
        if (song) {
            songs.push_back(song);
        }
        return song;
    }
    // The samples of a one-instrument song holding `samples`.
    Sample* const* LoadSamples(std::vector<XmSampleLayout> samples) {
        XmSongLayout layout = MakeSongLayout(2);
        layout.instruments[0].samples = std::move(samples);
        Song* song = Load(layout);
        EXPECT_NE(song, nullptr);
        return song ? song->instruments[0].samples : nullptr;
    }
    std::vector<std::vector<uint8_t>> images;
    std::vector<Song*> songs;
};

TEST_F(LoaderTest, SignatureAndHeaderFields) {
    XmSongLayout layout = MakeSongLayout(6, 2);
    layout.restartPosition = 1;
    layout.defaultTempo = 4;
    layout.defaultBpm = 130;
    layout.flags = 0;
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(
        (Values{song->channelCount, song->songLength, song->restartPosition, song->defaultTempo,
                song->defaultBpm, song->flags, song->initialGlobalVolume, song->instrumentCount}),
        (Values{6, 2, 1, 4, 130, 0, 64, 1}));
    for (const char* signature : {"Extended Module:_", "extended Module: "}) {
        layout.signature = signature;
        EXPECT_EQ(Load(layout), nullptr) << signature;
    }
}

TEST_F(LoaderTest, OrderTableNamingMissingPatternsCreatesEmptyOnesAndKeepsUnusedOnes) {
    XmSongLayout layout = MakeSongLayout(4, 8);
    layout.songLength = 9;
    layout.orders[8] = 9;
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ((Values{song->usedPatternCount, song->patternSlotCount}), (Values{10, 10}));
    for (int p : {8, 9}) {
        ASSERT_EQ(song->patterns[p].rowCount, 64) << p;
        ASSERT_NE(song->patterns[p].cells, nullptr);
        for (int i = 0; i < 64 * 4; ++i) {
            const Cell& cell = song->patterns[p].cells[i];
            ASSERT_EQ(cell.note | cell.instrument | cell.volume | cell.effect | cell.param, 0);
        }
    }
    layout = MakeSongLayout(4, 5);
    layout.songLength = 2;
    layout.patterns[4].rows = 17;
    song = Load(layout);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ((Values{song->usedPatternCount, song->patternSlotCount, song->patterns[4].rowCount}),
              (Values{2, 5, 17}));
}

TEST_F(LoaderTest, PackedSizeZeroReadsOnlyTheHeader) {
    XmSongLayout layout = MakeSongLayout(3, 2);
    layout.patterns[0].zeroPackedSize = true;
    SetCell(layout, 1, 5, 2, Cell{49, 1, 0x40, 0xA, 0x04});
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    for (int i = 0; i < 64 * 3; ++i) {
        ASSERT_EQ(song->patterns[0].cells[i].note, 0);
    }
    // The next pattern starts right after the 9 header bytes.
    const Cell& cell = song->patterns[1].cells[5 * 3 + 2];
    EXPECT_EQ(cell, (Cell{49, 1, 0x40, 0xA, 0x04}));
    EXPECT_EQ(song->instruments[0].samples[0]->length, 1000u);
}

TEST_F(LoaderTest, PackedAndPlainCellsAndClamps) {
    XmSongLayout layout = MakeSongLayout(2);
    layout.patterns[0].rows = 2;
    // Row 0: packed 0x83 note 0x31 instrument 5, then a plain cell with a key-off note and
    // instrument 0x81. Row 1: plain note 0 (byte 0), packed effect and param only.
    layout.patterns[0].rawData = {0x83, 0x31, 0x05, 0x61, 0x81, 0x10, 0x0F, 0x20,
                                  0x00, 0x01, 0x02, 0x03, 0x04, 0x98, 0x0E, 0x62};
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    const Cell expected[4] = {
        {0x31, 5, 0, 0, 0}, {255, 0, 0x10, 0x0F, 0x20}, {0, 1, 2, 3, 4}, {0, 0, 0, 0x0E, 0x62}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(song->patterns[0].cells[i], expected[i]) << i;
    }
}

TEST_F(LoaderTest, InstrumentWithoutSamplesSkipsToItsHeaderEnd) {
    XmSongLayout layout = MakeSongLayout(2);
    XmInstrumentLayout padded;
    padded.headerSize = 300;  // 29 bytes of header and 271 bytes of padding
    XmInstrumentLayout last = MakeInstrument(MakeSample8(20));
    last.samples[0].volume = 33;
    layout.instruments = {XmInstrumentLayout{}, padded, last};
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(song->instruments[i].sampleCount, 0) << i;
        for (Sample* slot : song->instruments[i].samples) {
            EXPECT_EQ(slot, &emptySample);
        }
    }
    EXPECT_EQ(song->instruments[2].sampleCount, 1);
    EXPECT_EQ(song->instruments[2].samples[0]->volume, 33);
    EXPECT_EQ(song->instruments[2].samples[1], &emptySample);
}

TEST_F(LoaderTest, InstrumentFieldsEnvelopeLimitsAndFadeout) {
    XmSongLayout layout = MakeSongLayout(2);
    XmInstrumentLayout& in = layout.instruments[0];
    in.keymap[10] = 3;
    in.volumeEnvelope[1] = EnvelopePoint{10, 20};
    in.volumeEnvelope[3] = EnvelopePoint{9, 32767};
    in.volumeEnvelope[4] = EnvelopePoint{12, 32768};
    in.panningEnvelope[0] = EnvelopePoint{0, 65};
    in.volumePointCount = 200;
    in.volumeType = 7;
    in.panningType = 1;
    in.vibratoType = 2;
    in.vibratoSweep = 3;
    in.vibratoDepth = 4;
    in.vibratoRate = 5;
    in.fadeout = 0x123;
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    const Instrument& out = song->instruments[0];
    // Envelope values are limited to 64 and point counts to 12; panning with fewer than 2 points
    // is off; the fadeout is doubled.
    EXPECT_EQ(
        (Values{out.keymap[10], out.volumeEnvelope[1].x, out.volumeEnvelope[1].y,
                out.volumeEnvelope[3].x, out.volumeEnvelope[3].y, out.volumeEnvelope[4].y,
                out.panningEnvelope[0].y, out.volumePointCount, out.volumeType, out.panningType,
                out.vibratoType, out.vibratoSweep, out.vibratoDepth, out.vibratoRate, out.fadeout}),
        (Values{3, 10, 20, 9, 64, 64, 64, 12, 7, 0, 2, 3, 4, 5, 0x246}));
    layout.instruments[0].panningPointCount = 13;
    song = Load(layout);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->instruments[0].panningPointCount, 12);
}

TEST_F(LoaderTest, SixteenBitSampleIsHalvedAndGetsItsLoopGuard) {
    std::vector<int16_t> values(98);
    for (int i = 0; i < 98; ++i) {
        values[i] = static_cast<int16_t>(i * 300 - 10000);
    }
    XmSampleLayout sample{196, 68, 128, 64, 0, 0x11, 128, 0, DeltaEncode16(values)};
    Sample* const* s = LoadSamples({sample});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ((Values{static_cast<int32_t>(s[0]->length), static_cast<int32_t>(s[0]->loopStart),
                      static_cast<int32_t>(s[0]->loopLength), s[0]->loopMode, s[0]->bits}),
              (Values{98, 34, 64, 2, 16}));
    for (int i = 0; i < 98; ++i) {
        ASSERT_EQ(s[0]->data[i], values[i]) << i;
    }
    EXPECT_EQ(s[0]->data[98], s[0]->data[34]);
    for (int i = 99; i < 106; ++i) {
        EXPECT_EQ(s[0]->data[i], 0);
    }
}

TEST_F(LoaderTest, EightBitDeltasDecodeIntoTheHighByte) {
    XmSampleLayout sample;
    sample.lengthBytes = 4;
    sample.data = {0x10, 0xF0, 0x80, 0x01};
    Sample* const* s = LoadSamples({sample});
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s[0]->bits, 16);
    const int16_t expected[5] = {0x1000, 0, -0x8000, -0x7F00, 0};  // no loop: the zero tail
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(s[0]->data[i], expected[i]) << i;
    }
}

// Loop type bits, loop length 0 and loops past the data, each sample 40 or 50 values long.
TEST_F(LoaderTest, LoopModesAndGuards) {
    struct Case {
        uint32_t length, loopStart, loopLength;
        uint8_t type, mode;
        uint32_t start, span;
        int32_t guard;  // index whose value the guard repeats, -1 for the zero tail
    };
    const Case cases[] = {
        {40, 8, 16, 3, 4, 8, 16, 23},  // both bits: ping-pong wins
        {40, 8, 16, 2, 4, 8, 16, 23},
        {40, 8, 0, 1, 1, 0, 40, -1},  // loop length 0 plays without loop
        {40, 8, 16, 0, 1, 0, 40, -1},
        {50, 10, 100, 1, 2, 10, 40, 10},  // past the data: clamped to it
        {50, 60, 10, 2, 1, 0, 50, -1},
        {50, 0xFFFFFFF0u, 0x20, 1, 1, 0, 50, -1},
    };
    std::vector<XmSampleLayout> samples;
    for (const Case& c : cases) {
        samples.push_back(MakeSample8(c.length, c.loopStart, c.loopLength, c.type));
    }
    Sample* const* s = LoadSamples(samples);
    ASSERT_NE(s, nullptr);
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(i);
        EXPECT_EQ((std::tuple{s[i]->loopMode, s[i]->loopStart, s[i]->loopLength}),
                  (std::tuple{c.mode, c.start, c.span}));
        EXPECT_EQ(s[i]->data[c.start + c.span], c.guard < 0 ? 0 : s[i]->data[c.guard]);
    }
    EXPECT_EQ(s[std::size(cases)], &emptySample);
}

TEST_F(LoaderTest, SampleChannelAndSongLengthLimits) {
    XmSongLayout layout = MakeSongLayout(32);
    XmInstrumentLayout sixteen;
    sixteen.samples.assign(16, MakeSample8(8));
    layout.instruments.push_back(sixteen);
    Song* song = Load(layout);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->channelCount, 32);
    layout.channelCount = 33;
    EXPECT_EQ(Load(layout), nullptr);
    layout.channelCount = 32;
    layout.instruments.back().samples.push_back(MakeSample8(8));
    EXPECT_EQ(Load(layout), nullptr);

    XmSongLayout longSong = MakeSongLayout(2, 3);
    longSong.songLength = 300;
    for (int i = 0; i < 256; ++i) {
        longSong.orders[i] = static_cast<uint8_t>(i % 3);
    }
    song = Load(longSong);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ((Values{song->songLength, song->usedPatternCount}), (Values{256, 3}));
}

TEST_F(LoaderTest, EveryTruncationOfTheImageIsRefused) {
    XmSongLayout layout = MakeSongLayout(2, 2);
    SetCell(layout, 0, 0, 0, Cell{49, 1, 0, 0, 0});
    layout.instruments.push_back(MakeInstrument(MakeSample8(30, 0, 0, 0)));
    const std::vector<uint8_t> full = BuildXm(layout);
    ASSERT_NE(Load(layout), nullptr);
    for (size_t size = 0; size < full.size(); ++size) {
        std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(size));
        Song* song = LoadImage(cut);
        EXPECT_EQ(song, nullptr) << "prefix of " << size << " of " << full.size() << " bytes";
        SongFree(song);
    }
}

TEST(SongFromMemoryTest, LoadsWithoutADeviceAndFrees) {
    const std::vector<uint8_t> image = BuildXm(MakeSongLayout(2));
    Song* song = SongFromMemory(image.data(), image.size());
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(song->channelCount, 2);
    EXPECT_TRUE(SongFree(song));
    EXPECT_FALSE(SongFree(nullptr));
    EXPECT_EQ(SongFromMemory(nullptr, 0), nullptr);
}

}  // namespace
