// xmrender: its WAV header and length, where it stops (the song's end or the time limit), and
// its failures (one line, no file). Its PCM is pinned by render_identity_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "run_program.h"
#include "xm_builder.h"

namespace {

// Checks a rendered file's WAV header and returns its frame count.
int64_t WavFrames(const std::string& bytes) {
    const int64_t data = WavDataBytes(bytes);
    EXPECT_EQ(data, static_cast<int64_t>(bytes.size()) - 44);
    EXPECT_EQ(data % 4, 0);
    return data / 4;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

int64_t CountLines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

constexpr int64_t kRowFrames = 6 * 882;  // tempo 6 at 125 BPM

TEST(XmRenderTest, StopsAtTheSongsEndOrTheTimeLimit) {
    struct Case {
        const char* name;
        int32_t patterns, restart, secondRows;
        const char* cells;  // as SetCells reads them
        std::vector<std::string> options;
        int64_t frames;
        std::vector<std::string> summary;
    };
    const Case cases[] = {
        {"wraps to its restart position",
         3,
         1,
         16,
         "",
         {},
         (64 + 16 + 64) * kRowFrames,
         {"2 channels", "3 patterns", "song end"}},
        {"a backward jump ends the song",
         3,
         0,
         64,
         "67 1 0 0 0 B 0",
         {},
         (64 + 4) * kRowFrames,
         {"song end"}},
        {"seconds limit the render",
         2,
         0,
         64,
         "",
         {"--seconds", "1.5"},
         66150,
         {"1.500 s", "time limit"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchDir dir;
        XmSongLayout layout = MakeSongLayout(2, c.patterns);
        layout.instruments.clear();  // silent
        layout.restartPosition = static_cast<uint16_t>(c.restart);
        layout.patterns[1].rows = c.secondRows;
        SetCells(layout, c.cells);
        WriteFile(dir.File("song.xm"), BuildXm(layout));
        std::vector<std::string> args = {dir.File("song.xm"), dir.File("out.wav")};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const ProgramResult result = RunProgram(XMRENDER_EXECUTABLE, args);
        ASSERT_EQ(result.exitCode, 0) << result.standardError;
        EXPECT_EQ(CountLines(result.standardOutput), 1);
        for (const std::string& part : c.summary) {
            EXPECT_NE(result.standardOutput.find(part), std::string::npos) << part;
        }
        EXPECT_EQ(WavFrames(ReadFileBytes(dir.File("out.wav"))), c.frames);
    }
}

TEST(XmRenderTest, FailuresGiveOneLineAndNoOutput) {
    ScratchDir dir;
    WriteFile(dir.File("notes.txt"), {'h', 'e', 'l', 'l', 'o', '\n'});
    XmSongLayout layout = MakeSongLayout(2);
    layout.instruments[0].samples.assign(17, MakeSample8(16));  // more than an instrument may hold
    WriteFile(dir.File("bad.xm"), BuildXm(layout));
    const std::pair<std::string, std::string> cases[] = {
        {"absent.xm", "absent.xm"}, {"notes.txt", "not an XM module"}, {"bad.xm", "refused"}};
    for (const auto& [file, reason] : cases) {
        SCOPED_TRACE(file);
        const ProgramResult result =
            RunProgram(XMRENDER_EXECUTABLE, {dir.File(file), dir.File("out.wav")});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(CountLines(result.standardError), 1);
        EXPECT_NE(result.standardError.find(dir.File(file)), std::string::npos);
        EXPECT_NE(result.standardError.find(reason), std::string::npos);
        EXPECT_FALSE(std::ifstream(dir.File("out.wav")).good());
    }
}

TEST(XmRenderTest, HelpAndUsageErrors) {
    const ProgramResult help = RunProgram(XMRENDER_EXECUTABLE, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.standardOutput.find("xmrender IN.xm OUT.wav [--seconds S]"), std::string::npos);
    const std::vector<std::string> bad[] = {{},
                                            {"a.xm"},
                                            {"a.xm", "b.wav", "--seconds"},
                                            {"a.xm", "b.wav", "--seconds", "x"},
                                            {"a.xm", "b.wav", "--loud"}};
    for (const auto& args : bad) {
        EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, args).exitCode, 2) << args.size();
    }
}

}  // namespace
