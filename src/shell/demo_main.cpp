// The program: command line, start-up, main loop, frame road and shutdown.
#include "shell/demo_main.h"

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "core/frame_clock.h"
#include "gfx/toolkit_resources.h"
#include "platform/allocator.h"
#include "platform/display.h"
#include "platform/message_box.h"
#include "platform/signals.h"
#include "platform/window_messages.h"
#include "shell/bench_table.h"
#include "shell/capture_writer.h"
#include "shell/command_line.h"
#include "shell/demo_window.h"
#include "shell/hidden_switch.h"
#include "shell/music_hooks.h"
#include "shell/timeline.h"

#ifndef DEMO_VERSION
#define DEMO_VERSION "unknown"
#endif

namespace {

constexpr int32_t kBenchFps = 60;
// Capture and benchmark runs without an end frame stop here even if the show never ends.
constexpr double kLongestOfflineShowSeconds = 600.0;

struct RunState {
    const DemoOptions& options;
    ShowState show;
    FrameClock clock;
    int64_t frame = 0;        // frames drawn so far
    int64_t lastWritten = 0;  // capture: the last frame written with its audio; 0 for none
    BenchTable bench;
    ProgressLine progress;
    bool failed = false;
    std::string failure;  // capture: the one-line reason it stopped early, said after the progress
};

double ShowSeconds(const RunState& run) {
    return run.clock.fixedFps > 0
               ? static_cast<double>(run.frame) / static_cast<double>(run.clock.fixedFps)
               : 0.0;
}

// One pass of the frame road: step, clear, draw the selected scene, text state, present.
void RunFrame(RunState& run) {
    ++run.frame;
    const auto started = std::chrono::steady_clock::now();
    ShowState& show = run.show;
    show.frame.frameStep = FrameClockStep(run.clock);
    if (show.hiddenMode) {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    } else {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    }
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    const TimelineEntry* drawn = DrawShowFrame(show);
    if (!show.hiddenMode) {
        RestoreFrameTextState();
    }

    const DemoOptions& options = run.options;
    if (options.mode == RunMode::Capture) {
        // Pictures and audio end together: the audio only advances past a frame once the frame
        // is written, and a frame whose audio cannot be written is taken back.
        std::string error;
        const bool wanted = run.frame >= options.firstFrame;
        if (wanted && !WriteCaptureFrame(options.captureDir, run.frame, &error)) {
            run.failed = true;
        } else if (!CaptureAudioAdvance(run.frame, options.fps)) {
            if (wanted) {
                std::remove(CaptureFrameFile(options.captureDir, run.frame).c_str());
            }
            error = "cannot write '" + options.captureDir + "/audio.wav'";
            run.failed = true;
        } else if (wanted) {
            run.lastWritten = run.frame;
        }
        if (run.failed) {
            run.failure = error + "; the capture ends at frame " + std::to_string(run.lastWritten);
            show.quitRequested = true;
        }
        ShowProgress(run.progress, run.frame, ShowSeconds(run), false);
    }
    DisplayPresent();
    if (options.mode == RunMode::Bench) {
        glFinish();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - started;
        BenchRecord(run.bench, drawn, spent.count());
    }

    const bool offline = options.mode == RunMode::Capture || options.mode == RunMode::Bench;
    if (offline) {
        if (options.lastFrame > 0 && run.frame >= options.lastFrame) {
            show.quitRequested = true;
        } else if (ShowSeconds(run) >= kLongestOfflineShowSeconds) {
            std::fprintf(stderr, "\ndemo: stopped after %.0f s of show time\n",
                         kLongestOfflineShowSeconds);
            show.quitRequested = true;
        }
    }
    if (PendingStopRequest() != StopRequest::None) {
        show.quitRequested = true;
    }
}

int RunShow(const DemoOptions& options) {
    const bool capture = options.mode == RunMode::Capture;
    const bool bench = options.mode == RunMode::Bench;
    InstallStopRequestHandlers();
    std::string error;
    if (capture && !PrepareCaptureDir(options.captureDir, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        return 2;
    }

    RunState run{options, ShowState{}, FrameClock{}, 0, 0, BenchTable{}, ProgressLine{}, false, {}};
    ShowState& show = run.show;
    show.hiddenMode = ReadHiddenSwitch("magicman.txt");
    if (show.hiddenMode) {
        ShowMessageBox("Hidden part", "Ok", options.mode == RunMode::Show);
    }
    DisplayMode displayMode = options.windowed ? DisplayMode::Window : DisplayMode::Fullscreen;
    if (capture || bench) {
        displayMode = DisplayMode::Offscreen;
    }
    if (!CreateDemoWindow(displayMode)) {
        std::fprintf(stderr, "demo: %s\n", DisplayLastError());
        return 1;
    }
    CreateToolkitStartupResources();
    RunSceneInitialisations();
    if (capture) {
        const std::string wavPath = options.captureDir + "/audio.wav";
        if (!CaptureAudioBegin(wavPath.c_str())) {
            std::fprintf(stderr, "demo: cannot write '%s'\n", wavPath.c_str());
            DestroyDemoWindow();
            return 2;
        }
    }
    if (!bench) {
        StartMusic(show.hiddenMode);
    }

    if (capture) {
        run.clock.fixedFps = options.fps;
    } else if (bench) {
        run.clock.fixedFps = kBenchFps;
    }
    FrameClockStart(run.clock);

    while (!show.quitRequested) {
        WindowMessage message;
        if (PeekWindowMessage(&message)) {
            if (message.kind == MessageKind::Quit) {
                show.quitRequested = true;
                break;
            }
            WindowProc(show, message);
            continue;
        }
        RunFrame(run);
    }

    if (!bench) {
        StopMusic();
    }
    if (capture) {
        ShowProgress(run.progress, run.frame, ShowSeconds(run), true);
        if (!run.failure.empty()) {
            std::fprintf(stderr, "demo: %s\n", run.failure.c_str());
        }
        if (!CaptureAudioEnd()) {
            std::fprintf(stderr, "demo: cannot finish '%s/audio.wav'\n",
                         options.captureDir.c_str());
            run.failed = true;
        }
    }
    const StopRequest stop = PendingStopRequest();
    if (capture && stop == StopRequest::None && !run.failed && run.frame < options.firstFrame) {
        // Nothing that was asked for exists, so the show's sound alone is not kept either.
        std::remove((options.captureDir + "/audio.wav").c_str());
        std::fprintf(stderr, "demo: the show ended at frame %lld, before frame %d\n",
                     static_cast<long long>(run.frame), options.firstFrame);
        run.failed = true;
    }
    DestroyDemoWindow();
    if (bench) {
        BenchPrint(run.bench, stdout);
    }
    if (stop != StopRequest::None) {
        std::fprintf(stderr, "demo: stopped by %s after frame %lld%s\n", StopRequestName(stop),
                     static_cast<long long>(run.frame),
                     capture ? "; the frames and audio written up to it are complete" : "");
        return StopRequestExitStatus(stop);
    }
    return run.failed ? 1 : 0;
}

}  // namespace

int DemoMain(int argc, char** argv) {
    DemoOptions options;
    std::string error;
    if (!ParseCommandLine(argc, argv, &options, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        return 2;
    }
    switch (options.mode) {
        case RunMode::Help:
            std::fputs(UsageText(), stdout);
            return 0;
        case RunMode::Version:
            std::printf("demo %s\n", DEMO_VERSION);
            return 0;
        default:
            KeepFreedMemoryForReuse();
            return RunShow(options);
    }
}
