// GL state helpers and camera: the 2D pixel space and back, and the camera's view matrix.
#include <cmath>

#include "core/screen.h"
#include "gfx/gl_state.h"
#include "gl_test.h"
#include "platform/gl.h"
#include "toolkit_test_support.h"

namespace {

constexpr std::array<double, 16> kIdentity{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

class GlStateTest : public GlTest {};

TEST_F(GlStateTest, Begin2DMapsPixelsWithYDownAndEnd2DRestoresTheFrame) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ApplyStandardPerspective();
    const auto standard = CurrentMatrix(GL_PROJECTION_MATRIX);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);  // a projection other than the standard one does not survive
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, -3.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    const auto modelviewBefore = CurrentMatrix(GL_MODELVIEW_MATRIX);
    const GLint depthBefore = IntegerState(GL_MODELVIEW_STACK_DEPTH);

    Begin2D();
    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depthBefore + 1);
    EXPECT_EQ(CurrentMatrix(GL_MODELVIEW_MATRIX), kIdentity);
    glDisable(GL_DEPTH_TEST);
    FillRect2D(10.0f, 20.0f, 11.0f, 21.0f, 1.0f, 0.0f, 0.0f);  // lands on pixel (10, 20)
    End2D();

    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depthBefore);
    EXPECT_EQ(CurrentMatrix(GL_MODELVIEW_MATRIX), modelviewBefore);
    const auto projection = CurrentMatrix(GL_PROJECTION_MATRIX);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(projection[i], standard[i], 1e-9) << "element " << i;
    }
    const Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 10, 20), (Rgb{255, 0, 0}));
    EXPECT_EQ(CountPixels(picture, Rgb{255, 0, 0}), 1);
}

TEST_F(GlStateTest, CameraMapsTheEyeToTheOriginAndDefaultsToTheIdentity) {
    CameraApply(Camera{});
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(CurrentMatrix(GL_MODELVIEW_MATRIX)[i], kIdentity[i], 1e-12) << i;
    }
    Camera camera;
    CameraSet(camera, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 0.0f, 0.0f, 1.0f);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);  // applied on top of the current matrix, not instead
    CameraApply(camera);
    const auto view = CurrentMatrix(GL_MODELVIEW_MATRIX);
    for (int row = 0; row < 3; ++row) {
        // The eye goes to the origin; the target lies straight ahead (on -z).
        const double eye = view[row] + view[4 + row] * 2 + view[8 + row] * 3 + view[12 + row];
        EXPECT_NEAR(eye, row == 2 ? -10.0 : 0.0, 1e-5) << row;
        const double target =
            view[row] * 4 + view[4 + row] * 5 + view[8 + row] * 6 + view[12 + row];
        EXPECT_NEAR(target, row == 2 ? -10.0 - std::sqrt(27.0) : 0.0, 1e-4) << row;
    }
    // Up (0, 0, 1) ends in the upper half of the view: positive eye y.
    EXPECT_GT(view[8 + 1], 0.0);
}

}  // namespace
