// One run of the show, whatever it is for (watching, capture, export, benchmark): its start-up,
// the per-frame step the frame loop calls, and its shutdown.
#pragma once

#include <cstdint>

#include "core/frame_clock.h"
#include "shell/bench_table.h"
#include "shell/command_line.h"
#include "shell/offline_output.h"
#include "shell/progress_line.h"
#include "shell/rehearsal.h"
#include "shell/show_frame.h"
#include "shell/study_controls.h"
#include "shell/timeline.h"

// Everything the run keeps from frame to frame. Main thread only.
struct ShowRun {
    DemoOptions options;
    bool offline = false;  // capture or export: fixed-step clock, lockstep sound, no display
    ShowState show;
    ShowPosition position;  // the show's frames drawn and show time
    FrameClock clock;
    int64_t frame = 0;       // output frames so far: show frames, and paused ones repeated
    int64_t skipFrames = 0;  // output frames drawn unseen before --from's start
    bool musicStarted = false;
    OfflineOutput output;
    BenchTable bench;
    ProgressLine progress;
    Study study;          // pause, steps, seeks, the overlay
    Rehearsal rehearsal;  // the live show's and the benchmark's drawing paths made ready
    bool failed = false;  // writing failed: status 1
    int status = 0;       // the exit status, once ShowRunClose has run
};

// Checks the output, reads the hidden-part switch, opens the picture, runs every set-up and
// starts the music (offline) or gets ready to (live). False when the run cannot start; `status`
// then holds the exit status and a one-line reason is on stderr.
bool ShowRunOpen(ShowRun& run, const DemoOptions& options);

// One pass of the main loop: handles every waiting window message, then draws one frame (unless
// the show is over). Returns whether the show goes on.
bool ShowRunStep(ShowRun& run);

// Stops the music, finishes the offline output and closes the picture; sets `status`.
void ShowRunClose(ShowRun& run);
