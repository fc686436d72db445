// Command-line parsing.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "shell/command_line.h"

namespace {

struct Parsed {
    bool ok = false;
    DemoOptions options;
    std::string error;
};

Parsed Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "demo");
    Parsed parsed;
    parsed.ok = ParseCommandLine(static_cast<int>(args.size()), args.data(), &parsed.options,
                                 &parsed.error);
    return parsed;
}

TEST(CommandLineTest, ModesAndTheWindowOption) {
    const std::pair<std::vector<const char*>, RunMode> cases[] = {
        {{}, RunMode::Show},     {{"--window"}, RunMode::Show}, {{"--help"}, RunMode::Help},
        {{"-h"}, RunMode::Help}, {{"--bench"}, RunMode::Bench}, {{"--version"}, RunMode::Version}};
    for (const auto& [args, mode] : cases) {
        const Parsed parsed = Parse(args);
        EXPECT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.options.mode, mode) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(parsed.options.windowed, !args.empty() && args[0] == std::string("--window"));
    }
}

TEST(CommandLineTest, CaptureTakesAFolderAFrameRateAndAFrameRange) {
    Parsed parsed = Parse({"--capture", "/tmp/out", "--fps", "20"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.mode, RunMode::Capture);
    EXPECT_EQ(parsed.options.captureDir, "/tmp/out");
    EXPECT_EQ(parsed.options.fps, 20);
    EXPECT_EQ(parsed.options.firstFrame, 1);
    EXPECT_EQ(parsed.options.lastFrame, 0);

    parsed = Parse({"--fps", "60", "--frames", "3:4", "--capture", "d"});
    ASSERT_TRUE(parsed.ok) << parsed.error;
    EXPECT_EQ(parsed.options.firstFrame, 3);
    EXPECT_EQ(parsed.options.lastFrame, 4);
    EXPECT_EQ(parsed.options.fps, 60);
}

TEST(CommandLineTest, BadCommandLinesAreRefusedWithAReason) {
    const std::vector<std::vector<const char*>> bad = {
        {"--fullscreen"},
        {"extra"},
        {"--capture"},
        {"--capture", "d"},  // no --fps
        {"--capture", "d", "--fps"},
        {"--capture", "d", "--fps", "0"},
        {"--capture", "d", "--fps", "-5"},
        {"--capture", "d", "--fps", "20x"},
        {"--capture", "d", "--fps", "1001"},
        {"--capture", "d", "--fps", "99999999999999999999"},
        {"--capture", "d", "--fps", "20", "--frames", "4:3"},
        {"--capture", "d", "--fps", "20", "--frames", "0:3"},
        {"--capture", "d", "--fps", "20", "--frames", "3"},
        {"--capture", "d", "--fps", "20", "--frames", "3:"},
        {"--capture", "d", "--fps", "20", "--frames", ":3"},
        {"--fps", "20"},
        {"--frames", "1:2"},
        {"--bench", "--capture", "d", "--fps", "20"},
    };
    for (const auto& args : bad) {
        const Parsed parsed = Parse(args);
        EXPECT_FALSE(parsed.ok) << args[0];
        EXPECT_FALSE(parsed.error.empty());
        EXPECT_EQ(parsed.error.find('\n'), std::string::npos) << parsed.error;
    }
}

TEST(CommandLineTest, KeysTakeAFileWithTheShowCaptureAndExportButNotTheBenchmark) {
    for (const std::vector<const char*>& args :
         {std::vector<const char*>{"--keys", "k.txt"},
          std::vector<const char*>{"--capture", "d", "--fps", "20", "--keys", "k.txt"},
          std::vector<const char*>{"--keys", "k.txt", "--export", "a.mp4"}}) {
        const Parsed parsed = Parse(args);
        ASSERT_TRUE(parsed.ok) << parsed.error;
        EXPECT_EQ(parsed.options.keysPath, "k.txt");
    }
    EXPECT_FALSE(Parse({"--keys"}).ok);
    EXPECT_FALSE(Parse({"--keys", ""}).ok);
    const Parsed bench = Parse({"--bench", "--keys", "k.txt"});
    EXPECT_FALSE(bench.ok);
    EXPECT_NE(bench.error.find("--keys"), std::string::npos);
}

TEST(CommandLineTest, HelpNamesEveryOptionAndEveryKey) {
    const std::string usage = UsageText();
    for (const char* option :
         {"--window", "--capture",   "--fps",        "--frames", "--bench",      "--version",
          "--help",   "--keys FILE", "magicman.txt", "Space",    "Right / Left", "Page Down",
          "Page Up",  "Home",        "Tab",          "F1 or ?",  "Escape",       "Period",
          "Comma",    "PageDown",    "PageUp"}) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
}

}  // namespace
