// xmrender stopped in the middle of a long render: killed outright, the WAV it leaves still says
// how much audio it holds, up to the last second or so; asked to stop, it removes its output.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "run_program.h"
#include "xm_builder.h"

namespace {

// Starts xmrender on hours of song and waits until its output passes 3 MB.
RunningProgram StartLongRender(const ScratchDir& dir, const std::string& wav) {
    // The slowest tempo and 256 orders: hours of song, so the render is cut off by the signal.
    XmSongLayout layout = MakeSongLayout(1);
    layout.defaultTempo = 31;
    layout.defaultBpm = 32;
    layout.songLength = 256;
    SetCells(layout, "0 0 49 1 0 0 0");
    const std::vector<uint8_t> image = BuildXm(layout);
    std::ofstream(dir.File("long.xm"), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    RunningProgram run = StartProgram(XMRENDER_EXECUTABLE, {dir.File("long.xm"), wav});
    EXPECT_TRUE(WaitForFile(wav, 30.0));  // no ASSERT before the kill: it would leave it running
    std::error_code error;                // a missing file reads as huge, which ends the wait
    for (int wait = 0; wait < 30000 && std::filesystem::file_size(wav, error) < (3u << 20);
         ++wait) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return run;
}

TEST(XmRenderKillTest, AStopRequestRemovesTheOutputAndSaysWhereItStopped) {
    ScratchDir dir;
    const std::string wav = dir.File("long.wav");
    RunningProgram run = StartLongRender(dir, wav);
    kill(run.pid, SIGTERM);
    const ProgramResult result = WaitProgram(run, 30.0);
    EXPECT_EQ(result.exitCode, 143) << result.standardError;
    EXPECT_NE(result.standardError.find("stopped by SIGTERM after "), std::string::npos)
        << result.standardError;
    EXPECT_FALSE(std::filesystem::exists(wav));
}

TEST(XmRenderKillTest, AKilledRenderLeavesAWavWhoseHeaderCountsItsAudio) {
    ScratchDir dir;
    const std::string wav = dir.File("long.wav");
    RunningProgram run = StartLongRender(dir, wav);
    kill(run.pid, SIGKILL);
    ASSERT_EQ(WaitProgram(run, 30.0).signal, SIGKILL) << "it ended before the kill";
    const std::string bytes = ReadFileBytes(wav);
    ASSERT_GE(bytes.size(), 3u << 20);
    const int64_t counted = WavDataBytes(bytes);
    EXPECT_EQ(counted % 4, 0);
    EXPECT_LE(counted, static_cast<int64_t>(bytes.size()) - 44);
    // An update follows every second of audio; one render block may come on top.
    EXPECT_GT(counted + (44100 + 1000) * 4, static_cast<int64_t>(bytes.size()) - 44);
}

}  // namespace
