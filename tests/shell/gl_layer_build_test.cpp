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

// Pixels whose colour differs between two RGB pictures of one size.
int64_t DifferingPixels(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int64_t differing = 0;
    for (size_t i = 0; i + 2 < a.size() && i + 2 < b.size(); i += 3) {
        differing += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
    }
    return differing;
}

class GlLayerBuild : public testing::Test {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DEMO_GL_LAYER_BUILD");
        if (dir == nullptr || *dir == '\0') {
            GTEST_SKIP() << "DEMO_GL_LAYER_BUILD is not set (scripts/test.sh runs these)";
        }
        layerBuild = dir;
        layerDemo = layerBuild + "/demo";
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
            const int64_t differing = DifferingPixels(a, b);
            if (differing > 0 && ++differingFrames <= 10) {
                ADD_FAILURE() << "frame " << frame << ": " << differing << " pixels differ";
            }
        }
        EXPECT_EQ(differingFrames, 0);
        EXPECT_EQ(ReadFileBytes(out.File("reference/audio.wav")),
                  ReadFileBytes(out.File("layer/audio.wav")));
    }

    std::string layerBuild;
    std::string layerDemo;
};

TEST_F(GlLayerBuild, DrawsTheShowAsTheSystemsGlDoes) {
    ScratchDir out;
    CaptureBoth(out, kShowFrames, "");
    ExpectSameFrames(out, kShowFrames);
}

// The calls the show does not make as it runs (tests/gl_layer/cases): the same pictures too.
TEST_F(GlLayerBuild, DrawsTheCasesBeyondTheShowAsTheSystemsGlDoes) {
    ScratchDir out;
    ASSERT_EQ(RunProgram("mkdir", {out.File("reference"), out.File("layer")}).exitCode, 0);
    const ProgramResult reference = RunProgram(GL_CASES_EXECUTABLE, {out.File("reference")});
    ASSERT_EQ(reference.exitCode, 0) << reference.standardError;
    const ProgramResult layer = RunProgram(layerBuild + "/gl_cases", {out.File("layer")});
    ASSERT_EQ(layer.exitCode, 0) << layer.standardError;
    const std::vector<std::string> cases = FileNames(out.File("reference"));
    ASSERT_FALSE(cases.empty());
    EXPECT_EQ(FileNames(out.File("layer")), cases);
    for (const std::string& name : cases) {
        int32_t w1 = 0, h1 = 0, w2 = 0, h2 = 0;
        std::vector<uint8_t> a, b;
        ASSERT_TRUE(ReadPngRgb(out.File("reference/" + name).c_str(), &w1, &h1, &a));
        ASSERT_TRUE(ReadPngRgb(out.File("layer/" + name).c_str(), &w2, &h2, &b)) << name;
        EXPECT_EQ(DifferingPixels(a, b), 0) << name;
    }
}

TEST_F(GlLayerBuild, DrawsTheHiddenGameAsTheSystemsGlDoes) {
    ScratchDir out;
    ScratchDir game;
    std::ofstream(game.File("magicman.txt")) << "381\n947\n";
    CaptureBoth(out, kGameFrames, game.path);
    ExpectSameFrames(out, kGameFrames);
}

}  // namespace
