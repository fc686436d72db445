// The study overlay is drawn over the presented picture in the window, at the window's
// resolution, and leaves both the 640 x 480 picture and the GL state exactly as they were.
#include <gtest/gtest.h>

#include <vector>

#include "gfx/gl_state_snapshot.h"
#include "gl_test.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "shell/show_run.h"
#include "shell/study_overlay.h"

namespace {

using StudyOverlayTest = GlTest;

std::vector<uint8_t> ReadWindow(int32_t width, int32_t height) {
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * height * 4);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

TEST_F(StudyOverlayTest, TheOverlayIsInTheWindowOnlyAndTheShowsStateIsUntouched) {
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_INVERT);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    const Picture picture = ReadPicture();
    GlStateSnapshot state;
    GlStateCapture(state);

    static ShowRun run;
    run.study.overlayShown = true;
    run.study.keysShown = true;
    run.position.milliseconds = 83450.0;
    run.position.visit = 3;
    int32_t width = 0;
    int32_t height = 0;
    ASSERT_TRUE(DisplayShowPicture(&width, &height));
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    const std::vector<uint8_t> before = ReadWindow(width, height);
    DrawStudyOverlay(run, width, height);
    const std::vector<uint8_t> after = ReadWindow(width, height);
    // White text on a darkened panel in the top-left part of the window (rows are bottom up).
    int32_t white = 0;
    int32_t changed = 0;
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const size_t at = (static_cast<size_t>(y) * width + x) * 4;
            const bool differs = after[at] != before[at] || after[at + 1] != before[at + 1] ||
                                 after[at + 2] != before[at + 2];
            changed += differs ? 1 : 0;
            white += after[at] == 255 && after[at + 1] == 255 && after[at + 2] == 255 ? 1 : 0;
            if (differs) {
                ASSERT_LT(x, width * 9 / 10) << "the panels keep to the left";
            }
        }
    }
    EXPECT_GT(white, 500);
    EXPECT_GT(changed, width * height / 20);
    DisplayFinishFrame();

    const Picture untouched = ReadPicture();
    EXPECT_TRUE(untouched.rgb == picture.rgb) << "the overlay reached the picture";
    GlStateSnapshot afterwards;
    GlStateCapture(afterwards);
    EXPECT_TRUE(afterwards == state) << "the overlay left GL state changed";
    glDisable(GL_COLOR_LOGIC_OP);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace
