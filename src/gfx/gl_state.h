// GL state helpers: 2D pixel projection, text space, capability and logic-op wrappers, camera.
#pragma once

#include "platform/gl.h"

// Viewer placement applied with gluLookAt. The default looks down -z from the origin with +y up.
struct Camera {
    float eyeX = 0.0f;
    float eyeY = 0.0f;
    float eyeZ = 0.0f;
    float targetX = 0.0f;
    float targetY = 0.0f;
    float targetZ = -1.0f;
    float upX = 0.0f;
    float upY = 1.0f;
    float upZ = 0.0f;
};

// Stores eye, target and up.
void CameraSet(Camera& camera, float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
               float targetZ, float upX, float upY, float upZ);

// gluLookAt with the nine values widened to double; multiplies the current (modelview) matrix.
void CameraApply(const Camera& camera);

// Pushes the modelview matrix and switches to pixel coordinates: x 0..screenWidth from the left,
// y 0..screenHeight from the top. Pair with End2D in the same frame.
void Begin2D();

// Rebuilds the standard perspective (any other projection is lost), loads the modelview identity
// and pops the matrix Begin2D pushed.
void End2D();

// Pushes the modelview matrix, loads identity and moves one unit forward (z = -1). Under the
// standard perspective the visible area at z = 0 spans about +-2.31 x +-1.73 units, y up.
// The caller pops with glPopMatrix.
void PushTextSpace();

void EnableCap(GLenum capability);
void DisableCap(GLenum capability);

// On: sphere-mapped S and T coordinate generation. Off: both generations disabled, mode kept.
void SetSphereMapping(bool on);

// Enables GL_COLOR_LOGIC_OP with the given operation (the show uses GL_INVERT).
void EnableLogicOp(GLenum operation);
void DisableLogicOp();
