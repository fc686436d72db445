// The demo window, its initial GL state and its window procedure.
#include "shell/demo_window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "shell/demo_globals.h"

int32_t fieldOfView = 120;

namespace {
// The 32-bit float nearest 0.1, widened to double when handed to GLU.
constexpr float kNearPlane = 0.1f;
constexpr double kFarPlane = 20000.0;
}  // namespace

bool CreateDemoWindow(const char* className, int32_t width, int32_t height, int32_t bitsPerPixel,
                      DisplayMode mode) {
    (void)bitsPerPixel;  // the picture is always 32-bit colour
    screenWidth = width;
    screenHeight = height;
    DisplayConfig config;
    config.mode = mode;
    config.title = className;
    config.pictureWidth = width;
    config.pictureHeight = height;
    if (!DisplayOpen(config)) {
        return false;
    }
    SetupGlContext();
    return true;
}

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

void DestroyDemoWindow() {
    DisplayClose();
}

void WindowProc(const WindowMessage& message) {
    switch (message.kind) {
        case MessageKind::Close:
            quitRequested = true;
            break;
        case MessageKind::KeyDown:
            if (message.key == KeyCode::Escape) {
                PostQuitMessage();
            } else if (message.key == KeyCode::Left) {
                leftKeyHeld = true;
            } else if (message.key == KeyCode::Right) {
                rightKeyHeld = true;
            }
            break;
        case MessageKind::KeyUp:
            if (message.key == KeyCode::Left) {
                leftKeyHeld = false;
            } else if (message.key == KeyCode::Right) {
                rightKeyHeld = false;
            }
            break;
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
}
