// The end of the show and the hidden game through capture mode at 20 frames per second, where every
// frame adds exactly one unit to each scene clock: the end titles' cell covers, the white last
// frames, the program ending by itself on the frame the timetable gives, and the hidden game's
// first frame.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "closing_scene_support.h"
#include "gfx/bitmap_font.h"
#include "gfx/gl_state.h"
#include "gl_test.h"
#include "platform/png_io.h"
#include "run_program.h"

namespace {

// Frames of each part of the show at one unit per frame; a visit ends on the first frame whose
// clock passes its limit.
constexpr int kOpeningFrames = 501;                    // clock 1..501
constexpr int kRingsFrames = 101 + 41 + 31 + 21 + 11;  // visits restart at 60, 70, 80, 90
constexpr int kCarouselFrames = kRingsFrames;
constexpr int kBoxFieldsFrames = 8 + 14 * 7;  // cumulative limits 7, 14, ..., 105
constexpr int kBitGridFrames = 6 + 13 * 5;    // cumulative limits 5, 10, ..., 70
constexpr int kBurstFrames = 4 * 21;
constexpr int kNestFrames = 5 * 21;
constexpr int kWordSpheresFrames = 181;
constexpr int kSingleVisitFrames = 201;  // greetings, core, orrery
// The end titles start on the frame after this one; their clock is frame - kBeforeEndTitles.
constexpr int kBeforeEndTitles = kOpeningFrames + kRingsFrames + kCarouselFrames +
                                 kBoxFieldsFrames + kBitGridFrames + kBurstFrames + kNestFrames +
                                 kWordSpheresFrames + 3 * kSingleVisitFrames;
// The frame whose clock passes 580 sets quitRequested, and is still written.
constexpr int kLastFrame = kBeforeEndTitles + 581;

// The cover cells are set every fourth frame (the timer must pass 3): black cell k at clock
// 334 + 4k, white cell k at 354 + 4k.
constexpr int kLastBlackCellClock = 334 + 4 * 23;
constexpr int kFirstWritten = kBeforeEndTitles + kLastBlackCellClock - 1;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr int kCellArea = 128 * 96;

// Pixels of colour in cover cell k = 5 r + c: 128 x 96 pixels, r across, c down.
int CountInCell(const Picture& picture, int k, Rgb color) {
    const int x = 128 * (k / 5), y = 96 * (k % 5);
    return CountInRect(picture, x, y, x + 128, y + 96, color);
}

Picture LoadFrame(const std::string& dir, int frame) {
    Picture picture;
    const std::string path = CaptureFramePath(dir, frame);
    EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb)) << path;
    return picture;
}

// One test for the whole run: ctest starts every test in a process of its own, and rendering the
// show up to its end is the expensive part.
TEST(ShowEndCapture, EndsByItselfOnThePredictedFrameWithTheCoversAsTimed) {
    const ScratchDir dir;
    const ProgramResult result = RunCapture(dir.path, 20, kFirstWritten, kLastFrame + 50);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    auto endTitlesAt = [&](int clock) { return LoadFrame(dir.path, kBeforeEndTitles + clock); };

    // The frame that sets quitRequested is the last one drawn.
    EXPECT_FALSE(ReadFileBytes(CaptureFramePath(dir.path, kLastFrame)).empty());
    EXPECT_TRUE(ReadFileBytes(CaptureFramePath(dir.path, kLastFrame + 1)).empty());

    // The black cover reaches its 24th cell on time.
    EXPECT_LT(CountInCell(endTitlesAt(kLastBlackCellClock - 1), 23, kBlack), kCellArea);
    EXPECT_EQ(CountInCell(endTitlesAt(kLastBlackCellClock), 23, kBlack), kCellArea);

    // Four frames later the white cover has reached cell 19: the rest of the right column is
    // still black, and the bottom-right cell was never covered, so it shows the scene, which
    // looks away from the group onto the white background by now.
    const Picture picture = endTitlesAt(kLastBlackCellClock + 4);
    for (int k = 0; k < 24; ++k) {
        EXPECT_EQ(CountInCell(picture, k, k < 20 ? kWhite : kBlack), kCellArea) << "cell " << k;
    }
    EXPECT_EQ(CountInCell(picture, 24, kBlack), 0);

    // The last frames are white outside the bottom-right cell.
    for (const int frame : {kLastFrame - 2, kLastFrame}) {
        const Picture last = LoadFrame(dir.path, frame);
        EXPECT_EQ(
            CountInRect(last, 0, 0, 512, 480, kWhite) + CountInRect(last, 512, 0, 640, 384, kWhite),
            640 * 480 - kCellArea)
            << "frame " << frame;
    }
}

// The hidden part: magicman.txt with 381 and 947 in the working folder.
using HiddenGameCapture = GlTest;

TEST_F(HiddenGameCapture, FirstFrameIsBlackWithBothPaddlesAndZeroScores) {
    ScratchDir dir;
    std::ofstream(dir.File("magicman.txt")) << "381\n947\n";
    const ProgramResult result = RunCapture(dir.path, 20, 1, 1, dir.path);
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    const Picture frame = LoadFrame(dir.path, 1);

    // Paddles: 128 x 24 white bars centred on x 320 (the computer's moved by well under a
    // pixel in the first frame), rows y = 432 (player) and 48 (computer).
    EXPECT_EQ(CountInRect(frame, 262, 422, 378, 442, kWhite), 116 * 20);
    EXPECT_EQ(CountInRect(frame, 262, 38, 378, 58, kWhite), 116 * 20);
    EXPECT_EQ(PixelAt(frame, 240, 432), kBlack);
    EXPECT_EQ(PixelAt(frame, 400, 48), kBlack);

    // "0" in white where the scores stand, drawn here alone on black for comparison.
    if (smallFont.base == 0) {
        CreateBitmapFont(smallFont, 28);
    }
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    PushTextSpace();
    SetTextPosition(smallFont, 1.7f, 0.9f, 1.0f, 1.0f, 1.0f, 1.0f);
    PrintText(smallFont, "%d", 0);
    SetTextPosition(smallFont, 1.7f, -0.9f, 1.0f, 1.0f, 1.0f, 1.0f);
    PrintText(smallFont, "%d", 0);
    glPopMatrix();
    const Picture scores = ReadPicture();
    int ink = 0;
    int matched = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 480; x < 640; ++x) {
            if (PixelAt(scores, x, y) == kWhite) {
                ++ink;
                matched += PixelAt(frame, x, y) == kWhite ? 1 : 0;
            }
            // Apart from the scores the right edge of the field is black.
            if (PixelAt(scores, x, y) == kBlack && (y < 30 || (y > 66 && y < 414))) {
                ASSERT_EQ(PixelAt(frame, x, y), kBlack) << x << ", " << y;
            }
        }
    }
    EXPECT_GT(ink, 100);
    EXPECT_EQ(matched, ink);
    // Nothing but the ball's disc near the centre in the middle band.
    EXPECT_EQ(CountInRect(frame, 0, 100, 250, 380, kWhite), 0);
}

}  // namespace
