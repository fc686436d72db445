// The first half of the show through capture mode at 20 frames per second (1 unit per frame).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gl_test.h"
#include "platform/png_io.h"
#include "run_program.h"

namespace {

// Frame numbers at one unit per frame. The opening runs clock 1..501 on frames 1..501. The rings
// and the carousel then take 101 frames each on their first visits and 41, 31, 21, 11 on the
// later ones (their clocks restart at 60, 70, 80, 90): frames 502..911.
constexpr int kRingsFirst = 502;
constexpr int kCarouselFirst = kRingsFirst + 101;
constexpr int kBoxFieldsFirst = 912;   // visit 1: clock 1..8
constexpr int kBitGridFirst = 920;     // visit 1: clock 1..6, no bits yet
constexpr int kBoxFieldsSecond = 926;  // visit 2: clock 9..15
// 15 box field visits (8 + 14 x 7 frames) and 14 bit grid visits (6 + 13 x 5 frames).
constexpr int kTorusNestFirst = kBoxFieldsFirst + 8 + 14 * 7 + 6 + 13 * 5;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

class FirstHalfCapture : public GlTest {
protected:
    Picture LoadFrame(int frame) {
        Picture picture;
        const std::string path = CaptureFramePath(dir.path, frame);
        EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb))
            << path;
        return picture;
    }
    // Pixels that a caption at the scenes' caption place covers, drawn alone in black on white.
    std::vector<bool> CaptionInk(const char* caption) {
        if (smallFont.base == 0) {
            CreateBitmapFont(smallFont, 28);
        }
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        PushTextSpace();
        SetTextPosition(smallFont, -1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(smallFont, "%s", caption);
        glPopMatrix();
        const Picture picture = ReadPicture();
        std::vector<bool> ink;
        for (int i = 0; i < picture.width * picture.height; ++i) {
            ink.push_back(!(PixelAt(picture, i % picture.width, i / picture.width) == kWhite));
        }
        return ink;
    }
    ScratchDir dir;
};

int CountInRect(const Picture& picture, Rgb color, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            count += PixelAt(picture, x, y) == color ? 1 : 0;
        }
    }
    return count;
}

// Whether every pixel equals the first pixel of its 10 x 7.5 block (a 64 x 64 picture stretched
// over 640 x 480). Rows whose centre falls on a block border could round either way: skipped.
bool IsBlocky(const Picture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        const double row = (y + 0.5) / 7.5;
        if (std::fabs(row - std::round(row)) < 1e-6) {
            continue;
        }
        const int firstY = static_cast<int>(std::ceil(static_cast<int>(row) * 7.5 - 0.5 + 1e-6));
        for (int x = 0; x < picture.width; ++x) {
            if (!(PixelAt(picture, x, y) == PixelAt(picture, x / 10 * 10, firstY))) {
                return false;
            }
        }
    }
    return true;
}

// Share of the caption's ink pixels that are black in the frame, and the non-white pixels
// outside the caption.
std::pair<double, int> CaptionCoverageAndStray(const Picture& frame, const std::vector<bool>& ink) {
    int inked = 0;
    int black = 0;
    int stray = 0;
    for (int i = 0; i < frame.width * frame.height; ++i) {
        const Rgb pixel = PixelAt(frame, i % frame.width, i / frame.width);
        inked += ink[i] ? 1 : 0;
        black += ink[i] && pixel == kBlack ? 1 : 0;
        stray += !ink[i] && !(pixel == kWhite) ? 1 : 0;
    }
    return {inked == 0 ? 0.0 : static_cast<double>(black) / inked, stray};
}

