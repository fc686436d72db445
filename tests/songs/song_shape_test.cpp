// Both built-in songs load with the demo's loader and have exactly the shapes the demo expects:
// counts, frequency table, tempo, sample kinds and loop modes, and a pattern set that is all used.
#include <gtest/gtest.h>

#include <set>

#include "song_fixtures.h"
#include "song_image_scan.h"

namespace {

class SongShapeTest : public ::testing::TestWithParam<const SongShape*> {
protected:
    void SetUp() override {
        shape = GetParam();
        ASSERT_GT(shape->image->size, 0) << "the build embedded no " << shape->name << " song";
        song = LoadSongImage(*shape->image);
        ASSERT_NE(song, nullptr) << "the loader refused the " << shape->name << " song";
        scan = ScanSongImage(shape->image->data, shape->image->size);
    }
    void TearDown() override { SongFree(song); }

    int CountLoadedSamples(bool (*pick)(const Sample&)) const {
        int count = 0;
        for (int i = 0; i < song->instrumentCount; ++i) {
            const Instrument& instrument = song->instruments[i];
            for (int s = 0; s < instrument.sampleCount; ++s) {
                count += pick(*instrument.samples[s]) ? 1 : 0;
            }
        }
        return count;
    }

    const SongShape* shape = nullptr;
    Song* song = nullptr;
    ScannedSong scan;
};

TEST_P(SongShapeTest, HeaderCountsTempoAndTableMatch) {
    EXPECT_EQ(song->channelCount, shape->channels);
    EXPECT_EQ(song->songLength, shape->orders);
    EXPECT_EQ(song->patternSlotCount, shape->patterns);
    EXPECT_EQ(song->usedPatternCount, shape->patterns) << "every pattern is reached by the orders";
    EXPECT_EQ(song->instrumentCount, shape->instruments);
    EXPECT_EQ(song->flags & 1, 1) << "linear frequency table";
    EXPECT_EQ(song->defaultTempo, shape->tempo);
    EXPECT_EQ(song->defaultBpm, shape->bpm);
    EXPECT_LT(song->restartPosition, song->songLength);
    for (int p = 0; p < song->patternSlotCount; ++p) {
        EXPECT_EQ(song->patterns[p].rowCount, 64) << "pattern " << p;
        EXPECT_NE(song->patterns[p].cells, nullptr) << "pattern " << p;
    }
    EXPECT_LE(shape->image->size, shape->maximumBytes);
}

TEST_P(SongShapeTest, FileWalkAgreesWithTheLoader) {
    ASSERT_TRUE(scan.complete) << "headers and data must end exactly at the end of the image";
    EXPECT_EQ(scan.patternCount, shape->patterns) << "no pattern is created by the loader";
    ASSERT_EQ(int(scan.instruments.size()), song->instrumentCount);
    for (int i = 0; i < song->instrumentCount; ++i) {
        const Instrument& instrument = song->instruments[i];
        ASSERT_EQ(int(scan.instruments[i].samples.size()), instrument.sampleCount) << i;
        for (int s = 0; s < instrument.sampleCount; ++s) {
            const ScannedSample& file = scan.instruments[i].samples[s];
            const Sample& loaded = *instrument.samples[s];
            uint32_t bytesPerValue = (file.type & 0x10) ? 2 : 1;
            EXPECT_EQ(loaded.length, file.lengthBytes / bytesPerValue) << i << "/" << s;
            int expectedMode = (file.type & 2) ? 4 : ((file.type & 1) ? 2 : 1);
            EXPECT_EQ(loaded.loopMode, expectedMode) << "instrument " << i + 1 << " sample " << s;
            EXPECT_LE(uint64_t(loaded.loopStart) + loaded.loopLength,
                      uint64_t(loaded.length) + (loaded.length == 0))
                << "loop inside the data, instrument " << i + 1;
        }
    }
}

TEST_P(SongShapeTest, EveryInstrumentWithSoundIsPlayedAndNoCellNamesASilentOne) {
    std::set<int> played(scan.instrumentsPlayed.begin(), scan.instrumentsPlayed.end());
    for (int i = 0; i < song->instrumentCount; ++i) {
        const Instrument& instrument = song->instruments[i];
        bool audible = instrument.sampleCount > 0 && instrument.samples[0]->length > 0;
        EXPECT_EQ(played.count(i + 1) == 1, audible)
            << "instrument " << i + 1 << (audible ? " is never played" : " is silent but played");
    }
    for (int number : played) {
        EXPECT_LE(number, song->instrumentCount);
    }
}

INSTANTIATE_TEST_SUITE_P(BuiltInSongs, SongShapeTest,
                         ::testing::Values(&ShowShape(), &HiddenShape()),
                         [](const auto& info) { return std::string(info.param->name); });

TEST(ShowSongShape, NineEmptyInstrumentsTwoSixteenBitSamplesAndBothLoopKinds) {
    Song* song = LoadSongImage(showSongImage);
    ASSERT_NE(song, nullptr);
    ScannedSong scan = ScanSongImage(showSongImage.data, showSongImage.size);
    int withoutSamples = 0;
    for (int i = 0; i < song->instrumentCount; ++i) {
        withoutSamples += song->instruments[i].sampleCount == 0 ? 1 : 0;
    }
    EXPECT_EQ(withoutSamples, 9);
    int sixteenBit = 0, forward = 0, pingPong = 0, empty = 0;
    for (const ScannedInstrument& instrument : scan.instruments) {
        for (const ScannedSample& sample : instrument.samples) {
            sixteenBit += (sample.type & 0x10) ? 1 : 0;
            forward += (sample.type & 3) == 1 ? 1 : 0;
            pingPong += (sample.type & 3) == 2 ? 1 : 0;
            empty += sample.lengthBytes == 0 ? 1 : 0;
        }
    }
    EXPECT_EQ(sixteenBit, 2);
    EXPECT_GE(forward, 1);
    EXPECT_GE(pingPong, 1);
    EXPECT_EQ(empty, 0);
    SongFree(song);
}

TEST(HiddenSongShape, SomeInstrumentsHoldSamplesOfLengthZero) {
    Song* song = LoadSongImage(hiddenSongImage);
    ASSERT_NE(song, nullptr);
    int zeroLength = 0, sounding = 0;
    for (int i = 0; i < song->instrumentCount; ++i) {
        const Instrument& instrument = song->instruments[i];
        for (int s = 0; s < instrument.sampleCount; ++s) {
            if (instrument.samples[s]->length == 0) {
                EXPECT_EQ(instrument.samples[s]->data, nullptr);
                ++zeroLength;
            } else {
                ++sounding;
            }
        }
    }
    EXPECT_GE(zeroLength, 1);
    EXPECT_GE(sounding, 6) << "drums, bass, lead and chords need their own sounds";
    SongFree(song);
}

}  // namespace
