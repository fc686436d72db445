// The browser's frame loop: the live show draws one frame per display refresh and then feeds
// the sound; offline runs (capture, benchmark) draw frames back to back for a slice of time per
// callback, so the page stays responsive. A hidden page holds the picture and the sound.
#include "platform/frame_loop.h"

#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include "platform/web/web_internal.h"

namespace {

// Frames drawn back to back (offline runs, and the live show's unseen frames before a later
// start): drawing time per browser callback before handing the page back, in ms.
constexpr double kSliceMilliseconds = 50.0;

struct FrameLoop {
    FrameLoopStep step = nullptr;
    FrameLoopDone done = nullptr;
    void* context = nullptr;
    bool offline = false;
    bool running = false;
};

FrameLoop loop;

// Tells the page that the run is over, and its exit status.
// clang-format off
EM_JS(void, NoteRunEnded, (int status), {
    if (typeof Module.onRunEnded === 'function') {
        Module.onRunEnded(status);
    }
});
// clang-format on

// Lets the page look at what an offline run has written so far (it drops capture files it was
// not asked to keep).
// clang-format off
EM_JS(void, NoteFramesDrawn, (), {
    if (typeof Module.onFramesDrawn === 'function') {
        Module.onFramesDrawn();
    }
});
// clang-format on

void Finish() {
    emscripten_cancel_main_loop();
    loop.running = false;
    NoteRunEnded(loop.done(loop.context));
}

void OnBrowserFrame(void*) {
    const double until = emscripten_get_now() + kSliceMilliseconds;
    if (!loop.offline) {
        // One picture per display refresh; the frames before it that are not shown come first.
        bool more = true;
        do {
            more = loop.step(loop.context);
        } while (more && !WebDisplayTakePresented() && emscripten_get_now() < until);
        WebAudioPump();
        if (!more) {
            Finish();
        }
        return;
    }
    do {
        if (!loop.step(loop.context)) {
            NoteFramesDrawn();
            Finish();
            return;
        }
    } while (emscripten_get_now() < until);
    NoteFramesDrawn();
}

// The live show stops while the page is hidden (the browser stops calling anyway) and keeps its
// place: the sound is suspended and the clock does not count the hidden time.
EM_BOOL OnVisibilityChange(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (!loop.running || loop.offline) {
        return EM_FALSE;
    }
    const bool hidden = event->hidden != 0;
    WebAudioSetPaused(hidden);
    WebClockSetPaused(hidden);
    if (hidden) {
        emscripten_pause_main_loop();
    } else {
        emscripten_resume_main_loop();
    }
    return EM_FALSE;
}

}  // namespace

void RunFrameLoop(FrameLoopStep step, FrameLoopDone done, void* context) {
    loop = FrameLoop{step, done, context, WebDisplayIsOffscreen(), true};
    emscripten_set_visibilitychange_callback(nullptr, EM_FALSE, OnVisibilityChange);
    // Returns at once; the browser calls OnBrowserFrame from now on.
    emscripten_set_main_loop_arg(OnBrowserFrame, nullptr, 0, EM_FALSE);
    if (loop.offline) {
        // Not tied to the display's refresh, and not stopped in a hidden page.
        emscripten_set_main_loop_timing(EM_TIMING_SETIMMEDIATE, 0);
    }
}
