// --keys end to end: a capture driven by a key script pauses, steps, seeks and jumps between
// scenes exactly as the keys say, frame by frame in pictures and sound, the overlay never enters
// it, and a bad script stops the run before anything is written.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "run_program.h"

namespace {

constexpr int kFps = 20;
constexpr size_t kFrameBytes = 44100 / kFps * 4;  // 16-bit stereo
constexpr size_t kWavHeader = 44;
constexpr int kRingsFirst = 502;  // the rings' first frame at 20 fps (show_capture_test.cpp)

ProgramResult CaptureWithKeys(const std::string& dir, int lastFrame, const std::string& keys,
                              const std::string& keysFile) {
    std::ofstream(keysFile) << keys;
    return RunProgram(DEMO_EXECUTABLE, {"--capture", dir, "--fps", std::to_string(kFps), "--frames",
                                        "1:" + std::to_string(lastFrame), "--keys", keysFile});
}

std::string FrameSound(const std::string& wav, int frame) {
    const size_t at = kWavHeader + static_cast<size_t>(frame - 1) * kFrameBytes;
    return at + kFrameBytes <= wav.size() ? wav.substr(at, kFrameBytes) : std::string();
}

// The show frame each output frame holds (0: the picture before, repeated in silence) for the
// script below, worked out by hand from the rules of the keys.
std::vector<std::pair<int, int>> ExpectedFrames() {
    std::vector<std::pair<int, int>> frames;  // output frame, show frame (negative: silent)
    auto span = [&frames](int firstOutput, int lastOutput, int firstShow, bool heard) {
        for (int n = firstOutput; n <= lastOutput; ++n) {
            const int show = heard ? firstShow + (n - firstOutput) : firstShow;
            frames.emplace_back(n, heard ? show : -show);
        }
    };
    span(1, 150, 1, true);
    span(151, 160, 51, true);           // 150 Left: 150 + 1 - 5 s x 20
    span(161, 165, 60, false);          // 160 Space: frame 60 held, in silence
    span(166, 170, 59, false);          // 165 Comma: one frame back, still paused
    span(171, 172, 60, false);          // 170 Period: one frame forward
    span(173, 200, 61, true);           // 172 Space: on from frame 61
    span(201, 230, 189, true);          // 200 Right: 88 + 1 + 100
    span(231, 240, 1, true);            // 230 Home
    span(241, 260, kRingsFirst, true);  // 240 PageDown: the rings' first frame; 250 Tab: nothing
    span(261, 262, kRingsFirst, true);  // 260 PageUp: the start of this visit
    span(263, 270, 1, true);            // 262 PageUp, soon after: the visit before
    span(271, 300, 8, false);           // 270 Space, never lifted: the run still ends at 300
    return frames;
}

constexpr const char* kScript =
    "# a comment, then keys\n"
    "150 Left\n"
    "160 Space\r\n"
    "165 Comma\n"
    "\n"
    "170 Period\n"
    "172 Space\n"
    "200 Right\n"
    "230 Home\n"
    "240 PageDown\n"
    "250 Tab\n"
    "260 PageUp\n"
    "262 PageUp\n"
    "270 Space\n";

TEST(ScriptedKeysTest, PausesStepsSeeksAndSceneJumpsLandOnTheStraightRunsFramesAndSound) {
    ScratchDir work;
    const std::string straight = work.File("straight");
    const std::string keyed = work.File("keyed");
    const ProgramResult reference = RunCapture(straight, kFps, 1, kRingsFirst + 20, work.path);
    ASSERT_EQ(reference.exitCode, 0) << reference.standardError;
    const ProgramResult result = CaptureWithKeys(keyed, 300, kScript, work.File("keys.txt"));
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_NE(result.standardError.find("wrote frames 1 to 300"), std::string::npos)
        << result.standardError;

    const std::string straightWav = ReadFileBytes(straight + "/audio.wav");
    const std::string keyedWav = ReadFileBytes(keyed + "/audio.wav");
    EXPECT_EQ(keyedWav.size(), kWavHeader + 300 * kFrameBytes);
    const std::string silence(kFrameBytes, '\0');
    for (const auto& [output, expected] : ExpectedFrames()) {
        const int show = expected < 0 ? -expected : expected;
        ASSERT_EQ(ReadFileBytes(CaptureFramePath(keyed, output)),
                  ReadFileBytes(CaptureFramePath(straight, show)))
            << "output frame " << output << " should show frame " << show;
        ASSERT_EQ(FrameSound(keyedWav, output),
                  expected < 0 ? silence : FrameSound(straightWav, show))
            << "the sound of output frame " << output;
    }
    EXPECT_TRUE(ReadFileBytes(CaptureFramePath(keyed, 301)).empty());
}

TEST(ScriptedKeysTest, TheOverlayNeverEntersACapture) {
    ScratchDir work;
    const std::string plain = work.File("plain");
    const std::string keyed = work.File("keyed");
    ASSERT_EQ(RunCapture(plain, kFps, 1, 12, work.path).exitCode, 0);
    const ProgramResult result =
        CaptureWithKeys(keyed, 12, "0 Tab\n5 Tab\n6 Tab\n", work.File("keys.txt"));
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(FileNames(keyed), FileNames(plain));
    for (const std::string& name : FileNames(plain)) {
        EXPECT_TRUE(ReadFileBytes(keyed + "/" + name) == ReadFileBytes(plain + "/" + name)) << name;
    }
}

TEST(ScriptedKeysTest, ABadScriptIsOneLineAndStatusTwoBeforeAnythingIsWritten) {
    ScratchDir work;
    const std::pair<const char*, const char*> scripts[] = {
        {"10 Space\n12 Jump\n", "line 2: unknown key 'Jump'"},
        {"10 Space\nten Space\n", "line 2: expected FRAME KEY"},
        {"10\n", "line 1: expected FRAME KEY"},
        {"10 Space Space\n", "line 1: expected FRAME KEY"},
        {"20 Space\n\n10 Space\n", "line 3: frame 10 comes before frame 20"},
        {"-5 Space\n", "line 1: expected FRAME KEY"},
        {"5 space\n", "line 1: unknown key 'space'"},
    };
    for (const auto& [script, reason] : scripts) {
        SCOPED_TRACE(script);
        const std::string dir = work.File("never");
        const ProgramResult result = CaptureWithKeys(dir, 10, script, work.File("bad.txt"));
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'), 1)
            << result.standardError;
        EXPECT_NE(result.standardError.find(reason), std::string::npos) << result.standardError;
        EXPECT_NE(result.standardError.find("bad.txt"), std::string::npos) << result.standardError;
        EXPECT_TRUE(FileNames(work.path) == std::vector<std::string>{"bad.txt"})
            << "something was written";
    }
    const ProgramResult missing = RunProgram(
        DEMO_EXECUTABLE,
        {"--capture", work.File("never"), "--fps", "20", "--keys", work.File("none.txt")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_NE(missing.standardError.find("cannot read the --keys file"), std::string::npos);
    EXPECT_TRUE(FileNames(work.path) == std::vector<std::string>{"bad.txt"});
}

}  // namespace
