// The first half of the show through capture mode at 20 frames per second (1 unit per frame).
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
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
constexpr int kBoxFieldsFirst = 912;   // visit 1: clock 1..8
constexpr int kBitGridFirst = 920;     // visit 1: clock 1..6, no bits yet
constexpr int kBoxFieldsSecond = 926;  // visit 2: clock 9..15
// 15 box field visits (8 + 14 x 7 frames) and 14 bit grid visits (6 + 13 x 5 frames).
constexpr int kTorusNestFirst = kBoxFieldsFirst + 8 + 14 * 7 + 6 + 13 * 5;

constexpr int kFirstWritten = 450;
constexpr int kLastWritten = kTorusNestFirst;

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

std::unique_ptr<ScratchDir> captureDir;
ProgramResult captureResult;

Picture LoadFrame(int frame) {
    Picture picture;
    const std::string path = CaptureFramePath(captureDir->path, frame);
    EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb)) << path;
    return picture;
}

bool AllWhite(const Picture& picture, int x0, int y0, int x1, int y1) {
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            if (!(PixelAt(picture, x, y) == kWhite)) {
                return false;
            }
        }
    }
    return true;
}

// Whether the white-out quarter that starts at start is lit at clock: sin(4 clock) plus a tenth
// of the time since its start above one half.
bool QuarterExpectedLit(int clock, int start) {
    const float c = static_cast<float>(clock);
    return clock > start &&
           std::sin(static_cast<double>(c * 4.0f)) + (c - static_cast<float>(start)) * 0.1f > 0.5;
}

// One capture run serves every check (each run draws the show from its first frame).
class FirstHalfCapture : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        captureDir = std::make_unique<ScratchDir>();
        captureResult = RunCapture(captureDir->path, 20, kFirstWritten, kLastWritten);
        ASSERT_EQ(captureResult.exitCode, 0) << captureResult.standardError;
        if (smallFont.base == 0) {
            CreateBitmapFont(smallFont, 28);
        }
    }
    void TearDown() override {
        captureDir.reset();
        GlTest::TearDown();
    }

    void CheckOpeningEnd();
    void CheckCuttingSectionStart();
    void CheckTorusNestStart();

    // Pixels that a caption at the scenes' caption place covers, drawn alone in black on white.
    std::vector<bool> CaptionInk(const char* caption) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        PushTextSpace();
        SetTextPosition(smallFont, -1.5f, 1.5f, 0.0f, 0.0f, 0.0f, 1.0f);
        PrintText(smallFont, "%s", caption);
        glPopMatrix();
        const Picture picture = ReadPicture();
        std::vector<bool> ink(picture.rgb.size() / 3, false);
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                ink[y * picture.width + x] = !(PixelAt(picture, x, y) == kWhite);
            }
        }
        return ink;
    }
};

// Share of the caption's ink pixels that are black in the frame.
double CaptionCoverage(const Picture& frame, const std::vector<bool>& ink) {
    int inked = 0;
    int black = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (ink[y * frame.width + x]) {
                ++inked;
                black += PixelAt(frame, x, y) == kBlack ? 1 : 0;
            }
        }
    }
    return inked == 0 ? 0.0 : static_cast<double>(black) / inked;
}

int NonWhiteOutside(const Picture& frame, const std::vector<bool>& ink) {
    int count = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            if (!ink[y * frame.width + x] && !(PixelAt(frame, x, y) == kWhite)) {
                ++count;
            }
        }
    }
    return count;
}

// The opening's quarters flash, then the whole screen is white.
void FirstHalfCapture::CheckOpeningEnd() {
    // Top left from clock 450, bottom right from 460: lit frames show the quarter all white, and
    // while a quarter flickers some of its frames are dark.
    struct Quarter {
        int start;
        int x0, y0;
    };
    for (const Quarter& quarter : {Quarter{450, 0, 0}, Quarter{460, 320, 240}}) {
        int lit = 0;
        int unlit = 0;
        for (int frame = quarter.start + 1; frame < quarter.start + 10; ++frame) {
            const Picture picture = LoadFrame(frame);
            const bool white =
                AllWhite(picture, quarter.x0, quarter.y0, quarter.x0 + 320, quarter.y0 + 240);
            if (QuarterExpectedLit(frame, quarter.start)) {
                EXPECT_TRUE(white) << "frame " << frame;
                ++lit;
            } else {
                unlit += white ? 0 : 1;
            }
        }
        EXPECT_GT(lit, 0) << quarter.start;
        EXPECT_GT(unlit, 0) << quarter.start;
    }
    // Before the first quarter starts the picture is not white.
    EXPECT_FALSE(AllWhite(LoadFrame(450), 0, 0, 640, 480));
    for (int frame = 496; frame <= 501; ++frame) {
        EXPECT_EQ(CountPixels(LoadFrame(frame), kWhite), 640 * 480) << "frame " << frame;
    }
}

// The box fields and the bit grid start where the timetable says.
void FirstHalfCapture::CheckCuttingSectionStart() {
    const std::vector<bool> lifeCaption = CaptionInk("mystery of LIFE. left.");
    const std::vector<bool> fileCaption = CaptionInk("mystery of FILE. bits.");

    // The carousel's last frame has no caption; the box fields' first one has it in black.
    EXPECT_LT(CaptionCoverage(LoadFrame(kBoxFieldsFirst - 1), lifeCaption), 0.9);
    for (int frame = kBoxFieldsFirst; frame < kBitGridFirst; ++frame) {
        const Picture picture = LoadFrame(frame);
        EXPECT_EQ(CaptionCoverage(picture, lifeCaption), 1.0) << "frame " << frame;
        EXPECT_GT(NonWhiteOutside(picture, lifeCaption), 1000) << "frame " << frame;
    }
    // The bit grid's first visit: its caption on an otherwise white screen, no bits yet.
    for (int frame = kBitGridFirst; frame < kBoxFieldsSecond; ++frame) {
        const Picture picture = LoadFrame(frame);
        EXPECT_EQ(CaptionCoverage(picture, fileCaption), 1.0) << "frame " << frame;
        EXPECT_EQ(NonWhiteOutside(picture, fileCaption), 0) << "frame " << frame;
    }
    const Picture second = LoadFrame(kBoxFieldsSecond);
    EXPECT_EQ(CaptionCoverage(second, lifeCaption), 1.0);
    EXPECT_GT(NonWhiteOutside(second, lifeCaption), 1000);
}

// The torus nest follows the last box fields visit.
void FirstHalfCapture::CheckTorusNestStart() {
    const std::vector<bool> lifeCaption = CaptionInk("mystery of LIFE. left.");
    const Picture lastBoxFields = LoadFrame(kTorusNestFirst - 1);
    EXPECT_EQ(CaptionCoverage(lastBoxFields, lifeCaption), 1.0);
    const Picture torusNest = LoadFrame(kTorusNestFirst);
    EXPECT_LT(CaptionCoverage(torusNest, lifeCaption), 0.9);
    EXPECT_GT(NonWhiteOutside(torusNest, lifeCaption), 1000);
}

TEST_F(FirstHalfCapture, ScenesLandOnTheirFramesWithTheirFlashesAndCaptions) {
    {
        SCOPED_TRACE("opening end");
        CheckOpeningEnd();
    }
    {
        SCOPED_TRACE("box fields and bit grid");
        CheckCuttingSectionStart();
    }
    {
        SCOPED_TRACE("torus nest");
        CheckTorusNestStart();
    }
}

}  // namespace
