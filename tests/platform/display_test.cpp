// The offscreen display: the picture framebuffer is drawn into and read back top row first.
#include <GL/gl.h>

#include "gl_test.h"

namespace {

using DisplayTest = GlTest;

TEST_F(DisplayTest, PictureReadsBackTopRowFirst) {
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // Black rectangle over the top 10 rows, drawn in pixel coordinates with y down.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, 640, 480, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.0f, 0.0f, 0.0f);
    glRectf(0.0f, 0.0f, 640.0f, 10.0f);
    const Picture picture = ReadPicture();
    ASSERT_EQ(picture.width, 640);
    ASSERT_EQ(picture.height, 480);
    EXPECT_EQ(PixelAt(picture, 0, 0), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(picture, 639, 9), (Rgb{0, 0, 0}));
    EXPECT_EQ(PixelAt(picture, 0, 10), (Rgb{255, 255, 255}));
    EXPECT_EQ(CountPixels(picture, Rgb{0, 0, 0}), 6400);
}

}  // namespace
