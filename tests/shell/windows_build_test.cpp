// The Windows build under Wine beside this build: the same frames, the same music, the same
// refusals. Runs when DEMO_WINDOWS_BUILD names the cross build's folder (scripts/test.sh's
// Windows pass sets it, under a virtual X display); skipped otherwise.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/png_io.h"
#include "run_program.h"

namespace {

constexpr int kFps = 20;
constexpr double kMostDifferingPixels = 0.001;  // C runtimes' sin/pow may round differently

class WindowsBuild : public testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DEMO_WINDOWS_BUILD");
        if (dir == nullptr || *dir == '\0') {
            GTEST_SKIP() << "DEMO_WINDOWS_BUILD is not set (scripts/test.sh runs these)";
        }
        build = dir;
        const char* wine = std::getenv("DEMO_WINE");
        wineLoader = wine != nullptr && *wine != '\0' ? wine : "wine64";
    }
    ProgramResult Run(const char* program, const std::vector<std::string>& args,
                      const std::string& workingDir = "") {
        std::vector<std::string> all{build + "/" + program};
        all.insert(all.end(), args.begin(), args.end());
        return RunProgram(wineLoader, all, workingDir, {"WINEDEBUG=-all", "LC_ALL=C.UTF-8"});
    }
    ProgramResult Capture(const std::string& dir, int first, int last,
                          const std::string& workingDir = "") {
        return Run("demo.exe",
                   {"--capture", dir, "--fps", std::to_string(kFps), "--frames",
                    std::to_string(first) + ":" + std::to_string(last)},
                   workingDir);
    }
    std::string build;
    std::string wineLoader;
};

// Wine's WGL reaches the host's GL through the X display; where it cannot make a context the
// capture comparisons cannot run, which is said rather than failed.
#define SKIP_WITHOUT_WINE_GL(result)                                                          \
    if ((result).exitCode == 1 && (result).standardError.find("OpenGL") != std::string::npos) \
    GTEST_SKIP() << "Wine has no OpenGL context here: " << (result).standardError

// Pixels whose colour differs between two captures of one frame.
int64_t DifferingPixels(const std::string& linuxPath, const std::string& windowsPath) {
    int32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    std::vector<uint8_t> a, b;
    if (!ReadPngRgb(linuxPath.c_str(), &w1, &h1, &a) ||
        !ReadPngRgb(windowsPath.c_str(), &w2, &h2, &b) || w1 != w2 || h1 != h2) {
        ADD_FAILURE() << "cannot compare " << linuxPath << " with " << windowsPath;
        return -1;
    }
    int64_t differing = 0;
    for (size_t i = 0; i < a.size(); i += 3) {
        differing += !std::equal(&a[i], &a[i] + 3, &b[i]);
    }
    return differing;
}

// Largest sample difference of two 16-bit WAV files with the 44-byte header; -1 when their
// lengths differ or either is missing.
int LargestSampleDifference(const std::string& first, const std::string& second) {
    const std::string a = ReadFileBytes(first), b = ReadFileBytes(second);
    if (a.size() <= 44 || a.size() != b.size()) {
        return -1;
    }
    int largest = 0;
    for (size_t i = 44; i + 1 < a.size(); i += 2) {
        const auto sample = [](const std::string& s, size_t at) {
            return static_cast<int16_t>(static_cast<uint8_t>(s[at]) |
                                        static_cast<uint8_t>(s[at + 1]) << 8);
        };
        largest = std::max(largest, std::abs(sample(a, i) - sample(b, i)));
    }
    return largest;
}

void ExpectSameFrames(const std::string& linuxDir, const std::string& windowsDir,
                      const std::vector<int>& frames) {
    for (const int frame : frames) {
        const int64_t differing =
            DifferingPixels(CaptureFramePath(linuxDir, frame), CaptureFramePath(windowsDir, frame));
        std::printf("frame %d: %lld of 307200 pixels differ\n", frame,
                    static_cast<long long>(differing));
        EXPECT_GE(differing, 0);
        EXPECT_LE(differing, static_cast<int64_t>(640 * 480 * kMostDifferingPixels)) << frame;
    }
}

