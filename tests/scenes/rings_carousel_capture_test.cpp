// The tumbling rings' and tube carousel's first visits through capture mode at 20 frames per
// second, where every frame adds exactly one unit to each scene clock.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "block_pattern.h"
#include "gl_test.h"
#include "platform/png_io.h"
#include "run_program.h"

namespace {

// The opening's clock passes 500 on frame 501, so the rings run clock 1..101 on frames 502..602
// and the carousel clock 1..101 from frame 603.
constexpr int kRingsFirst = 502;
constexpr int kCarouselFirst = kRingsFirst + 101;

int RingsFrame(int clock) {
    return kRingsFirst + clock - 1;
}
int CarouselFrame(int clock) {
    return kCarouselFirst + clock - 1;
}

constexpr int kFirstWritten = kRingsFirst + 26;   // rings clock 27
constexpr int kLastWritten = kCarouselFirst + 9;  // carousel clock 10

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

std::unique_ptr<ScratchDir> captureDir;
ProgramResult captureResult;

int CountInRect(const Picture& picture, Rgb color, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x)
            count += PixelAt(picture, x, y) == color ? 1 : 0;
    }
    return count;
}

class RingsCarouselCapture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        captureDir = std::make_unique<ScratchDir>();
        captureResult = RunCapture(captureDir->path, 20, kFirstWritten, kLastWritten);
    }
    static void TearDownTestSuite() { captureDir.reset(); }
    void SetUp() override { ASSERT_EQ(captureResult.exitCode, 0) << captureResult.standardError; }

    static Picture LoadFrame(int frame) {
        Picture picture;
        const std::string path = CaptureFramePath(captureDir->path, frame);
        EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb))
            << path;
        return picture;
    }
};

TEST_F(RingsCarouselCapture, RingsFirstVisitFlashesAllFourQuarters) {
    // Clock 27: the strobe and all four quarter flashes are on; the flashes cover everything.
    const Picture picture = LoadFrame(RingsFrame(27));
    EXPECT_EQ(CountPixels(picture, kWhite), 640 * 480);
}

TEST_F(RingsCarouselCapture, RingsStartOnTheFrameAfterTheOpeningEnds) {
    // Clock 29: no strobe, top-left flash dark at this point of its sine: the rings show there.
    const Picture before = LoadFrame(RingsFrame(29));
    EXPECT_GT(CountInRect(before, kBlack, 0, 0, 320, 240), 1000);
    EXPECT_GT(CountInRect(before, kWhite, 0, 0, 320, 240), 1000);
    EXPECT_EQ(CountInRect(before, kWhite, 320, 0, 640, 480), 320 * 480);
    // Clock 30: the top-left flash has ended and the strobe blacks it out; the rest still flash.
    const Picture at = LoadFrame(RingsFrame(30));
    EXPECT_EQ(CountInRect(at, kBlack, 0, 0, 320, 240), 320 * 240);
    EXPECT_EQ(CountPixels(at, kWhite), 640 * 480 - 320 * 240);
}

TEST_F(RingsCarouselCapture, CarouselTurnsBlockyOnItsTenthFrame) {
    const Picture first = LoadFrame(CarouselFrame(1));
    EXPECT_FALSE(IsBlocky(first));
    EXPECT_GT(CountPixels(first, kBlack), 2000) << "wire sphere and tubes on white";
    const Picture sharp = LoadFrame(CarouselFrame(9));
    EXPECT_FALSE(IsBlocky(sharp));
    const Picture blocky = LoadFrame(CarouselFrame(10));
    EXPECT_TRUE(IsBlocky(blocky));
    EXPECT_GE(CountColours(blocky), 2);
    EXPECT_GT(CountPixels(blocky, kBlack), 640 * 480 / 100);
}

TEST_F(RingsCarouselCapture, RingsEndOnTheFrameWhereTheirClockPasses100) {
    // Clock 100 (strobe off: sin 400 < 0.5): the rings, sharp, in noise and lines.
    const Picture atLimit = LoadFrame(RingsFrame(100));
    EXPECT_FALSE(IsBlocky(atLimit));
    EXPECT_GT(CountPixels(atLimit, kBlack), 1000);
    EXPECT_GT(CountPixels(atLimit, kWhite), 1000);
    // Clock 101, the visit's last frame: the strobe is on (sin 404 > 0.5) and blacks out all.
    EXPECT_EQ(CountPixels(LoadFrame(RingsFrame(101)), kBlack), 640 * 480);
}

}  // namespace
