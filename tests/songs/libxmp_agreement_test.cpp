// An independent reader, libxmp, loads both built-in songs and sees the same shape as our loader.
#include <gtest/gtest.h>
#include <xmp.h>

#include <string>

#include "song_fixtures.h"

namespace {

class LibxmpAgreementTest : public ::testing::TestWithParam<const SongShape*> {};

TEST_P(LibxmpAgreementTest, SameChannelOrderPatternAndInstrumentCounts) {
    const SongShape& shape = *GetParam();
    xmp_context context = xmp_create_context();
    ASSERT_EQ(xmp_load_module_from_memory(context, shape.image->data, shape.image->size), 0)
        << "libxmp refused the " << shape.name << " song";
    xmp_module_info info{};
    xmp_get_module_info(context, &info);
    ASSERT_NE(info.mod, nullptr);
    EXPECT_NE(std::string(info.mod->type).find("XM 1.04"), std::string::npos) << info.mod->type;

    Song* song = LoadSongImage(*shape.image);
    ASSERT_NE(song, nullptr);
    EXPECT_EQ(info.mod->chn, song->channelCount);
    EXPECT_EQ(info.mod->len, song->songLength);
    // libxmp's XM reader always appends one blank 64-row pattern of its own after the stored ones.
    const int storedPatterns = info.mod->pat - 1;
    EXPECT_EQ(storedPatterns, song->patternSlotCount);
    EXPECT_EQ(info.mod->ins, song->instrumentCount);
    EXPECT_EQ(info.mod->spd, song->defaultTempo);
    EXPECT_EQ(info.mod->bpm, song->defaultBpm);
    EXPECT_EQ(info.mod->rst, song->restartPosition);
    for (int i = 0; i < info.mod->len; ++i) {
        EXPECT_EQ(info.mod->xxo[i], song->orders[i]) << "order " << i;
    }
    EXPECT_EQ(info.mod->chn, shape.channels);
    EXPECT_EQ(info.mod->len, shape.orders);
    EXPECT_EQ(storedPatterns, shape.patterns);
    EXPECT_EQ(info.mod->ins, shape.instruments);
    SongFree(song);
    xmp_release_module(context);
    xmp_free_context(context);
}

INSTANTIATE_TEST_SUITE_P(BuiltInSongs, LibxmpAgreementTest,
                         ::testing::Values(&ShowShape(), &HiddenShape()),
                         [](const auto& info) { return std::string(info.param->name); });

}  // namespace