// One capture run serves every check (each run draws the show from its first frame).
TEST_F(FirstHalfCapture, ScenesLandOnTheirFramesWithTheirFlashesBlocksAndCaptions) {
    const ProgramResult result = RunCapture(dir.path, 20, 450, kTorusNestFirst);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    {
        SCOPED_TRACE("opening: quarters flash from 450 (top left) and 460 (bottom right)");
        EXPECT_LT(CountPixels(LoadFrame(450), kWhite), 640 * 480);
        for (const auto& [start, x0, y0] : {std::tuple{450, 0, 0}, std::tuple{460, 320, 240}}) {
            int lit = 0;
            int dark = 0;
            for (int frame = start + 1; frame < start + 10; ++frame) {
                const bool white =
                    CountInRect(LoadFrame(frame), kWhite, x0, y0, x0 + 320, y0 + 240) == 320 * 240;
                const float c = static_cast<float>(frame);
                if (std::sin(static_cast<double>(c * 4.0f)) + (c - float(start)) * 0.1f > 0.5) {
                    EXPECT_TRUE(white) << "frame " << frame;
                    ++lit;
                } else {
                    dark += white ? 0 : 1;
                }
            }
            EXPECT_GT(lit, 0) << start;
            EXPECT_GT(dark, 0) << start;
        }
        for (int frame = 496; frame <= 501; ++frame) {  // past clock 495: all white
            EXPECT_EQ(CountPixels(LoadFrame(frame), kWhite), 640 * 480) << "frame " << frame;
        }
    }
    {
        SCOPED_TRACE("rings' first visit");
        // Clock 27: the strobe and all four quarter flashes are on; the flashes cover all.
        EXPECT_EQ(CountPixels(LoadFrame(kRingsFirst + 26), kWhite), 640 * 480);
        // Clock 29: no strobe, top-left flash dark at this point of its sine: the rings show.
        const Picture before = LoadFrame(kRingsFirst + 28);
        EXPECT_GT(CountInRect(before, kBlack, 0, 0, 320, 240), 1000);
        EXPECT_GT(CountInRect(before, kWhite, 0, 0, 320, 240), 1000);
        EXPECT_EQ(CountInRect(before, kWhite, 320, 0, 640, 480), 320 * 480);
        // Clock 30: the top-left flash has ended and the strobe blacks it out.
        const Picture at = LoadFrame(kRingsFirst + 29);
        EXPECT_EQ(CountInRect(at, kBlack, 0, 0, 320, 240), 320 * 240);
        EXPECT_EQ(CountPixels(at, kWhite), 640 * 480 - 320 * 240);
        // Clock 100 (strobe off: sin 400 < 0.5): the rings, sharp, in noise and lines.
        const Picture atLimit = LoadFrame(kRingsFirst + 99);
        EXPECT_FALSE(IsBlocky(atLimit));
        EXPECT_GT(CountPixels(atLimit, kBlack), 1000);
        EXPECT_GT(CountPixels(atLimit, kWhite), 1000);
        // Clock 101, the visit's last frame: the strobe is on (sin 404 > 0.5) and blacks out all.
        EXPECT_EQ(CountPixels(LoadFrame(kRingsFirst + 100), kBlack), 640 * 480);
    }
    {
        SCOPED_TRACE("carousel turns blocky on its tenth frame");
        const Picture first = LoadFrame(kCarouselFirst);
        EXPECT_FALSE(IsBlocky(first));
        EXPECT_GT(CountPixels(first, kBlack), 2000) << "wire sphere and tubes on white";
        EXPECT_FALSE(IsBlocky(LoadFrame(kCarouselFirst + 8)));
        const Picture blocky = LoadFrame(kCarouselFirst + 9);
        EXPECT_TRUE(IsBlocky(blocky));
        EXPECT_GT(CountPixels(blocky, kBlack), 640 * 480 / 100);
        EXPECT_GT(CountPixels(blocky, kWhite), 0);
    }
    {
        SCOPED_TRACE("box fields, bit grid and torus nest");
        const std::vector<bool> life = CaptionInk("mystery of LIFE. left.");
        const std::vector<bool> file = CaptionInk("mystery of FILE. bits.");
        // The carousel's last frame has no caption; the box fields' frames have it in black.
        EXPECT_LT(CaptionCoverageAndStray(LoadFrame(kBoxFieldsFirst - 1), life).first, 0.9);
        for (int frame :
             {kBoxFieldsFirst, kBitGridFirst - 1, kBoxFieldsSecond, kTorusNestFirst - 1}) {
            const auto [coverage, stray] = CaptionCoverageAndStray(LoadFrame(frame), life);
            EXPECT_EQ(coverage, 1.0) << "frame " << frame;
            EXPECT_GT(stray, 1000) << "frame " << frame;
        }
        // The bit grid's first visit: its caption on an otherwise white screen, no bits yet.
        for (int frame = kBitGridFirst; frame < kBoxFieldsSecond; ++frame) {
            const auto [coverage, stray] = CaptionCoverageAndStray(LoadFrame(frame), file);
            EXPECT_EQ(coverage, 1.0) << "frame " << frame;
            EXPECT_EQ(stray, 0) << "frame " << frame;
        }
        const auto [coverage, stray] = CaptionCoverageAndStray(LoadFrame(kTorusNestFirst), life);
        EXPECT_LT(coverage, 0.9);
        EXPECT_GT(stray, 1000);
    }
}

}  // namespace
