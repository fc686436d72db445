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
    uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a of the PCM bytes
};

void Hash(Rendered& into, const void* data, size_t bytes) {
    for (size_t i = 0; i < bytes; ++i) {
        into.hash = (into.hash ^ static_cast<const uint8_t*>(data)[i]) * 0x100000001b3ull;
    }
}

Rendered Render(const std::string& path, double seconds = 600.0) {
    const std::string image = ReadFileBytes(path);
    Rendered result;
    OfflineRender render;
    bool deviceFailed = false;
    result.loaded = OfflineRenderBegin(render, reinterpret_cast<const uint8_t*>(image.data()),
                                       image.size(), seconds, &deviceFailed);
    EXPECT_FALSE(deviceFailed);
    std::vector<int16_t> block(2 * static_cast<size_t>(render.player.blockFrames));
    int64_t frames;
    while (result.loaded && (frames = OfflineRenderNext(render, block.data())) > 0) {
        Hash(result, block.data(), 4 * static_cast<size_t>(frames));
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

std::vector<std::string> XmFilesUnder(const std::filesystem::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file() && entry.path().extension() == ".xm") {
            files.push_back(std::filesystem::relative(entry.path(), XM_CORPUS_DIR).string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool CorpusPresent() {
    return std::filesystem::is_directory(std::filesystem::path(XM_CORPUS_DIR) / "songs") &&
           std::filesystem::is_directory(std::filesystem::path(XM_CORPUS_DIR) / "tests");
}

TEST(RenderIdentityTest, BuiltInSongs) {
    for (const Expected& expected : builtInRenders) {
        ExpectRender(std::string(DEMO_SOURCE_DIR) + "/" + expected.file, expected);
    }
}

TEST(RenderIdentityTest, XmRenderWritesTheSamePcm) {
    ScratchDir dir;
    const Expected& show = builtInRenders[0];
    const ProgramResult result = RunProgram(
        XMRENDER_EXECUTABLE, {std::string(DEMO_SOURCE_DIR) + "/" + show.file, dir.File("a.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    const std::string wav = ReadFileBytes(dir.File("a.wav"));
    ASSERT_EQ(wav.size(), 44 + 4 * static_cast<size_t>(show.frames));
    Rendered written;
    Hash(written, wav.data() + 44, wav.size() - 44);
    EXPECT_EQ(written.hash, show.hash);
}

TEST(RenderIdentityTest, CorpusSongsAndTestModules) {
    if (!CorpusPresent()) {
        GTEST_SKIP() << "no XM corpus at " << XM_CORPUS_DIR << "; only the built-in songs ran";
    }
    // Every .xm under songs/ and tests/ has a row, so a new file is noticed.
    std::vector<std::string> found = XmFilesUnder(std::string(XM_CORPUS_DIR) + "/songs");
    const std::vector<std::string> tests = XmFilesUnder(std::string(XM_CORPUS_DIR) + "/tests");
    found.insert(found.end(), tests.begin(), tests.end());
    std::vector<std::string> listed;
    for (const Expected& expected : corpusRenders) {
        listed.push_back(expected.file);
        ExpectRender(std::string(XM_CORPUS_DIR) + "/" + expected.file, expected);
    }
    EXPECT_EQ(found, listed);
}

// Damaged files are refused or render 10 s without a fault (the sanitizer builds check the
// accesses).
TEST(RenderIdentityTest, MalformedFilesAreRefusedOrRenderSafely) {
    const std::filesystem::path folder = std::filesystem::path(XM_CORPUS_DIR) / "malformed";
    if (!std::filesystem::is_directory(folder)) {
        GTEST_SKIP() << "no malformed files at " << folder;
    }
    const std::vector<std::string> files = XmFilesUnder(folder);
    ASSERT_GE(files.size(), 9u);
    for (const std::string& file : files) {
        const Rendered rendered = Render(std::string(XM_CORPUS_DIR) + "/" + file, 10.0);
        EXPECT_LE(rendered.frames, 441000) << file;
    }
}

}  // namespace
