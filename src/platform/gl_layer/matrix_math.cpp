// Matrix operations in OpenGL 1.x's own arithmetic.
#include "platform/gl_layer/matrix_math.h"

#include <cmath>
#include <cstring>
#include <utility>

namespace gllayer {

namespace {

constexpr double kPi = 3.14159265358979323846;

// Element (row, column) of a column-major matrix.
float& At(Mat4& matrix, int row, int column) {
    return matrix.m[column * 4 + row];
}

float At(const Mat4& matrix, int row, int column) {
    return matrix.m[column * 4 + row];
}

// GLU's vector helpers, in single precision; a zero vector is left as it is.
void Normalize(float v[3]) {
    const float r =
        static_cast<float>(std::sqrt(static_cast<double>(v[0] * v[0] + v[1] * v[1] + v[2] * v[2])));
    if (r == 0.0f) {
        return;
    }
    v[0] /= r;
    v[1] /= r;
    v[2] /= r;
}

void Cross(const float a[3], const float b[3], float result[3]) {
    result[0] = a[1] * b[2] - a[2] * b[1];
    result[1] = a[2] * b[0] - a[0] * b[2];
    result[2] = a[0] * b[1] - a[1] * b[0];
}

}  // namespace

Mat4 Mat4Identity() {
    Mat4 identity{};
    identity.m[0] = 1.0f;
    identity.m[5] = 1.0f;
    identity.m[10] = 1.0f;
    identity.m[15] = 1.0f;
    return identity;
}

Mat4 Mat4Multiply(const Mat4& a, const Mat4& b) {
    Mat4 product;
    for (int i = 0; i < 4; ++i) {
        const float ai0 = At(a, i, 0);
        const float ai1 = At(a, i, 1);
        const float ai2 = At(a, i, 2);
        const float ai3 = At(a, i, 3);
        for (int j = 0; j < 4; ++j) {
            At(product, i, j) =
                ai0 * At(b, 0, j) + ai1 * At(b, 1, j) + ai2 * At(b, 2, j) + ai3 * At(b, 3, j);
        }
    }
    return product;
}

void Mat4Rotate(Mat4& matrix, float angle, float x, float y, float z) {
    if (angle == 0.0f) {
        return;
    }
    const double radians = static_cast<double>(angle) * kPi / 180.0;
    const float s = std::sin(static_cast<float>(radians));
    const float c = std::cos(static_cast<float>(radians));
    Mat4 r = Mat4Identity();
    bool axisAligned = false;
    if (x == 0.0f) {
        if (y == 0.0f) {
            if (z != 0.0f) {
                axisAligned = true;
                At(r, 0, 0) = c;
                At(r, 1, 1) = c;
                At(r, 0, 1) = z < 0.0f ? s : -s;
                At(r, 1, 0) = z < 0.0f ? -s : s;
            }
        } else if (z == 0.0f) {
            axisAligned = true;
            At(r, 0, 0) = c;
            At(r, 2, 2) = c;
            At(r, 0, 2) = y < 0.0f ? -s : s;
            At(r, 2, 0) = y < 0.0f ? s : -s;
        }
    } else if (y == 0.0f && z == 0.0f) {
        axisAligned = true;
        At(r, 1, 1) = c;
        At(r, 2, 2) = c;
        At(r, 1, 2) = x < 0.0f ? s : -s;
        At(r, 2, 1) = x < 0.0f ? -s : s;
    }
    if (!axisAligned) {
        const float length = std::sqrt(x * x + y * y + z * z);
        if (length <= 1.0e-4f) {
            return;
        }
        x /= length;
        y /= length;
        z /= length;
        const float xx = x * x;
        const float yy = y * y;
        const float zz = z * z;
        const float xy = x * y;
        const float yz = y * z;
        const float zx = z * x;
        const float xs = x * s;
        const float ys = y * s;
        const float zs = z * s;
        const float oneMinusC = 1.0f - c;
        At(r, 0, 0) = (oneMinusC * xx) + c;
        At(r, 0, 1) = (oneMinusC * xy) - zs;
        At(r, 0, 2) = (oneMinusC * zx) + ys;
        At(r, 1, 0) = (oneMinusC * xy) + zs;
        At(r, 1, 1) = (oneMinusC * yy) + c;
        At(r, 1, 2) = (oneMinusC * yz) - xs;
        At(r, 2, 0) = (oneMinusC * zx) - ys;
        At(r, 2, 1) = (oneMinusC * yz) + xs;
        At(r, 2, 2) = (oneMinusC * zz) + c;
    }
    matrix = Mat4Multiply(matrix, r);
}

void Mat4Translate(Mat4& matrix, float x, float y, float z) {
    float* m = matrix.m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
}

void Mat4Scale(Mat4& matrix, float x, float y, float z) {
    float* m = matrix.m;
    for (int row = 0; row < 4; ++row) {
        m[row] *= x;
        m[4 + row] *= y;
        m[8 + row] *= z;
    }
}

void Mat4Ortho(Mat4& matrix, float left, float right, float bottom, float top, float nearVal,
               float farVal) {
    Mat4 o = Mat4Identity();
    At(o, 0, 0) = 2.0f / (right - left);
    At(o, 0, 3) = -(right + left) / (right - left);
    At(o, 1, 1) = 2.0f / (top - bottom);
    At(o, 1, 3) = -(top + bottom) / (top - bottom);
    At(o, 2, 2) = -2.0f / (farVal - nearVal);
    At(o, 2, 3) = -(farVal + nearVal) / (farVal - nearVal);
    matrix = Mat4Multiply(matrix, o);
}

void Mat4MultiplyDoubles(Mat4& matrix, const double* m) {
    Mat4 narrowed;
    for (int i = 0; i < 16; ++i) {
        narrowed.m[i] = static_cast<float>(m[i]);
    }
    matrix = Mat4Multiply(matrix, narrowed);
}

void Mat4Perspective(Mat4& matrix, double fovy, double aspect, double zNear, double zFar) {
    const double radians = fovy / 2 * kPi / 180;
    const double deltaZ = zFar - zNear;
    const double sine = std::sin(radians);
    if (deltaZ == 0 || sine == 0 || aspect == 0) {
        return;
    }
    const double cotangent = std::cos(radians) / sine;
    double m[16] = {};
    m[0] = cotangent / aspect;
    m[5] = cotangent;
    m[10] = -(zFar + zNear) / deltaZ;
    m[11] = -1;
    m[14] = -2 * zNear * zFar / deltaZ;
    Mat4MultiplyDoubles(matrix, m);
}

void Mat4LookAt(Mat4& matrix, double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
                double centerZ, double upX, double upY, double upZ) {
    float forward[3] = {static_cast<float>(centerX - eyeX), static_cast<float>(centerY - eyeY),
                        static_cast<float>(centerZ - eyeZ)};
    float up[3] = {static_cast<float>(upX), static_cast<float>(upY), static_cast<float>(upZ)};
    float side[3];
    Normalize(forward);
    Cross(forward, up, side);
    Normalize(side);
    Cross(side, forward, up);
    Mat4 view = Mat4Identity();
    for (int k = 0; k < 3; ++k) {
        At(view, 0, k) = side[k];
        At(view, 1, k) = up[k];
        At(view, 2, k) = -forward[k];
    }
    matrix = Mat4Multiply(matrix, view);
    Mat4Translate(matrix, static_cast<float>(-eyeX), static_cast<float>(-eyeY),
                  static_cast<float>(-eyeZ));
}

bool Mat4Invert(const Mat4& matrix, Mat4* inverse) {
    // Rows of [matrix | identity], reduced to [identity | inverse].
    float rows[4][8];
    float* r[4] = {rows[0], rows[1], rows[2], rows[3]};
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            rows[i][j] = At(matrix, i, j);
            rows[i][4 + j] = i == j ? 1.0f : 0.0f;
        }
    }
    for (int column = 0; column < 4; ++column) {
        int pivot = column;
        for (int i = column + 1; i < 4; ++i) {
            if (std::fabs(r[i][column]) > std::fabs(r[pivot][column])) {
                pivot = i;
            }
        }
        std::swap(r[column], r[pivot]);
        if (r[column][column] == 0.0f) {
            *inverse = Mat4Identity();
            return false;
        }
        const float scale = 1.0f / r[column][column];
        for (int j = 0; j < 8; ++j) {
            r[column][j] *= scale;
        }
        for (int i = 0; i < 4; ++i) {
            if (i == column) {
                continue;
            }
            const float factor = r[i][column];
            for (int j = 0; j < 8; ++j) {
                r[i][j] -= factor * r[column][j];
            }
        }
    }
    for (int i = 0; i < 4; ++i) {
        for (int j = 0; j < 4; ++j) {
            At(*inverse, i, j) = r[i][4 + j];
        }
    }
    return true;
}

void Mat4Transform(const Mat4& matrix, const float in[4], float out[4]) {
    for (int row = 0; row < 4; ++row) {
        out[row] = At(matrix, row, 0) * in[0] + At(matrix, row, 1) * in[1] +
                   At(matrix, row, 2) * in[2] + At(matrix, row, 3) * in[3];
    }
}

}  // namespace gllayer
