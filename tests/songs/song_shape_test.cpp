// Both built-in songs have exactly the shapes the demo expects (counts, frequency table, tempo,
// sample kinds and loop modes, every pattern used), and an independent reader, libxmp, sees the
// same header, orders and samples as our loader.
#include <gtest/gtest.h>
#include <xmp.h>

#include <set>
#include <string>

#include "song_fixtures.h"

namespace {

class SongShapeTest : public ::testing::TestWithParam<const SongShape*> {
protected:
    void SetUp() override {
        shape = GetParam();
        ASSERT_GT(shape->image->size, 0) << "the build embedded no " << shape->name << " song";
        song = LoadSongImage(*shape->image);
        ASSERT_NE(song, nullptr) << "the loader refused the " << shape->name << " song";
        context = xmp_create_context();
        ASSERT_EQ(xmp_load_module_from_memory(context, shape->image->data, shape->image->size), 0)
            << "libxmp refused the " << shape->name << " song";
        xmp_module_info info{};
        xmp_get_module_info(context, &info);
        module = info.mod;
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        SongFree(song);
        if (module != nullptr) {
            xmp_release_module(context);
        }
        xmp_free_context(context);
    }

    const SongShape* shape = nullptr;
    Song* song = nullptr;
    xmp_context context = nullptr;
    const xmp_module* module = nullptr;
};

TEST_P(SongShapeTest, HeaderCountsTempoAndOrdersMatchTheShapeAndLibxmp) {
    EXPECT_NE(std::string(module->type).find("XM 1.04"), std::string::npos) << module->type;
    // libxmp's XM reader always appends one blank 64-row pattern of its own after the stored ones.
    const int32_t counts[] = {song->channelCount,    song->songLength,   song->patternSlotCount,
                              song->instrumentCount, song->defaultTempo, song->defaultBpm};
    const int32_t expected[] = {shape->channels,    shape->orders, shape->patterns,
                                shape->instruments, shape->tempo,  shape->bpm};
    const int32_t libxmp[] = {module->chn, module->len, module->pat - 1,
                              module->ins, module->spd, module->bpm};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(counts[i], expected[i]) << "count " << i;
        EXPECT_EQ(libxmp[i], expected[i]) << "count " << i;
    }
    EXPECT_EQ(song->usedPatternCount, shape->patterns) << "every pattern is reached by the orders";
    EXPECT_EQ(song->flags & 1, 1) << "linear frequency table";
    EXPECT_EQ(module->rst, song->restartPosition);
    EXPECT_LT(song->restartPosition, song->songLength);
    for (int i = 0; i < module->len; ++i) {
        EXPECT_EQ(module->xxo[i], song->orders[i]) << "order " << i;
    }
    for (int p = 0; p < song->patternSlotCount; ++p) {
        EXPECT_EQ(song->patterns[p].rowCount, 64) << "pattern " << p;
    }
    EXPECT_LE(shape->image->size, shape->maximumBytes);
}

// Lengths, loops and bit depths as libxmp reads them from the file; our loader stores every
// sample as 16-bit values, so the file's depth is only visible through the independent reader.
TEST_P(SongShapeTest, SamplesAgreeWithLibxmpAndHaveTheExpectedKinds) {
    int sixteenBit = 0, forward = 0, pingPong = 0, empty = 0, withoutSamples = 0;
    for (int i = 0; i < song->instrumentCount; ++i) {
        const Instrument& instrument = song->instruments[i];
        ASSERT_EQ(module->xxi[i].nsm, instrument.sampleCount) << "instrument " << i + 1;
        withoutSamples += instrument.sampleCount == 0;
        for (int s = 0; s < instrument.sampleCount; ++s) {
            SCOPED_TRACE("instrument " + std::to_string(i + 1) + " sample " + std::to_string(s));
            const Sample& ours = *instrument.samples[s];
            const xmp_sample& theirs = module->xxs[module->xxi[i].sub[s].sid];
            const int mode = (theirs.flg & XMP_SAMPLE_LOOP_BIDIR) ? 4
                             : (theirs.flg & XMP_SAMPLE_LOOP)     ? 2
                                                                  : 1;
            EXPECT_EQ(ours.length, static_cast<uint32_t>(theirs.len));
            EXPECT_EQ(ours.loopMode, mode);
            if (mode != 1) {
                EXPECT_EQ(ours.loopStart, static_cast<uint32_t>(theirs.lps));
                EXPECT_EQ(ours.loopStart + ours.loopLength, static_cast<uint32_t>(theirs.lpe));
            }
            sixteenBit += (theirs.flg & XMP_SAMPLE_16BIT) != 0;
            forward += mode == 2;
            pingPong += mode == 4;
            empty += ours.length == 0;
            if (ours.length == 0) {
                EXPECT_EQ(ours.data, nullptr);
            }
        }
    }
    EXPECT_EQ((std::vector<int>{sixteenBit, withoutSamples, empty > 0}),
              (std::vector<int>{shape->sixteenBitSamples, shape->instrumentsWithoutSamples,
                                shape->hasEmptySamples}));
    EXPECT_GE(forward, 1);
    EXPECT_GE(pingPong, shape->sixteenBitSamples > 0 ? 1 : 0);
}

TEST_P(SongShapeTest, EveryInstrumentWithSoundIsPlayedAndNoCellNamesASilentOne) {
    std::set<int> played;
    for (int p = 0; p < song->patternSlotCount; ++p) {
        const Pattern& pattern = song->patterns[p];
        for (int i = 0; i < pattern.rowCount * song->channelCount; ++i) {
            if (pattern.cells[i].instrument != 0) {
                played.insert(pattern.cells[i].instrument);
            }
        }
    }
    for (int i = 0; i < song->instrumentCount; ++i) {
        const Instrument& instrument = song->instruments[i];
        const bool audible = instrument.sampleCount > 0 && instrument.samples[0]->length > 0;
        EXPECT_EQ(played.count(i + 1) == 1, audible)
            << "instrument " << i + 1 << (audible ? " is never played" : " is silent but played");
    }
    EXPECT_LE(*played.rbegin(), song->instrumentCount);
    EXPECT_GE(played.size(), 6u) << "drums, bass, lead and chords need their own sounds";
}

INSTANTIATE_TEST_SUITE_P(BuiltInSongs, SongShapeTest,
                         ::testing::Values(&ShowShape(), &HiddenShape()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
