// The rehearsing thread's two rounds, and the show's moves to their contexts.
#include "shell/rehearsal.h"

#include <chrono>

#include "core/frame_clock.h"
#include "core/gl_objects.h"
#include "core/screen.h"
#include "gfx/gl_state_snapshot.h"
#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "platform/thread_priority.h"
#include "shell/show_snapshots.h"

namespace {

// A show that has not ended by then never will (the live show is 131 s long).
constexpr int64_t kMostSeconds = 600;
constexpr auto kPoll = std::chrono::milliseconds(1);

void Rehearse(Rehearsal& rehearsal) {
    const auto began = std::chrono::steady_clock::now();
    LowerCurrentThreadPriority();
    DrawListsDirectlyOnThisThread(true);
    if (!DisplayUseSecondContextHere()) {
        rehearsal.roundsDone.store(2, std::memory_order_release);
        return;
    }
    // The same set-up as the show's, into this thread's own records and textures.
    SetupGlContext();
    CreateToolkitStartupResources();
    RunSceneInitialisations();
    ShowState show;
    ShowPosition position;
    ShowSnapshot start;
    TakeSnapshot(start, show, position, 0);
    const float step = FixedFrameStep(rehearsal.fps);
    const int64_t mostFrames = kMostSeconds * rehearsal.fps;
    const auto drawWhile = [&](auto&& more) {
        while (!show.quitRequested && position.frame < mostFrames && more() &&
               !rehearsal.stop.load(std::memory_order_relaxed)) {
            DrawNextFrame(show, position, step, false);
        }
    };

    // Round one: the opening visit, which the show plays first.
    const int32_t opening = show.sceneCounter;
    drawWhile([&] { return show.sceneCounter == opening; });
    DisplayLeaveSecondContext();
    rehearsal.roundsDone.store(1, std::memory_order_release);
    while (!rehearsal.nextContextOpen.load(std::memory_order_acquire)) {
        if (rehearsal.stop.load(std::memory_order_relaxed)) {
            // What this thread made stays until the process ends: with no context, it cannot
            // be deleted, and the show is ending anyway.
            return;
        }
        std::this_thread::sleep_for(kPoll);
    }

    // Round two: the whole show from the start, on the context the show keeps.
    if (DisplayUseSecondContextHere()) {
        RestoreSnapshot(start, show, position);
        drawWhile([] { return true; });
        rehearsal.drewShow = show.quitRequested;
        rehearsal.framesDrawn = position.frame;
        ReleaseSharedTextures();
        DeleteThisThreadsGlObjects();
        DisplayLeaveSecondContext();
    }
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - began;
    rehearsal.milliseconds = spent.count();
    rehearsal.roundsDone.store(2, std::memory_order_release);
}

// Moves the show to the second context with the GL state it set: objects (textures, lists, the
// picture's buffers) are shared, the state is each context's own.
bool MoveShow() {
    GlStateSnapshot state;
    GlStateCapture(state);
    if (!DisplayMoveToSecondContext()) {
        return false;
    }
    GlStateRestore(state);
    return true;
}

// Returns the frames drawn: all of them, or only the first where its programs came from the
// driver's disk cache (it was quick), as the later ones' then will too.
int32_t RehearseShowStart(ShowState& show, ShowPosition& position) {
    ShowSnapshot before;
    TakeSnapshot(before, show, position, 0);
    const float step = FixedFrameStep(kRehearsalFps);
    int32_t frames = 0;
    while (frames < kStartRehearsalFrames) {
        const auto began = std::chrono::steady_clock::now();
        DrawNextFrame(show, position, step, false);
        ++frames;
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - began;
        if (frames == 1 && spent.count() < kCachedFirstFrameMilliseconds) {
            break;
        }
    }
    RestoreSnapshot(before, show, position);
    return frames;
}

}  // namespace

bool RehearsalStart(Rehearsal& rehearsal, ShowState& show, ShowPosition& position) {
    if (rehearsal.running || rehearsal.moves > 0 || !DisplayOpenSecondContext()) {
        return false;
    }
    rehearsal.startFrames = RehearseShowStart(show, position);
    rehearsal.roundsDone = 0;
    rehearsal.nextContextOpen = false;
    rehearsal.stop = false;
    rehearsal.thread = std::thread(Rehearse, std::ref(rehearsal));
    rehearsal.running = true;
    return true;
}

bool RehearsalMoveWhenReady(Rehearsal& rehearsal, int64_t frame) {
    if (!rehearsal.running) {
        return false;
    }
    const int32_t rounds = rehearsal.roundsDone.load(std::memory_order_acquire);
    if (rehearsal.moves == 0 && rounds == 1) {
        if (!MoveShow()) {
            RehearsalEnd(rehearsal);
            return false;
        }
        rehearsal.movedBeforeFrame[rehearsal.moves++] = frame;
        // The second round's context, in the share group the show now draws with.
        if (DisplayOpenSecondContext()) {
            rehearsal.nextContextOpen.store(true, std::memory_order_release);
        } else {
            RehearsalEnd(rehearsal);
        }
        return true;
    }
    if (rounds < 2) {
        return false;
    }
    rehearsal.thread.join();
    rehearsal.running = false;
    if (!rehearsal.drewShow || !MoveShow()) {
        DisplayCloseSecondContext();
        return false;
    }
    rehearsal.movedBeforeFrame[rehearsal.moves++] = frame;
    return true;
}

void RehearsalEnd(Rehearsal& rehearsal) {
    if (rehearsal.running) {
        rehearsal.stop = true;
        rehearsal.thread.join();
        rehearsal.running = false;
    }
    DisplayCloseSecondContext();
}

void RehearsalPrint(const Rehearsal& rehearsal, std::FILE* out) {
    if (rehearsal.moves == 0 && rehearsal.framesDrawn == 0) {
        std::fprintf(out, "rehearsal: none (no second GL context here, or the show ended first)\n");
        return;
    }
    std::fprintf(out,
                 "rehearsal: %d frames at start-up; %lld frames of the whole show drawn unseen in "
                 "%.0f ms",
                 rehearsal.startFrames, static_cast<long long>(rehearsal.framesDrawn),
                 rehearsal.milliseconds);
    for (int32_t i = 0; i < rehearsal.moves; ++i) {
        std::fprintf(out, "%s before frame %lld", i == 0 ? "; the show moved" : " and",
                     static_cast<long long>(rehearsal.movedBeforeFrame[i]));
    }
    std::fprintf(out, "\n");
}
