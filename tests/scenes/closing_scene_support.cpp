// Shared by the closing scenes' tests: start-up resources and one frame as the driver draws it.
#include "closing_scene_support.h"

#include <GL/gl.h>

#include "gfx/texture.h"
#include "gfx/texture_generators.h"
#include "gfx/toolkit_resources.h"

void EnsureClosingSceneResources() {
    static bool created = false;
    if (created) {
        return;
    }
    created = true;
    CreateToolkitStartupResources();
    DiscGenerator disc;
    if (sharedTextures[1] != nullptr) {
        FillTexture(*sharedTextures[1], &disc);
    }
    NoiseGenerator noise;
    for (int entry = 4; entry < 8; ++entry) {
        if (sharedTextures[entry] != nullptr) {
            FillTexture(*sharedTextures[entry], &noise);
        }
    }
}

void DrainGlErrors() {
    while (glGetError() != GL_NO_ERROR) {
    }
}

Picture DrawNormalFrame(SceneDrawRoutine draw, float step, bool read, bool* visitOver) {
    FrameInput frame;
    frame.frameStep = step;
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    GLint before = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &before);
    DrainGlErrors();
    const bool over = draw(frame);
    if (visitOver != nullptr) {
        *visitOver = over;
    }
    GLint after = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &after);
    EXPECT_EQ(after, before) << "the frame left the modelview stack unbalanced";
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    RestoreFrameTextState();
    return read ? ReadPicture() : Picture{};
}

int CountInRect(const Picture& picture, int x0, int y0, int x1, int y1, Rgb color) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            count += PixelAt(picture, x, y) == color ? 1 : 0;
        }
    }
    return count;
}
