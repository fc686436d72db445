// xmrender: its WAV holds exactly the stream of the demo's output ring, it stops at the song's
// end or the time limit, and it fails cleanly with one line and no file.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "music/player.h"
#include "music/song.h"
#include "platform/wave_out.h"
#include "run_program.h"
#include "xm_builder.h"

namespace {

uint32_t Read32(const std::string& bytes, size_t at) {
    return static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
           static_cast<uint8_t>(bytes[at + 2]) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
}

uint16_t Read16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 static_cast<uint8_t>(bytes[at + 1]) << 8);
}

// Checks the 44-byte header of a 44100 Hz 16-bit stereo PCM WAV and returns its frame count.
int64_t WavFrames(const std::string& bytes) {
    EXPECT_GE(bytes.size(), 44u);
    if (bytes.size() < 44) {
        return -1;
    }
    EXPECT_EQ(bytes.substr(0, 4), "RIFF");
    EXPECT_EQ(Read32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(bytes.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(Read32(bytes, 16), 16u);
    EXPECT_EQ(Read16(bytes, 20), 1);  // PCM
    EXPECT_EQ(Read16(bytes, 22), 2);
    EXPECT_EQ(Read32(bytes, 24), 44100u);
    EXPECT_EQ(Read32(bytes, 28), 44100u * 4);
    EXPECT_EQ(Read16(bytes, 32), 4);
    EXPECT_EQ(Read16(bytes, 34), 16);
    EXPECT_EQ(bytes.substr(36, 4), "data");
    EXPECT_EQ(Read32(bytes, 40), bytes.size() - 44);
    EXPECT_EQ((bytes.size() - 44) % 4, 0u);
    return static_cast<int64_t>(bytes.size() - 44) / 4;
}

bool FileExists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) {
        std::fclose(file);
    }
    return file != nullptr;
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

int CountLines(const std::string& text) {
    int lines = 0;
    for (char c : text) {
        lines += c == '\n';
    }
    return lines;
}

// A silent song of `patterns` 64-row patterns played in order.
XmSongLayout SilentSong(int patterns) {
    XmSongLayout layout;
    layout.channelCount = 2;
    layout.songLength = static_cast<uint16_t>(patterns);
    for (int i = 0; i < patterns; ++i) {
        layout.orders[i] = static_cast<uint8_t>(i);
        layout.patterns.push_back(XmPatternLayout{});
    }
    return layout;
}

constexpr int64_t kRowFrames = 6 * 882;  // tempo 6 at 125 BPM

TEST(XmRenderTest, HelpDescribesTheCommand) {
    const ProgramResult result = RunProgram(XMRENDER_EXECUTABLE, {"--help"});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_NE(result.standardOutput.find("xmrender IN.xm OUT.wav [--seconds S]"),
              std::string::npos);
}

TEST(XmRenderTest, StopsWhereTheSongWrapsToItsRestartPosition) {
    ScratchDir dir;
    XmSongLayout layout = SilentSong(3);
    layout.restartPosition = 1;
    layout.patterns[1].rows = 16;
    WriteFile(dir.File("song.xm"), BuildXm(layout));
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {dir.File("song.xm"), dir.File("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(CountLines(result.standardOutput), 1);
    EXPECT_NE(result.standardOutput.find("2 channels"), std::string::npos);
    EXPECT_NE(result.standardOutput.find("3 patterns"), std::string::npos);
    EXPECT_NE(result.standardOutput.find("song end"), std::string::npos);
    EXPECT_EQ(WavFrames(ReadFileBytes(dir.File("out.wav"))), (64 + 16 + 64) * kRowFrames);
}

TEST(XmRenderTest, BackwardPositionJumpEndsTheSong) {
    ScratchDir dir;
    XmSongLayout layout = SilentSong(3);
    // Row 3 of the second pattern jumps back to order 0 (effect B00).
    layout.patterns[1].cells.assign(64 * 2, Cell{});
    layout.patterns[1].cells[3 * 2 + 1] = Cell{0, 0, 0, 0x0B, 0x00};
    WriteFile(dir.File("song.xm"), BuildXm(layout));
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {dir.File("song.xm"), dir.File("out.wav")});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_EQ(WavFrames(ReadFileBytes(dir.File("out.wav"))), (64 + 4) * kRowFrames);
}

TEST(XmRenderTest, SecondsLimitTheRender) {
    ScratchDir dir;
    WriteFile(dir.File("song.xm"), BuildXm(SilentSong(2)));
    const ProgramResult result = RunProgram(
        XMRENDER_EXECUTABLE, {dir.File("song.xm"), dir.File("out.wav"), "--seconds", "1.5"});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    EXPECT_NE(result.standardOutput.find("1.500 s"), std::string::npos);
    EXPECT_NE(result.standardOutput.find("time limit"), std::string::npos);
    EXPECT_EQ(WavFrames(ReadFileBytes(dir.File("out.wav"))), 66150);
}

TEST(XmRenderTest, WritesExactlyWhatTheOutputRingReceives) {
    ScratchDir dir;
    const std::string song = std::string(XM_CORPUS_DIR) + "/songs/milkytracker/theday.xm";
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {song, dir.File("out.wav"), "--seconds", "3"});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    const std::string wav = ReadFileBytes(dir.File("out.wav"));
    ASSERT_EQ(WavFrames(wav), 3 * 44100);

    // The same song through this process's player, block after block from the ring.
    const std::string image = ReadFileBytes(song);
    audioUnavailable = false;
    WaveOutUseOffline(true);
    renderOnCallingThread = true;
    AudioOpen();
    Song* played = SongFromMemory(reinterpret_cast<const uint8_t*>(image.data()),
                                  static_cast<int32_t>(image.size()));
    ASSERT_NE(played, nullptr);
    PlayerStart(played);
    std::vector<int16_t> pcm(2 * 3 * 44100);
    OfflinePull(pcm.data(), 3 * 44100);
    PlayerStop(played);
    SongFree(played);
    AudioClose();
    renderOnCallingThread = false;
    WaveOutUseOffline(false);

    int64_t differing = 0;
    int64_t loud = 0;
    for (size_t i = 0; i < pcm.size(); ++i) {
        const auto value = static_cast<int16_t>(Read16(wav, 44 + 2 * i));
        differing += value != pcm[i];
        loud += value > 2000 || value < -2000;
    }
    EXPECT_EQ(differing, 0);
    EXPECT_GT(loud, 10000);
}

TEST(XmRenderTest, MissingFileFailsWithOneLineAndNoOutput) {
    ScratchDir dir;
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {dir.File("absent.xm"), dir.File("out.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(CountLines(result.standardError), 1);
    EXPECT_NE(result.standardError.find(dir.File("absent.xm")), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("out.wav")));
}

TEST(XmRenderTest, FileThatIsNotXmFailsWithOneLineAndNoOutput) {
    ScratchDir dir;
    WriteFile(dir.File("notes.txt"), {'h', 'e', 'l', 'l', 'o', '\n'});
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {dir.File("notes.txt"), dir.File("out.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(CountLines(result.standardError), 1);
    EXPECT_NE(result.standardError.find("notes.txt"), std::string::npos);
    EXPECT_NE(result.standardError.find("not an XM module"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("out.wav")));
}

TEST(XmRenderTest, RefusedModuleFailsWithOneLineAndNoOutput) {
    ScratchDir dir;
    XmSongLayout layout = SilentSong(1);
    XmInstrumentLayout instrument;
    instrument.samples.push_back(MakeSample8(16));
    instrument.sampleCountOverride = 17;  // more than an instrument may hold
    layout.instruments.push_back(instrument);
    WriteFile(dir.File("bad.xm"), BuildXm(layout));
    const ProgramResult result =
        RunProgram(XMRENDER_EXECUTABLE, {dir.File("bad.xm"), dir.File("out.wav")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(CountLines(result.standardError), 1);
    EXPECT_NE(result.standardError.find("bad.xm"), std::string::npos);
    EXPECT_NE(result.standardError.find("refused"), std::string::npos);
    EXPECT_FALSE(FileExists(dir.File("out.wav")));
}

TEST(XmRenderTest, BadArgumentsAreUsageErrors) {
    EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, {}).exitCode, 2);
    EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, {"a.xm"}).exitCode, 2);
    EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, {"a.xm", "b.wav", "--seconds"}).exitCode, 2);
    EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, {"a.xm", "b.wav", "--seconds", "x"}).exitCode, 2);
    EXPECT_EQ(RunProgram(XMRENDER_EXECUTABLE, {"a.xm", "b.wav", "--loud"}).exitCode, 2);
}

}  // namespace
