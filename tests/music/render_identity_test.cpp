// Locks the player's output: every corpus song and both built-in songs rendered through the
// offline render xmrender uses, compared by frame count and FNV-1a hash of the PCM with a table
// taken from xmrender's output. Any change to a single output sample shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "music/offline_render.h"
#include "run_program.h"

namespace {

struct Expected {
    const char* file;  // relative to the corpus or the source tree
    int64_t frames;
    uint64_t hash;
};

// Rendered to the song's end, at most 600 s, as xmrender renders by default.
const Expected corpusRenders[] = {
    {"songs/frozen-bubble/frozen-mainzik-1p.xm", 11523330, 0x1ee6247b78fe1e2eull},
    {"songs/frozen-bubble/frozen-mainzik-2p.xm", 8090665, 0x79a1dc199d308ec2ull},
    {"songs/frozen-bubble/introzik.xm", 7798784, 0x301e99aec3db879eull},
    {"songs/milkytracker/milky.xm", 5405184, 0x1d7955bca3bb47f6ull},
    {"songs/milkytracker/slumberjack.xm", 9068544, 0x344dea99dc5944d4ull},
    {"songs/milkytracker/sv_ttt.xm", 3342336, 0x6d577e86e8dd82f1ull},
    {"songs/milkytracker/theday.xm", 7651264, 0xdd087e61fd0352e4ull},
    {"songs/milkytracker/universalnetwork2_real.xm", 4910976, 0xd813bd7a5c5e9095ull},
    {"tests/libxmp/bidi_sync.xm", 1354752, 0x409def90a49fe325ull},
    {"tests/libxmp/ft2_delay_envelope_sustain.xm", 813020, 0x3d0d492bfd260913ull},
    {"tests/libxmp/ft2_kxx.xm", 556992, 0x182da487585d8903ull},
    {"tests/libxmp/ft2_note_off_fade.xm", 813020, 0xcd50dd8b7bc42467ull},
    {"tests/libxmp/ft2_note_range.xm", 661440, 0x71b5475e544b0ea9ull},
    {"tests/libxmp/ft2_offset_memory.xm", 303160, 0xd4ec4d9abbda98e0ull},
    {"tests/libxmp/ft2_tremor_reset.xm", 702780, 0x78e7cafc6e9a539cull},
    {"tests/libxmp/pattern_jump_ft2_break.xm", 35280, 0xa33f45ce9bc55725ull},
    {"tests/libxmp/stereo.xm", 508032, 0x2e600e5e177b4651ull},
    {"tests/libxmp/test.xm", 677376, 0xbaf4cdb51a610325ull},
    {"tests/openmpt-player-tests/Arpeggio.xm", 303160, 0xedd4ee89b271550eull},
    {"tests/openmpt-player-tests/AutoVibratoSweepKeyOff.xm", 218736, 0xd1b65307feebb30bull},
    {"tests/openmpt-player-tests/BidiPrecision.xm", 84672, 0x89c5aa4da243de09ull},
    {"tests/openmpt-player-tests/EnvLoops.xm", 462840, 0x39121428d8963ab5ull},
    {"tests/openmpt-player-tests/FT2PanLaw.xm", 63504, 0xa661b1b387942e0dull},
    {"tests/openmpt-player-tests/Finetune-Precision.xm", 63504, 0x7106fa233d233cf7ull},
    {"tests/openmpt-player-tests/Off-Porta.xm", 79488, 0x5696a00cb8b0a2e1ull},
    {"tests/openmpt-player-tests/PatLoop-Various.xm", 37044, 0x27a546edb77e7e85ull},
    {"tests/openmpt-player-tests/PatternDelaysRetrig.xm", 57876, 0xf234eaeaa37fea7aull},
    {"tests/openmpt-player-tests/Porta-LinkMem.xm", 396864, 0x228ba506f004da42ull},
    {"tests/openmpt-player-tests/SetEnvPos.xm", 84672, 0xd0b515b70e3fda8bull},
    {"tests/openmpt-player-tests/delay2.xm", 42336, 0x60ace93cab5cd031ull},
    {"tests/openmpt-unit/test.xm", 380640, 0x794460790ba60925ull},
};

const Expected builtInRenders[] = {
    {"songs/show.xm", 5870592, 0x0840c47d1ef4d382ull},
    {"songs/hidden.xm", 3217536, 0xfff4303a5124c67dull},
};

struct Rendered {
    bool loaded = false;
    int64_t frames = 0;
    uint64_t hash = 0xcbf29ce484222325ull;
};

Rendered Render(const std::string& path) {
    const std::string image = ReadFileBytes(path);
    Rendered result;
    OfflineRender render;
    bool deviceFailed = false;
    if (!OfflineRenderBegin(render, reinterpret_cast<const uint8_t*>(image.data()), image.size(),
                            600.0, &deviceFailed)) {
        return result;
    }
    result.loaded = true;
    std::vector<int16_t> block(2 * static_cast<size_t>(render.player.blockFrames));
    int64_t frames;
    while ((frames = OfflineRenderNext(render, block.data())) > 0) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(block.data());
        for (int64_t i = 0; i < 4 * frames; ++i) {
            result.hash = (result.hash ^ bytes[i]) * 0x100000001b3ull;
        }
        result.frames += frames;
    }
    OfflineRenderEnd(render);
    return result;
}

void ExpectRender(const std::string& path, const Expected& expected) {
    SCOPED_TRACE(path);
    const Rendered rendered = Render(path);
    ASSERT_TRUE(rendered.loaded);
    EXPECT_EQ(rendered.frames, expected.frames);
    EXPECT_EQ(rendered.hash, expected.hash)
        << "now {\"" << expected.file << "\", " << rendered.frames << ", 0x" << std::hex
        << rendered.hash << "ull}";
}

TEST(RenderIdentityTest, BuiltInSongs) {
    for (const Expected& expected : builtInRenders) {
        ExpectRender(std::string(DEMO_SOURCE_DIR) + "/" + expected.file, expected);
    }
}

TEST(RenderIdentityTest, CorpusSongsAndTestModules) {
    const std::filesystem::path corpus = XM_CORPUS_DIR;
    if (!std::filesystem::is_directory(corpus / "songs") ||
        !std::filesystem::is_directory(corpus / "tests")) {
        GTEST_SKIP() << "no XM corpus at " << XM_CORPUS_DIR << "; only the built-in songs ran";
    }
    // Every .xm under songs/ and tests/ has a row, so a new file is noticed.
    std::vector<std::string> found;
    for (const char* folder : {"songs", "tests"}) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus / folder)) {
            if (entry.is_regular_file() && entry.path().extension() == ".xm") {
                found.push_back(std::filesystem::relative(entry.path(), corpus).string());
            }
        }
    }
    std::sort(found.begin(), found.end());
    std::vector<std::string> listed;
    for (const Expected& expected : corpusRenders) {
        listed.push_back(expected.file);
    }
    EXPECT_EQ(found, listed);
    for (const Expected& expected : corpusRenders) {
        ExpectRender((corpus / expected.file).string(), expected);
    }
}

}  // namespace
