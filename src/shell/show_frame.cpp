// One frame of the show: the clear, the scene the counter selects and the end-of-frame text state.
#include "shell/show_frame.h"

#include "gfx/screen_feedback.h"
#include "gfx/toolkit_resources.h"
#include "platform/gl.h"

namespace {
constexpr double kMillisecondsPerStep = 50.0;
}

const TimelineEntry* DrawNextFrame(ShowState& show, ShowPosition& position, float frameStep,
                                   bool seen) {
    GLint scissor[4] = {};
    if (!seen) {
        glGetIntegerv(GL_SCISSOR_BOX, scissor);
        glEnable(GL_SCISSOR_TEST);
        glScissor(0, 0, screenFeedback.size, screenFeedback.size);
    }
    show.frame.frameStep = frameStep;
    if (show.hiddenMode) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    } else {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    position.visit = show.sceneCounter;
    const TimelineEntry* drawn = DrawShowFrame(show);
    if (!show.hiddenMode) {
        RestoreFrameTextState();
    }
    if (!seen) {
        // The show never has the test on at the end of a frame.
        glDisable(GL_SCISSOR_TEST);
        glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
    }
    position.frame += 1;
    position.milliseconds += static_cast<double>(frameStep) * kMillisecondsPerStep;
    return drawn;
}
