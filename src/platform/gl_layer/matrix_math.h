// 4 x 4 matrices as OpenGL 1.x builds them, to the last bit: the same single-precision
// operations in the same order as Mesa's fixed-function pipeline and SGI's GLU, so that a
// picture drawn through the layer matches one drawn by the system's GL on Mesa byte for byte.
#pragma once

namespace gllayer {

// Column-major, as glLoadMatrixf takes it: element (row r, column c) is m[c * 4 + r].
struct Mat4 {
    float m[16];
};

Mat4 Mat4Identity();

// a × b, row by row, each element summed left to right in single precision.
Mat4 Mat4Multiply(const Mat4& a, const Mat4& b);

// matrix × rotation by angle degrees about (x, y, z); nothing for angle 0 or an axis shorter than
// 1e-4. Rotations about a coordinate axis are built without normalising it.
void Mat4Rotate(Mat4& matrix, float angle, float x, float y, float z);

// matrix × translation, folded into the last column.
void Mat4Translate(Mat4& matrix, float x, float y, float z);

// matrix × scale, each column scaled.
void Mat4Scale(Mat4& matrix, float x, float y, float z);

// matrix × the orthographic projection of glOrtho, its bounds already narrowed to floats.
void Mat4Ortho(Mat4& matrix, float left, float right, float bottom, float top, float nearVal,
               float farVal);

// matrix × m, with the double matrix narrowed to floats first (glMultMatrixd).
void Mat4MultiplyDoubles(Mat4& matrix, const double* m);

// matrix × gluPerspective's projection (built in double precision).
void Mat4Perspective(Mat4& matrix, double fovy, double aspect, double zNear, double zFar);

// matrix × gluLookAt's view (built in single precision, then the eye translation).
void Mat4LookAt(Mat4& matrix, double eyeX, double eyeY, double eyeZ, double centerX, double centerY,
                double centerZ, double upX, double upY, double upZ);

// The inverse of a general matrix by Gaussian elimination with partial pivoting; false (and
// the identity) when it is singular.
bool Mat4Invert(const Mat4& matrix, Mat4* inverse);

// matrix × (x, y, z, w): each row summed left to right.
void Mat4Transform(const Mat4& matrix, const float in[4], float out[4]);

}  // namespace gllayer
