// One run of the show: start-up, the frame road and shutdown, for every kind of run.
#include "shell/show_run.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "gfx/toolkit_resources.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "platform/message_box.h"
#include "platform/signals.h"
#include "platform/video_file.h"
#include "platform/window_messages.h"
#include "shell/capture_writer.h"
#include "shell/demo_window.h"
#include "shell/hidden_switch.h"
#include "shell/music_hooks.h"

namespace {

constexpr int32_t kBenchFps = 60;
// Capture and benchmark runs without an end frame stop here even if the show never ends.
constexpr double kLongestOfflineShowSeconds = 600.0;

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double ShowSeconds(const ShowRun& run) {
    return run.clock.fixedFps > 0
               ? static_cast<double>(run.frame) / static_cast<double>(run.clock.fixedFps)
               : 0.0;
}

// Offline runs: hands the frame's picture (when wanted) and the sound that ends with it to the
// output. An export leaves out the frames before --frames A, sound and all, so its sound lasts
// exactly as long as its pictures; a capture's audio.wav always runs from the start. While the
// show is paused its frames are silence, and the song waits where the show stands.
void EmitOfflineFrame(ShowRun& run) {
    const DemoOptions& options = run.options;
    const bool exporting = options.mode == RunMode::Export;
    const bool wanted = run.frame >= options.firstFrame;
    const bool heard = !run.study.paused;
    if (exporting && !wanted) {
        RenderMusicUpTo(run.position.frame, options.fps, nullptr);
        return;
    }
    std::vector<int16_t> pcm;
    RenderMusicUpTo(run.position.frame, options.fps, heard ? &pcm : nullptr);
    if (!heard) {
        AppendFrameSilence(run.frame, options.fps, &pcm);
    }
    if (!OfflineOutputAddFrame(run.output, run.frame, wanted, std::move(pcm))) {
        run.failed = true;
        run.show.quitRequested = true;
    }
}

// One pass of the frame road: the study keys waiting, then step, clear, draw the selected scene,
// text state (unless paused, or a seek has just drawn the frame), then present (or hand to the
// offline output). Frames before --from's start are drawn but never shown.
void RunFrame(ShowRun& run) {
    ++run.frame;
    const auto started = std::chrono::steady_clock::now();
    RehearsalMoveWhenReady(run.rehearsal, run.position.frame + 1);
    ShowState& show = run.show;
    const TimelineEntry* drawn = nullptr;
    if (StudyBeginPass(run) == PassPicture::NewFrame) {
        const bool seen = run.frame > run.skipFrames;
        drawn = AdvanceShow(run.study.travel, show, run.position, FrameClockStep(run.clock), seen);
    }

    const DemoOptions& options = run.options;
    const bool skipping = run.frame <= run.skipFrames;
    if (run.musicStarted && options.mode == RunMode::Show) {
        ServiceMusic();
    }
    if (run.offline) {
        if (skipping) {
            RenderMusicUpTo(run.position.frame, options.fps, nullptr);
        } else {
            EmitOfflineFrame(run);
        }
        ProgressUpdate(run.progress, run.frame);
    } else if (!skipping) {
        StudyPresent(run);
    }
    if (options.mode == RunMode::Bench) {
        glFinish();
        const std::chrono::duration<double, std::milli> spent =
            std::chrono::steady_clock::now() - started;
        BenchRecord(run.bench, drawn, spent.count());
    }

    if (run.offline || options.mode == RunMode::Bench) {
        if (options.lastFrame > 0 && run.frame >= options.lastFrame) {
            show.quitRequested = true;
        } else if (ShowSeconds(run) >= kLongestOfflineShowSeconds) {
            ProgressEnd(run.progress, run.frame);
            std::fprintf(stderr, "demo: stopped after %.0f s of show time\n",
                         kLongestOfflineShowSeconds);
            show.quitRequested = true;
        }
    }
    if (PendingStopRequest() != StopRequest::None) {
        show.quitRequested = true;
    }
    StudyEndPass(run);
}

// The live show starts its music, and its clock, once the frames before --from are drawn, so
// that the picture and the sound start together.
void StartLiveMusicWhenDue(ShowRun& run) {
    if (run.musicStarted || run.frame < run.skipFrames) {
        return;
    }
    run.musicStarted = true;
    if (run.options.mode == RunMode::Show) {
        StartMusic(run.show.hiddenMode, run.position.milliseconds / 1000.0);
        run.clock.fixedFps = 0;
        FrameClockStart(run.clock);
    }
}

// Checks what can be checked before any window opens: an output that cannot be written is a bad
// command line (status 2) and leaves nothing behind.
bool PrepareOutput(const DemoOptions& options, std::string* error) {
    if (options.mode == RunMode::Capture) {
        return PrepareCaptureDir(options.captureDir, error);
    }
    if (options.mode == RunMode::Export) {
        if (!VideoFileSupported()) {
            *error = "this build cannot write video files; use --capture DIR --fps N instead";
            return false;
        }
        return PrepareExportFile(options.exportPath, error);
    }
    return true;
}

bool OpenOutput(ShowRun& run, std::string* error) {
    const DemoOptions& options = run.options;
    if (options.mode == RunMode::Capture) {
        return OfflineOutputOpenCapture(run.output, options.captureDir, error);
    }
    VideoFileConfig config;
    config.scale = options.scale;
    config.fps = options.fps;
    config.crf = options.crf;
    config.preset = options.preset.c_str();
    return OfflineOutputOpenExport(run.output, options.exportPath, config, error);
}

// Ends an offline run: the output finished or removed, one line saying what was written or where
// it stopped. Returns the exit status.
int FinishOffline(ShowRun& run) {
    const DemoOptions& options = run.options;
    const StopRequest stop = PendingStopRequest();
    const bool exporting = options.mode == RunMode::Export;
    const bool neverStarted = !run.failed && stop == StopRequest::None &&
                              (run.frame <= run.skipFrames || run.frame < options.firstFrame);
    std::string error;
    const bool finished = OfflineOutputFinish(
        run.output, !neverStarted && (!exporting || stop == StopRequest::None), &error);
    // A run that wrote nothing ends on its message alone, not on a last progress line.
    ProgressEnd(run.progress, neverStarted ? 0 : run.frame);
    if (neverStarted) {
        // Nothing that was asked for exists, so the show's sound alone is not kept either.
        if (!exporting) {
            std::remove((options.captureDir + "/audio.wav").c_str());
        }
        if (run.frame <= run.skipFrames) {
            std::fprintf(stderr,
                         "demo: --from %g is past the show's end (frame %lld, %.2f s at %d "
                         "frames per second)\n",
                         options.fromSeconds, static_cast<long long>(run.frame), ShowSeconds(run),
                         options.fps);
            return 2;
        }
        std::fprintf(stderr, "demo: the show ended at frame %lld, before frame %d\n",
                     static_cast<long long>(run.frame), options.firstFrame);
        return 1;
    }
    const int64_t last = run.output.lastWritten;
    if (stop != StopRequest::None) {
        std::fprintf(stderr, "demo: stopped by %s after frame %lld%s\n", StopRequestName(stop),
                     static_cast<long long>(exporting ? run.frame : last),
                     exporting ? "; the unfinished video was removed"
                               : "; the frames and audio written up to it are complete");
        return StopRequestExitStatus(stop);
    }
    if (!finished) {
        std::fprintf(stderr, "demo: %s; %s\n", error.c_str(),
                     exporting ? "the unfinished video was removed"
                               : ("the capture ends at frame " + std::to_string(last)).c_str());
        return 1;
    }
    const int64_t first =
        options.firstFrame > run.skipFrames ? options.firstFrame : run.skipFrames + 1;
    const double seconds = static_cast<double>(last - first + 1) / options.fps;
    char length[48];
    FormatDuration(seconds, length);
    if (exporting) {
        std::fprintf(stderr, "demo: wrote %s: %.1f MB, %s (%.2f s, %lld frames at %d fps)\n",
                     options.exportPath.c_str(),
                     static_cast<double>(FileBytes(options.exportPath)) / 1e6, length, seconds,
                     static_cast<long long>(last - first + 1), options.fps);
    } else {
        std::fprintf(stderr, "demo: wrote frames %lld to %lld and audio.wav to %s (%s)\n",
                     static_cast<long long>(first), static_cast<long long>(last),
                     options.captureDir.c_str(), length);
    }
    return 0;
}

}  // namespace

