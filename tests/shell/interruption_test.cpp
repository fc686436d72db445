// The built program stopped from outside, out of disk space, or asked for frames the show never
// reaches: exit status, one line saying where it stopped, and only complete files left.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/png_io.h"
#include "run_program.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFps = 20;

// The last line of stderr (the progress line's carriage returns count as line ends).
std::string LastLine(const std::string& text) {
    const std::string trimmed = text.substr(0, text.find_last_not_of('\n') + 1);
    return trimmed.substr(trimmed.find_last_of("\r\n") + 1);
}

// Frames first..last as complete 640x480 pictures, nothing else but audio.wav, whose header
// counts exactly the file's audio and that audio lasts exactly up to the end of frame last.
void ExpectCompleteCapture(const std::string& dir, int first, int last) {
    std::vector<std::string> expected{"audio.wav"};
    for (int frame = first; frame <= last; ++frame) {
        expected.push_back(fs::path(CaptureFramePath(dir, frame)).filename().string());
        int32_t width = 0;
        int32_t height = 0;
        std::vector<uint8_t> rgb;
        EXPECT_TRUE(ReadPngRgb(CaptureFramePath(dir, frame).c_str(), &width, &height, &rgb));
        EXPECT_EQ(width * height, 640 * 480) << frame;
    }
    EXPECT_EQ(FileNames(dir), expected);
    const std::string wav = ReadFileBytes(dir + "/audio.wav");
    ASSERT_EQ(WavDataBytes(wav), static_cast<int64_t>(wav.size()) - 44);
    EXPECT_EQ(wav.size() - 44, static_cast<size_t>(last) * 44100 / kFps * 4);
}

// The frame number after `marker` in text; -1 when the marker is not there.
int FrameAfter(const std::string& text, const std::string& marker) {
    const size_t at = text.find(marker);
    return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + marker.size());
}

TEST(InterruptionTest, EachStopSignalFinishesTheFrameInHandAndExitsNonZero) {
    const int signals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    ScratchDir work;
    std::vector<RunningProgram> runs;  // all four at once: each spends seconds starting up
    for (int signal : signals) {
        runs.push_back(StartProgram(DEMO_EXECUTABLE,
                                    {"--capture", work.File(sigabbrev_np(signal)), "--fps", "20"}));
    }
    for (size_t i = 0; i < runs.size(); ++i) {
        const std::string name = std::string("SIG") + sigabbrev_np(signals[i]);
        SCOPED_TRACE(name);
        const std::string dir = work.File(sigabbrev_np(signals[i]));
        EXPECT_TRUE(WaitForFile(CaptureFramePath(dir, 3), 120.0));
        kill(runs[i].pid, signals[i]);
        const ProgramResult result = WaitProgram(runs[i], 60.0);
        EXPECT_EQ(result.exitCode, 128 + signals[i]) << result.standardError;
        const std::string line = LastLine(result.standardError);
        const int last = FrameAfter(line, "stopped by " + name + " after frame ");
        EXPECT_GE(last, 3) << line;
        ExpectCompleteCapture(dir, 1, last);
    }
}

// A FIFO where the switch file is looked for would block an ordinary open; it must count as no
// file, and the normal show (which ends, unlike the hidden part) then ends before frame 500.
TEST(InterruptionTest, FramesPastTheShowsEndAreOneLineAndStatusOne) {
    ScratchDir work;
    ASSERT_EQ(mkfifo(work.File("magicman.txt").c_str(), 0644), 0);
    RunningProgram run = StartProgram(
        DEMO_EXECUTABLE, {"--capture", work.File("late"), "--fps", "1", "--frames", "500:501"},
        work.path);
    const ProgramResult result = WaitProgram(run, 300.0);
    EXPECT_EQ(result.signal, 0) << "hung on the FIFO";
    EXPECT_EQ(result.exitCode, 1);
    const std::string line = LastLine(result.standardError);
    EXPECT_GT(FrameAfter(line, "demo: the show ended at frame "), 100) << line;
    EXPECT_NE(line.find("before frame 500"), std::string::npos) << line;
    EXPECT_TRUE(fs::is_empty(work.File("late")));
}

// A full disk: a small tmpfs where one can be mounted, or else a frame whose temporary file is
// /dev/full. Either way the capture stops with status 1 and its audio ends with the last frame.
TEST(InterruptionTest, AFullDiskEndsPicturesAndAudioTogether) {
    ScratchDir work;
    const std::string dir = work.File("full");
    fs::create_directory(dir);
    const bool mounted =
        std::system(("mount -t tmpfs -o size=300k tmpfs '" + dir + "' 2>/dev/null").c_str()) == 0;
    if (!mounted) {
        fs::create_symlink("/dev/full", CaptureFramePath(dir, 6) + ".part");
    }
    RunningProgram run = StartProgram(
        DEMO_EXECUTABLE, {"--capture", dir, "--fps", "20", "--frames", "1:200"}, work.path);
    const ProgramResult result = WaitProgram(run, 300.0);
    EXPECT_EQ(result.exitCode, 1) << result.standardError;
    const std::string line = LastLine(result.standardError);
    const int last = FrameAfter(line, "the capture ends at frame ");
    EXPECT_EQ(line.find("demo: cannot write '" + dir), 0u) << line;
    EXPECT_TRUE(mounted ? last >= 1 && last < 200 : last == 5) << line;
    ExpectCompleteCapture(dir, 1, last);
    if (mounted) {
        EXPECT_EQ(std::system(("umount '" + dir + "'").c_str()), 0);
    }
}

}  // namespace