TEST_F(WindowsBuild, CapturesTheShowsFramesAndMusicAsLinuxDoes) {
    struct Range {
        int first, last;
        std::vector<int> compared;
    };
    const Range ranges[] = {
        {1, 3, {1, 2, 3}}, {500, 536, {500, 501, 502, 536}}, {2640, 2642, {2640, 2641, 2642}}};
    for (const Range& range : ranges) {
        ScratchDir linuxDir, windowsDir;
        ASSERT_EQ(RunCapture(linuxDir.path, kFps, range.first, range.last).exitCode, 0);
        const ProgramResult windows = Capture(windowsDir.path, range.first, range.last);
        SKIP_WITHOUT_WINE_GL(windows);
        ASSERT_EQ(windows.exitCode, 0) << windows.standardError;
        ExpectSameFrames(linuxDir.path, windowsDir.path, range.compared);
        // Audio is rendered for every frame from the first, written or not.
        const int largest =
            LargestSampleDifference(linuxDir.File("audio.wav"), windowsDir.File("audio.wav"));
        std::printf("audio.wav of frames 1-%d: largest sample difference %d\n", range.last,
                    largest);
        EXPECT_EQ(largest, 0);
    }
}

TEST_F(WindowsBuild, XmrenderAndTheHiddenPartIntoANonAsciiFolderMatchLinux) {
    ScratchDir work;
    const std::string settings = work.File("magicman.txt");
    std::FILE* file = std::fopen(settings.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("381\r\n947\r\n", file);
    std::fclose(file);
    const std::string song = std::string(DEMO_SOURCE_DIR) + "/songs/show.xm";
    ASSERT_EQ(RunProgram(XMRENDER_EXECUTABLE, {song, work.File("linux.wav")}).exitCode, 0);
    const ProgramResult render = Run("xmrender.exe", {song, work.File("\xC3\xA9.wav")});
    ASSERT_EQ(render.exitCode, 0) << render.standardError;
    const int largest = LargestSampleDifference(work.File("linux.wav"), work.File("\xC3\xA9.wav"));
    std::printf("xmrender songs/show.xm: largest sample difference %d\n", largest);
    EXPECT_EQ(largest, 0);

    const std::string linuxDir = work.File("linux");
    const std::string windowsDir = work.File("K\xC3\xA4pt\xC3\xBCre \xE2\x82\xAC/hidden");
    ASSERT_EQ(RunCapture(linuxDir, kFps, 1, 1, work.path).exitCode, 0);
    const ProgramResult windows = Capture(windowsDir, 1, 1, work.path);
    SKIP_WITHOUT_WINE_GL(windows);
    ASSERT_EQ(windows.exitCode, 0) << windows.standardError;
    ExpectSameFrames(linuxDir, windowsDir, {1});
}

TEST_F(WindowsBuild, RefusesWhatLinuxRefusesWithTheSameExitStatus) {
    EXPECT_EQ(Run("demo.exe", {"--help"}).exitCode, 0);
    const ProgramResult unknown = Run("demo.exe", {"--bogus"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(std::count(unknown.standardError.begin(), unknown.standardError.end(), '\n'), 1)
        << unknown.standardError;
    ScratchDir dir;
    std::FILE* blocker = std::fopen(dir.File("file").c_str(), "wb");
    ASSERT_NE(blocker, nullptr);
    std::fclose(blocker);
    const ProgramResult blocked = Capture(dir.File("file/frames"), 1, 1);
    EXPECT_EQ(blocked.exitCode, 2);
    EXPECT_NE(blocked.standardError.find("cannot create the capture folder"), std::string::npos)
        << blocked.standardError;
    EXPECT_EQ(Run("demo.exe", {"--capture", dir.path}).exitCode, 2);  // no --fps
    EXPECT_EQ(Run("xmrender.exe", {dir.File("none.xm"), dir.File("out.wav")}).exitCode, 1);
}

}  // namespace
