// The picture's letterboxed presentation, pacing and read-back, for both display backends.
#include "platform/picture_gl.h"

#include <algorithm>
#include <thread>
#include <vector>

void BlitPictureLetterboxed(const FramebufferCalls& gl, GLuint framebuffer, int32_t width,
                            int32_t height, int drawableWidth, int drawableHeight) {
    // Largest rectangle of the picture's aspect that fits, centred.
    int outWidth = drawableWidth;
    int outHeight = drawableWidth * height / width;
    if (outHeight > drawableHeight) {
        outHeight = drawableHeight;
        outWidth = drawableHeight * width / height;
    }
    const int left = (drawableWidth - outWidth) / 2;
    const int bottom = (drawableHeight - outHeight) / 2;

    // The scissor test would clip the blit and the border clear; the show's own state is put back.
    const GLboolean scissor = glIsEnabled(GL_SCISSOR_TEST);
    GLfloat clearColor[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColor);
    glDisable(GL_SCISSOR_TEST);
    gl.bindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    gl.bindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    gl.blitFramebuffer(0, 0, width, height, left, bottom, left + outWidth, bottom + outHeight,
                       GL_COLOR_BUFFER_BIT, outWidth == width ? GL_NEAREST : GL_LINEAR);
    glClearColor(clearColor[0], clearColor[1], clearColor[2], clearColor[3]);
    if (scissor) {
        glEnable(GL_SCISSOR_TEST);
    }
}

void PaceToSixtyHertz(std::chrono::steady_clock::time_point& nextFrame) {
    using namespace std::chrono;
    const auto period = duration_cast<steady_clock::duration>(duration<double>(1.0 / 60.0));
    nextFrame += period;
    const auto now = steady_clock::now();
    if (nextFrame < now) {
        nextFrame = now;  // fell behind: do not try to catch up
    } else {
        std::this_thread::sleep_until(nextFrame);
    }
}

void ReadPictureRows(int32_t width, int32_t height, uint8_t* rgb) {
    GLint packAlignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &packAlignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    // RGBA: the one read-back format every GL and GL ES takes.
    const size_t rowPixels = static_cast<size_t>(width);
    std::vector<uint8_t> bottomUp(rowPixels * 4 * static_cast<size_t>(height));
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottomUp.data());
    glPixelStorei(GL_PACK_ALIGNMENT, packAlignment);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* source =
            bottomUp.data() + rowPixels * 4 * static_cast<size_t>(height - 1 - y);
        uint8_t* target = rgb + rowPixels * 3 * static_cast<size_t>(y);
        for (size_t x = 0; x < rowPixels; ++x) {
            target[3 * x] = source[4 * x];
            target[3 * x + 1] = source[4 * x + 1];
            target[3 * x + 2] = source[4 * x + 2];
        }
    }
}
