// The layer's matrices against the system's fixed-function GL on Mesa: the same calls must give
// the same floats, bit for bit, or the layer's pictures would drift from the reference ones.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include "gl_test.h"
#include "platform/gl.h"
#include "platform/gl_layer/matrix_math.h"

namespace {

using gllayer::Mat4;

class MatrixMathTest : public GlTest {};

Mat4 ModelviewFromGl() {
    Mat4 matrix;
    glGetFloatv(GL_MODELVIEW_MATRIX, matrix.m);
    return matrix;
}

// Bitwise equality, so that -0 against +0 or one ulp shows up.
::testing::AssertionResult SameBits(const Mat4& expected, const Mat4& actual) {
    for (int i = 0; i < 16; ++i) {
        uint32_t a = 0;
        uint32_t b = 0;
        std::memcpy(&a, &expected.m[i], 4);
        std::memcpy(&b, &actual.m[i], 4);
        if (a != b) {
            char bits[64];
            std::snprintf(bits, sizeof bits, " (bits %08x against %08x)", a, b);
            return ::testing::AssertionFailure() << "element " << i << ": GL has " << expected.m[i]
                                                 << ", the layer " << actual.m[i] << bits;
        }
    }
    return ::testing::AssertionSuccess();
}

// Angles and axes like the scenes' own: arbitrary floats, axis-aligned axes of both signs, and
// mixed axes such as (0.5, 0, 1) and (1, 1, 1).
TEST_F(MatrixMathTest, RotationsChainedOnALookAtMatchGl) {
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-720.0f, 720.0f);
    std::uniform_real_distribution<double> place(-500.0, 500.0);
    const float axes[][3] = {{0, 0, 1},  {0, 0, -1},   {0, 1, 0}, {0, -1, 0},      {1, 0, 0},
                             {-1, 0, 0}, {0.5f, 0, 1}, {1, 1, 1}, {0.3f, -2, 0.7f}};
    for (int trial = 0; trial < 200; ++trial) {
        const double eye[3] = {place(random), place(random), place(random)};
        const double target[3] = {place(random) * 0.01, 0.0, place(random) * 0.01};
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(eye[0], eye[1], eye[2], target[0], target[1], target[2], 0.0, 1.0, 0.0);
        Mat4 layer = gllayer::Mat4Identity();
        gllayer::Mat4LookAt(layer, eye[0], eye[1], eye[2], target[0], target[1], target[2], 0.0,
                            1.0, 0.0);
        ASSERT_TRUE(SameBits(ModelviewFromGl(), layer)) << "gluLookAt, trial " << trial;
        for (const auto& axis : axes) {
            const float a = angle(random);
            glRotatef(a, axis[0], axis[1], axis[2]);
            gllayer::Mat4Rotate(layer, a, axis[0], axis[1], axis[2]);
            ASSERT_TRUE(SameBits(ModelviewFromGl(), layer))
                << "glRotatef(" << a << ", " << axis[0] << ", " << axis[1] << ", " << axis[2]
                << "), trial " << trial;
        }
        const float t[3] = {static_cast<float>(place(random)), static_cast<float>(place(random)),
                            -1.0f};
        glTranslatef(t[0], t[1], t[2]);
        gllayer::Mat4Translate(layer, t[0], t[1], t[2]);
        ASSERT_TRUE(SameBits(ModelviewFromGl(), layer)) << "glTranslatef, trial " << trial;
    }
}

TEST_F(MatrixMathTest, ProjectionsMatchGl) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(120.0, static_cast<double>(640.0f / 480.0f), static_cast<double>(0.1f), 20000.0);
    Mat4 gl;
    glGetFloatv(GL_PROJECTION_MATRIX, gl.m);
    Mat4 layer = gllayer::Mat4Identity();
    gllayer::Mat4Perspective(layer, 120.0, static_cast<double>(640.0f / 480.0f),
                             static_cast<double>(0.1f), 20000.0);
    EXPECT_TRUE(SameBits(gl, layer)) << "gluPerspective";

    glLoadIdentity();
    glOrtho(0.0, 640.0, 480.0, 0.0, -1.0, 1.0);
    glGetFloatv(GL_PROJECTION_MATRIX, gl.m);
    layer = gllayer::Mat4Identity();
    gllayer::Mat4Ortho(layer, 0.0f, 640.0f, 480.0f, 0.0f, -1.0f, 1.0f);
    EXPECT_TRUE(SameBits(gl, layer)) << "glOrtho";
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
}

TEST_F(MatrixMathTest, TheInverseUndoesTheMatrix) {
    Mat4 m = gllayer::Mat4Identity();
    gllayer::Mat4LookAt(m, 3.0, 4.0, 5.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    gllayer::Mat4Rotate(m, 33.0f, 0.5f, 0.0f, 1.0f);
    gllayer::Mat4Translate(m, 7.0f, -2.0f, 1.0f);
    Mat4 inverse;
    ASSERT_TRUE(gllayer::Mat4Invert(m, &inverse));
    const Mat4 product = gllayer::Mat4Multiply(m, inverse);
    for (int i = 0; i < 16; ++i) {
        EXPECT_NEAR(product.m[i], i % 5 == 0 ? 1.0f : 0.0f, 1e-5f) << "element " << i;
    }
    Mat4 singular{};
    EXPECT_FALSE(gllayer::Mat4Invert(singular, &inverse));
}

}  // namespace
