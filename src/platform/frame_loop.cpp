// The desktop frame loop: the calling thread runs the steps back to back.
#include "platform/frame_loop.h"

void RunFrameLoop(FrameLoopStep step, FrameLoopDone done, void* context) {
    while (step(context)) {
    }
    done(context);
}