bool ShowRunOpen(ShowRun& run, const DemoOptions& options) {
    run.options = options;
    const bool bench = options.mode == RunMode::Bench;
    run.offline = options.mode == RunMode::Capture || options.mode == RunMode::Export;
    InstallStopRequestHandlers();
    std::string error;
    if (!StudyOpen(run.study, options, &error) || !PrepareOutput(options, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        run.status = 2;
        return false;
    }

    ShowState& show = run.show;
    show.hiddenMode = ReadHiddenSwitch("magicman.txt");
    if (show.hiddenMode && options.mode == RunMode::Export) {
        std::fprintf(stderr,
                     "demo: magicman.txt turns on the hidden part, a game that needs a player at "
                     "the keys; it cannot be exported\n");
        run.status = 2;
        return false;
    }
    if (show.hiddenMode) {
        ShowMessageBox("Hidden part", "Ok", options.mode == RunMode::Show);
    }
    DisplayMode displayMode = options.windowed ? DisplayMode::Window : DisplayMode::Fullscreen;
    if (run.offline || bench) {
        displayMode = DisplayMode::Offscreen;
    }
    const auto windowBegan = std::chrono::steady_clock::now();
    if (!CreateDemoWindow(displayMode)) {
        std::fprintf(stderr, "demo: %s\n", DisplayLastError());
        run.status = 1;
        return false;
    }
    // Only the benchmark waits for the driver, so that its times include the GL work queued.
    if (bench) {
        glFinish();
    }
    const auto startupBegan = std::chrono::steady_clock::now();
    CreateToolkitStartupResources();
    RunSceneInitialisations();
    // The live show and the benchmark get their drawing paths ready ahead of use where there is
    // a second context to do it on; captures and exports do not mind a slow frame, and the
    // hidden game draws little.
    if (!run.offline && !show.hiddenMode) {
        RehearsalStart(run.rehearsal, show, run.position);
    }
    if (bench) {
        glFinish();
    }
    const auto startupEnded = std::chrono::steady_clock::now();
    run.bench.windowMilliseconds = Milliseconds(startupBegan - windowBegan);
    run.bench.startupMilliseconds = Milliseconds(startupEnded - startupBegan);
    if (run.offline && !OpenOutput(run, &error)) {
        std::fprintf(stderr, "demo: %s\n", error.c_str());
        DestroyDemoWindow();
        run.status = 2;
        return false;
    }

    if (run.offline) {
        run.clock.fixedFps = options.fps;
        run.skipFrames = std::llround(options.fromSeconds * options.fps);
        UseOfflineMusic();
        StartMusic(show.hiddenMode, 0.0);
        run.musicStarted = true;
        const int64_t expectedLast =
            options.lastFrame > 0
                ? options.lastFrame
                : (show.hiddenMode ? 0 : std::llround(kShowLengthSeconds * options.fps));
        // Frames before --from and before --frames A are drawn too, and count as work done.
        ProgressStart(run.progress, 1, expectedLast, options.fps);
    } else if (bench) {
        run.clock.fixedFps = kBenchFps;
        run.musicStarted = true;
    } else {
        run.clock.fixedFps = kTravelFps;
        run.skipFrames = std::llround(options.fromSeconds * kTravelFps);
    }
    StudyStart(run);
    FrameClockStart(run.clock);
    return true;
}

bool ShowRunStep(ShowRun& run) {
    ShowState& show = run.show;
    while (!show.quitRequested) {
        StartLiveMusicWhenDue(run);
        WindowMessage message;
        if (!PeekWindowMessage(&message)) {
            RunFrame(run);
            break;
        }
        if (message.kind == MessageKind::Quit) {
            show.quitRequested = true;
        } else {
            WindowProc(show, message);
            StudyWindowMessage(run, message);
        }
    }
    return !show.quitRequested;
}

void ShowRunClose(ShowRun& run) {
    const DemoOptions& options = run.options;
    const bool bench = options.mode == RunMode::Bench;
    int status = 0;
    if (run.musicStarted && !bench) {
        StopMusic();
    }
    if (run.offline) {
        status = FinishOffline(run);
    } else if (options.mode == RunMode::Show && run.frame <= run.skipFrames &&
               PendingStopRequest() == StopRequest::None && !run.musicStarted) {
        std::fprintf(stderr, "demo: --from %g is past the show's end\n", options.fromSeconds);
        status = 2;
    }
    RehearsalEnd(run.rehearsal);
    DestroyDemoWindow();
    if (bench) {
        BenchPrint(run.bench, stdout);
        RehearsalPrint(run.rehearsal, stdout);
    }
    if (!run.offline && PendingStopRequest() != StopRequest::None) {
        const StopRequest stop = PendingStopRequest();
        std::fprintf(stderr, "demo: stopped by %s\n", StopRequestName(stop));
        status = StopRequestExitStatus(stop);
    }
    run.status = status;
}
