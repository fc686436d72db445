// GL state helpers and camera: projection switching, text space, wrappers, camera matrices.
#include <GL/gl.h>
#include <GL/glu.h>

#include "gfx/gl_state.h"
#include "gl_test.h"
#include "shell/demo_window.h"
#include "toolkit_test_support.h"

namespace {

std::array<double, 16> StandardPerspective() {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    ApplyStandardPerspective();
    const auto matrix = CurrentMatrix(GL_PROJECTION_MATRIX);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    return matrix;
}

void ExpectMatrixNear(const std::array<double, 16>& actual, const std::array<double, 16>& expected,
                      double tolerance) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "element " << i;
    }
}

class GlStateTest : public GlTest {};

TEST_F(GlStateTest, Begin2DMapsPixelsWithYDownAndEnd2DRestoresTheFrame) {
    glTranslatef(1.0f, 2.0f, -3.0f);
    glRotatef(30.0f, 0.0f, 1.0f, 0.0f);
    const auto modelviewBefore = CurrentMatrix(GL_MODELVIEW_MATRIX);
    const GLint depthBefore = IntegerState(GL_MODELVIEW_STACK_DEPTH);
    // A projection other than the standard one does not survive the pair.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glMatrixMode(GL_MODELVIEW);

    Begin2D();
    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depthBefore + 1);
    std::array<double, 16> identity{};
    identity[0] = identity[5] = identity[10] = identity[15] = 1.0;
    ExpectMatrixNear(CurrentMatrix(GL_MODELVIEW_MATRIX), identity, 0.0);
    // A pixel-sized square at (10, 20) from the top-left lands on that pixel.
    glDisable(GL_DEPTH_TEST);
    FillRect2D(10.0f, 20.0f, 11.0f, 21.0f, 1.0f, 0.0f, 0.0f);
    End2D();

    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depthBefore);
    ExpectMatrixNear(CurrentMatrix(GL_MODELVIEW_MATRIX), modelviewBefore, 0.0);
    ExpectMatrixNear(CurrentMatrix(GL_PROJECTION_MATRIX), StandardPerspective(), 1e-9);

    const Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 10, 20), (Rgb{255, 0, 0}));
    EXPECT_EQ(CountPixels(picture, Rgb{255, 0, 0}), 1);
}

TEST_F(GlStateTest, PushTextSpaceIsOneUnitForwardAndPopsBack) {
    glTranslatef(5.0f, 6.0f, 7.0f);
    const auto before = CurrentMatrix(GL_MODELVIEW_MATRIX);
    const GLint depthBefore = IntegerState(GL_MODELVIEW_STACK_DEPTH);
    PushTextSpace();
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depthBefore + 1);
    std::array<double, 16> forward{};
    forward[0] = forward[5] = forward[10] = forward[15] = 1.0;
    forward[14] = -1.0;
    ExpectMatrixNear(CurrentMatrix(GL_MODELVIEW_MATRIX), forward, 0.0);
    // The visible area at z = 0 of this space reaches about 2.31 x 1.73 units from the centre.
    glColor3f(0.0f, 1.0f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glRectf(2.2f, 1.6f, 2.25f, 1.65f);
    glRectf(2.4f, 0.0f, 2.5f, 0.1f);  // beyond the right edge
    glPopMatrix();
    ExpectMatrixNear(CurrentMatrix(GL_MODELVIEW_MATRIX), before, 0.0);
    const Picture picture = ReadPicture();
    EXPECT_GT(CountPixels(picture, Rgb{0, 255, 0}), 0);
    EXPECT_EQ(PixelAt(picture, 639, 240), (Rgb{0, 0, 0}));
    // 2.2..2.25 of 2.31 and 1.6..1.65 of 1.73: columns 625..631, rows 11..18.
    EXPECT_EQ(PixelAt(picture, 628, 15), (Rgb{0, 255, 0}));
    EXPECT_EQ(PixelAt(picture, 635, 15), (Rgb{0, 0, 0}));
}

TEST_F(GlStateTest, DefaultCameraGivesTheIdentityView) {
    const Camera camera;
    CameraApply(camera);
    std::array<double, 16> identity{};
    identity[0] = identity[5] = identity[10] = identity[15] = 1.0;
    ExpectMatrixNear(CurrentMatrix(GL_MODELVIEW_MATRIX), identity, 1e-12);
}

TEST_F(GlStateTest, CameraSetStoresAllNineValuesAndApplyMultipliesTheModelview) {
    Camera camera;
    CameraSet(camera, 1.0f, 2.0f, 3.0f, 4.0f, 5.0f, 6.0f, 0.0f, 0.0f, 1.0f);
    EXPECT_EQ(camera.eyeX, 1.0f);
    EXPECT_EQ(camera.eyeY, 2.0f);
    EXPECT_EQ(camera.eyeZ, 3.0f);
    EXPECT_EQ(camera.targetX, 4.0f);
    EXPECT_EQ(camera.targetY, 5.0f);
    EXPECT_EQ(camera.targetZ, 6.0f);
    EXPECT_EQ(camera.upX, 0.0f);
    EXPECT_EQ(camera.upY, 0.0f);
    EXPECT_EQ(camera.upZ, 1.0f);

    glTranslatef(0.0f, 0.0f, -10.0f);
    CameraApply(camera);
    const auto applied = CurrentMatrix(GL_MODELVIEW_MATRIX);

    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -10.0f);
    gluLookAt(1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 0.0, 0.0, 1.0);
    ExpectMatrixNear(applied, CurrentMatrix(GL_MODELVIEW_MATRIX), 1e-12);

    // The eye maps to the origin of eye space (before the earlier translation).
    glLoadIdentity();
    CameraApply(camera);
    const auto view = CurrentMatrix(GL_MODELVIEW_MATRIX);
    for (int row = 0; row < 3; ++row) {
        const double mapped =
            view[row] * 1.0 + view[4 + row] * 2.0 + view[8 + row] * 3.0 + view[12 + row];
        EXPECT_NEAR(mapped, 0.0, 1e-5);  // the matrix is kept in float
    }
}

TEST_F(GlStateTest, SphereMappingSwitchesBothGenerationsAndOffKeepsTheMode) {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    SetSphereMapping(true);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_GEN_T));
    GLint modeS = 0;
    GLint modeT = 0;
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &modeS);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &modeT);
    EXPECT_EQ(modeS, GL_SPHERE_MAP);
    EXPECT_EQ(modeT, GL_SPHERE_MAP);

    SetSphereMapping(false);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &modeS);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &modeT);
    EXPECT_EQ(modeS, GL_SPHERE_MAP);
    EXPECT_EQ(modeT, GL_SPHERE_MAP);
}

TEST_F(GlStateTest, CapabilityAndLogicOpWrappers) {
    EnableCap(GL_CULL_FACE);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    DisableCap(GL_CULL_FACE);
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));

    EnableLogicOp(GL_INVERT);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_LOGIC_OP));
    EXPECT_EQ(IntegerState(GL_LOGIC_OP_MODE), GL_INVERT);
    // Inverting over a mid-grey picture, whatever colour is drawn.
    glClearColor(0.2f, 0.6f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    Begin2D();
    FillRect2D(0.0f, 0.0f, 10.0f, 10.0f, 1.0f, 1.0f, 0.0f);
    End2D();
    DisableLogicOp();
    EXPECT_FALSE(glIsEnabled(GL_COLOR_LOGIC_OP));
    const Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 5, 5), (Rgb{204, 102, 0}));
    EXPECT_EQ(PixelAt(picture, 20, 5), (Rgb{51, 153, 255}));
}

}  // namespace
