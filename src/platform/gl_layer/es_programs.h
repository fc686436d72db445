// The GL layer's shader programs: one vertex and one fragment source with switches, built into a
// program for each kind of draw when the layer opens, so that no draw waits for a compile and the
// driver runs only the code a draw needs.
#pragma once

#include <GLES3/gl3.h>

#include <cstdint>
#include <string>

#include "platform/gl_layer/matrix_math.h"

namespace gllayer {

enum class ProgramKind : int32_t {
    Color = 0,         // the interpolated colour
    Textured = 1,      // texel × colour (GL_MODULATE)
    SphereMapped = 2,  // the same, with sphere-mapped texture coordinates
    Bitmap = 3,        // the colour where the bitmap texel is set; elsewhere nothing is drawn
};
constexpr int32_t kProgramKinds = 4;

// Attribute locations every program shares.
constexpr GLuint kPositionAttribute = 0;
constexpr GLuint kColorAttribute = 1;
constexpr GLuint kTexCoordAttribute = 2;

// A program with its uniforms' locations and the values last given to them (uniforms belong to
// the program, so they stay set while others are used).
struct EsProgram {
    GLuint program = 0;
    GLint mvp = -1;
    GLint modelview = -1;
    GLint normalMatrix = -1;
    GLint normal = -1;
    GLint sphereMapS = -1;
    GLint sphereMapT = -1;
    GLint white = -1;
    GLint vertexColors = -1;
    bool uniformsSet = false;
    Mat4 lastMvp{};
    Mat4 lastModelview{};
    float lastNormal[3] = {0.0f, 0.0f, 0.0f};
    bool lastSphereMapS = false;
    bool lastSphereMapT = false;
    bool lastWhite = false;
    bool lastVertexColors = false;
};

// Builds every kind; false with the reason (and nothing kept) when one does not compile or link.
bool BuildPrograms(EsProgram (&programs)[kProgramKinds], std::string* error);

void DeletePrograms(EsProgram (&programs)[kProgramKinds]);

}  // namespace gllayer
