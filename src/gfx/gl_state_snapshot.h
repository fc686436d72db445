// The GL state one frame of the show leaves for the next ones, taken and put back whole. The
// scenes deliberately do not restore what they change (enables, blend function, bound texture,
// texture coordinate generation, logic op, current colour, matrices, ...), so a later frame
// depends on it as much as on the scenes' own records.
#pragma once

#include <cstdint>

#include "platform/gl.h"

// The capabilities the snapshot keeps, in the order of GlStateSnapshot::enabled.
constexpr int32_t kSnapshotCapabilityCount = 19;

struct GlStateSnapshot {
    GLboolean enabled[kSnapshotCapabilityCount] = {};  // glIsEnabled of each, client arrays too
    GLfloat color[4] = {};                             // current colour
    GLfloat texCoord[4] = {};  // current texture coordinates; the show only ever sets s and t
    GLint blendSource = 0;
    GLint blendDestination = 0;
    GLint logicOp = 0;
    GLfloat clearColor[4] = {};
    GLint depthFunc = 0;
    GLboolean depthMask = GL_TRUE;
    GLdouble clearDepth = 1.0;
    GLint viewport[4] = {};
    GLdouble depthRange[2] = {};
    GLint scissor[4] = {};
    GLint boundTexture = 0;    // GL_TEXTURE_2D
    GLint texGenMode[2] = {};  // S, T
    GLfloat lineWidth = 1.0f;
    GLint cullFaceMode = 0;
    GLint frontFace = 0;
    GLint shadeModel = 0;
    GLint matrixMode = 0;
    GLint listBase = 0;
    GLint packAlignment = 4;
    GLint unpackAlignment = 4;
    // The tops of the two stacks the show moves, and their depths. The frames leave each stack one
    // deep; a deeper one is put back to its depth with copies of the top.
    GLfloat modelview[16] = {};
    GLfloat projection[16] = {};
    GLint modelviewDepth = 1;
    GLint projectionDepth = 1;

    bool operator==(const GlStateSnapshot&) const = default;
};

// Reads the state from the current context. Not kept: the raster position (every text draw of
// the show sets it first), the texture matrix and environment, and the pixel-store settings
// other than the alignments (the show never changes them outside a push of its own).
void GlStateCapture(GlStateSnapshot& snapshot);

// Puts the state back into the current context, so that GlStateCapture then reads the same.
void GlStateRestore(const GlStateSnapshot& snapshot);
