// The standard perspective and the initial GL state.
#include "core/screen.h"

#include "platform/gl.h"

namespace {
// The 32-bit float nearest 0.1, widened to double when handed to GLU.
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 20000.0;
}  // namespace

void ApplyStandardPerspective() {
    const float aspect = static_cast<float>(screenWidth) / static_cast<float>(screenHeight);
    gluPerspective(static_cast<double>(fieldOfView), static_cast<double>(aspect),
                   static_cast<double>(kNearPlane), kFarPlane);
}

void SetupGlContext() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    ApplyStandardPerspective();
    glViewport(0, 0, screenWidth, screenHeight);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glShadeModel(GL_SMOOTH);
}

bool OpenPicture(DisplayMode mode) {
    DisplayConfig config;
    config.mode = mode;
    config.title = "demowin";
    config.pictureWidth = screenWidth;
    config.pictureHeight = screenHeight;
    if (!DisplayOpen(config)) {
        return false;
    }
    SetupGlContext();
    return true;
}
