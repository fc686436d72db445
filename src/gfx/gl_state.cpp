// GL state helpers and camera.
#include "gfx/gl_state.h"

#include "core/screen.h"
#include "platform/gl.h"

void CameraSet(Camera& camera, float eyeX, float eyeY, float eyeZ, float targetX, float targetY,
               float targetZ, float upX, float upY, float upZ) {
    camera.eyeX = eyeX;
    camera.eyeY = eyeY;
    camera.eyeZ = eyeZ;
    camera.targetX = targetX;
    camera.targetY = targetY;
    camera.targetZ = targetZ;
    camera.upX = upX;
    camera.upY = upY;
    camera.upZ = upZ;
}

void CameraApply(const Camera& camera) {
    gluLookAt(camera.eyeX, camera.eyeY, camera.eyeZ, camera.targetX, camera.targetY, camera.targetZ,
              camera.upX, camera.upY, camera.upZ);
}

void Begin2D() {
    glPushMatrix();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    // Bottom and top swapped so that y grows downwards, in pixels.
    glOrtho(0.0, static_cast<double>(screenWidth), static_cast<double>(screenHeight), 0.0, -1.0,
            1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void End2D() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ApplyStandardPerspective();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glPopMatrix();
}

void PushTextSpace() {
    glPushMatrix();
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -1.0f);
}

void EnableCap(GLenum capability) {
    glEnable(capability);
}

void DisableCap(GLenum capability) {
    glDisable(capability);
}

void SetSphereMapping(bool on) {
    if (on) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

void EnableLogicOp(GLenum operation) {
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(operation);
}

void DisableLogicOp() {
    glDisable(GL_COLOR_LOGIC_OP);
}
