// The built program end to end: capture mode's files and the command line's failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gl_test.h"
#include "platform/png_io.h"
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

Picture LoadFrame(const std::string& path) {
    Picture picture;
    EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb)) << path;
    return picture;
}

double Share(const Picture& picture, Rgb color) {
    return static_cast<double>(CountPixels(picture, color)) /
           (static_cast<double>(picture.width) * picture.height);
}

int CountLines(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST(CaptureTest, WritesTheRequestedFramesAsPictures) {
    ScratchDir work;
    const std::string out = work.File("frames");
    const ProgramResult result = RunCapture(out, 20, 1, 3, work.path);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(PngFiles(out), (std::vector<std::string>{"frame_000001.png", "frame_000002.png",
                                                       "frame_000003.png"}));
    const Picture first = LoadFrame(CaptureFramePath(out, 1));
    EXPECT_EQ(first.width, 640);
    EXPECT_EQ(first.height, 480);
    // The normal show is drawn on white.
    EXPECT_GT(Share(first, Rgb{255, 255, 255}), 0.5);
    EXPECT_NE(result.standardError.find("frame 3"), std::string::npos) << result.standardError;
}

TEST(CaptureTest, SameOptionsGiveTheSameBytes) {
    ScratchDir work;
    const std::string a = work.File("a");
    const std::string b = work.File("b");
    ASSERT_EQ(RunCapture(a, 20, 1, 2, work.path).exitCode, 0);
    ASSERT_EQ(RunCapture(b, 20, 1, 2, work.path).exitCode, 0);
    for (int frame : {1, 2}) {
        const std::string first = ReadFileBytes(CaptureFramePath(a, frame));
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first, ReadFileBytes(CaptureFramePath(b, frame))) << frame;
    }
    if (fs::exists(a + "/audio.wav")) {
        EXPECT_EQ(ReadFileBytes(a + "/audio.wav"), ReadFileBytes(b + "/audio.wav"));
    }
}

TEST(CaptureTest, FrameRangeWritesOnlyThoseFramesAndStops) {
    ScratchDir work;
    const std::string out = work.File("range");
    const ProgramResult result = RunCapture(out, 20, 3, 4, work.path);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(PngFiles(out), (std::vector<std::string>{"frame_000003.png", "frame_000004.png"}));
}

TEST(CaptureTest, HiddenPartFileSwitchesToTheBlackGame) {
    ScratchDir work;
    std::ofstream(work.File("magicman.txt")) << "// switch\n381\n\n947\n";
    const std::string out = work.File("hidden");
    const ProgramResult result = RunCapture(out, 20, 1, 1, work.path);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    // The notice cannot be shown offscreen, so it goes to stderr.
    EXPECT_NE(result.standardError.find("Hidden part"), std::string::npos);
    const Picture first = LoadFrame(CaptureFramePath(out, 1));
    EXPECT_GT(Share(first, Rgb{0, 0, 0}), 0.5);
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
