// The show drawn through our own GL layer (a build with DEMO_GL_LAYER, on Mesa's OpenGL ES 3)
// against this build's fixed-function GL on the same Mesa: every fourth frame of the show (every
// scene on every kind of visit: the shortest last five frames) and of the hidden game's start
// must be the same to the byte. Runs when DEMO_GL_LAYER_BUILD names the layer
// build's folder (scripts/test.sh sets it); skipped otherwise.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/png_io.h"
#include "run_program.h"

namespace {

constexpr int kFps = 20;
constexpr int kShowFrames = 2642;  // the whole show at 20 frames per second
constexpr int kGameFrames = 200;
constexpr int kFrameStride = 4;
constexpr double kCaptureSeconds = 600.0;

class GlLayerBuild : public testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DEMO_GL_LAYER_BUILD");
        if (dir == nullptr || *dir == '\0') {
            GTEST_SKIP() << "DEMO_GL_LAYER_BUILD is not set (scripts/test.sh runs these)";
        }
        layerDemo = std::string(dir) + "/demo";
    }

    // Captures frames 1..last with this build's demo and the layer's at the same time, in
    // workingDir (where a switch file may wait), into reference/ and layer/ of out.
    void CaptureBoth(const ScratchDir& out, int last, const std::string& workingDir) {
        const std::vector<std::string> options{"--fps", std::to_string(kFps), "--frames",
                                               "1:" + std::to_string(last)};
        std::vector<std::string> referenceArgs{"--capture", out.File("reference")};
        std::vector<std::string> layerArgs{"--capture", out.File("layer")};
        referenceArgs.insert(referenceArgs.end(), options.begin(), options.end());
        layerArgs.insert(layerArgs.end(), options.begin(), options.end());
        RunningProgram reference = StartProgram(DEMO_EXECUTABLE, referenceArgs, workingDir);
        RunningProgram layer = StartProgram(layerDemo, layerArgs, workingDir);
        const ProgramResult referenceResult = WaitProgram(reference, kCaptureSeconds);
        const ProgramResult layerResult = WaitProgram(layer, kCaptureSeconds);
        ASSERT_EQ(referenceResult.exitCode, 0) << referenceResult.standardError;
        ASSERT_EQ(layerResult.exitCode, 0) << layerResult.standardError;
    }

    // Compares every kFrameStride-th frame up to last, and the last, pixel by pixel; reports each
    // differing frame with its count.
    void ExpectSameFrames(const ScratchDir& out, int last) {
        int differingFrames = 0;
        for (int frame = 1; frame <= last;
             frame = frame < last && frame + kFrameStride > last ? last : frame + kFrameStride) {
            int32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
            std::vector<uint8_t> a, b;
            ASSERT_TRUE(
                ReadPngRgb(CaptureFramePath(out.File("reference"), frame).c_str(), &w1, &h1, &a));
            ASSERT_TRUE(
                ReadPngRgb(CaptureFramePath(out.File("layer"), frame).c_str(), &w2, &h2, &b))
                << "the layer build wrote no frame " << frame;
            ASSERT_EQ(w1, w2);
            ASSERT_EQ(h1, h2);
            int64_t differing = 0;
            for (size_t i = 0; i < a.size(); i += 3) {
                differing += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
            }
            if (differing > 0 && ++differingFrames <= 10) {
                ADD_FAILURE() << "frame " << frame << ": " << differing << " pixels differ";
            }
        }
        EXPECT_EQ(differingFrames, 0);
        EXPECT_EQ(ReadFileBytes(out.File("reference/audio.wav")),
                  ReadFileBytes(out.File("layer/audio.wav")));
    }

    std::string layerDemo;
};

TEST_F(GlLayerBuild, DrawsTheShowAsTheSystemsGlDoes) {
    ScratchDir out;
    CaptureBoth(out, kShowFrames, "");
    ExpectSameFrames(out, kShowFrames);
}

TEST_F(GlLayerBuild, DrawsTheHiddenGameAsTheSystemsGlDoes) {
    ScratchDir out;
    ScratchDir game;
    std::ofstream(game.File("magicman.txt")) << "381\n947\n";
    CaptureBoth(out, kGameFrames, game.path);
    ExpectSameFrames(out, kGameFrames);
}

}  // namespace
