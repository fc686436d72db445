// The built program end to end: capture mode's files and the command line's failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "gl_test.h"
#include "run_program.h"

namespace {

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CaptureTest, WritesOnlyTheRequestedFramesAndTheSameOptionsGiveTheSameBytes) {
    ScratchDir work;
    const std::string a = work.File("a");
    const std::string b = work.File("b");
    const ProgramResult result = RunCapture(a, 20, 2, 3, work.path);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_NE(result.standardError.find("frame 3"), std::string::npos) << result.standardError;
    EXPECT_EQ(FileNames(a),
              (std::vector<std::string>{"audio.wav", "frame_000002.png", "frame_000003.png"}));
    const Picture second = LoadPicture(CaptureFramePath(a, 2));
    EXPECT_EQ(second.width, 640);
    EXPECT_EQ(second.height, 480);
    // The normal show is drawn on white.
    EXPECT_GT(CountPixels(second, Rgb{255, 255, 255}), 640 * 480 / 2);
    ASSERT_EQ(RunCapture(b, 20, 2, 3, work.path).exitCode, 0);
    for (int frame : {2, 3}) {
        EXPECT_EQ(ReadFileBytes(CaptureFramePath(a, frame)),
                  ReadFileBytes(CaptureFramePath(b, frame)))
            << frame;
    }
    EXPECT_EQ(ReadFileBytes(a + "/audio.wav"), ReadFileBytes(b + "/audio.wav"));
}

// The parser's refusals are tested on their own; here the built program turns one into status
// 2 and one line on stderr, and refuses a capture folder it cannot create.
TEST(CommandLineFailureTest, BadOptionsAndAnUncreatableFolderExitWithStatusTwoAndOneLine) {
    ScratchDir work;
    std::ofstream(work.File("plain-file")) << "not a folder";
    const std::string blocked = work.File("plain-file") + "/frames";
    const ProgramResult bogus = RunProgram(DEMO_EXECUTABLE, {"--bogus"}, work.path);
    const ProgramResult uncreatable = RunCapture(blocked, 20, 1, 1, work.path);
    for (const ProgramResult& result : {bogus, uncreatable}) {
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
        EXPECT_TRUE(result.standardOutput.empty());
    }
    EXPECT_NE(uncreatable.standardError.find(blocked), std::string::npos);
}

TEST(CommandLineFailureTest, NoDisplayIsOneClearLineAndStatusOne) {
    ScratchDir work;
    const ProgramResult result =
        RunProgram(DEMO_EXECUTABLE, {}, work.path, {"SDL_VIDEODRIVER=dummy", "DISPLAY="});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.standardError.find("no display"), std::string::npos) << result.standardError;
    EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
}

TEST(CommandLineFailureTest, HelpAndVersionPrintAndExitZero) {
    const ProgramResult help = RunProgram(DEMO_EXECUTABLE, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.standardOutput.find("--capture DIR"), std::string::npos);
    const ProgramResult version = RunProgram(DEMO_EXECUTABLE, {"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.standardOutput.rfind("demo ", 0), 0u);
}

}  // namespace
