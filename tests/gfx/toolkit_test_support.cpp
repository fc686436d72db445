// Helpers shared by the toolkit's GL tests.
#include "toolkit_test_support.h"

#include "gfx/screen_feedback.h"
#include "gfx/toolkit_resources.h"

void EnsureToolkitResources() {
    if (screenFeedback.size == 0) {
        CreateToolkitStartupResources();
    }
}

std::array<double, 16> CurrentMatrix(GLenum which) {
    std::array<double, 16> matrix{};
    glGetDoublev(which, matrix.data());
    return matrix;
}

std::array<float, 4> RasterPosition() {
    std::array<float, 4> position{};
    glGetFloatv(GL_CURRENT_RASTER_POSITION, position.data());
    return position;
}

bool RasterPositionValid() {
    GLboolean valid = GL_FALSE;
    glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
    return valid == GL_TRUE;
}

GLint IntegerState(GLenum which) {
    GLint value = 0;
    glGetIntegerv(which, &value);
    return value;
}

void FillRect2D(float left, float top, float right, float bottom, float r, float g, float b) {
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(r, g, b);
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
    glPopAttrib();
}
