// The built program end to end: capture mode's files and the command line's failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl_test.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> PngFiles(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() == ".png") {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

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
    EXPECT_EQ(PngFiles(a), (std::vector<std::string>{"frame_000002.png", "frame_000003.png"}));
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

TEST(CommandLineFailureTest, BadOptionsExitWithStatusTwoAndOneLine) {
    ScratchDir work;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--bogus"},
          std::vector<std::string>{"--capture", work.File("x"), "--fps", "twenty"},
          std::vector<std::string>{"--capture", work.File("x"), "--fps", "20", "--frames",
                                   "5:2"}}) {
        const ProgramResult result = RunProgram(DEMO_EXECUTABLE, args, work.path);
        EXPECT_EQ(result.exitCode, 2) << args[0];
        EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
        EXPECT_TRUE(result.standardOutput.empty());
    }
    EXPECT_FALSE(fs::exists(work.File("x")));
}

TEST(CommandLineFailureTest, UnwritableCaptureFolderExitsWithStatusTwo) {
    ScratchDir work;
    std::ofstream(work.File("plain-file")) << "not a folder";
    const std::string out = work.File("plain-file") + "/frames";
    const ProgramResult result = RunCapture(out, 20, 1, 1, work.path);
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(CountLines(result.standardError), 1) << result.standardError;
    EXPECT_NE(result.standardError.find(out), std::string::npos);
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
