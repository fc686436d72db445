// The rehearsal: the show drawn unseen, while it plays, on a low-priority thread with GL contexts
// of its own, so that the driver builds its program for every combination of drawing state the
// show uses before the show needs it; the show then moves to those contexts, where the programs
// are (a driver keeps them per context, and its disk cache may be empty or turned off). The first
// showing on a fresh machine then runs as smoothly as the tenth.
//
// It goes in two rounds, each on a context of its own: first the opening visit alone, which is
// done within about a second, and the show moves to that context; then the whole show from the
// start, and the show moves again. Before either, the show's own first frames are drawn unseen at
// start-up and put back: they come before the first round could be done.
//
// The rehearsing thread has its own scene records, toolkit resources and random sequence (they
// are per thread). It makes no display lists and draws what they hold directly, since a list played
// on a context that shares the show's would hold the show's own lists up (core/gl_objects.h). It
// draws into a picture of its own and deletes what it made when it is done: the
// show's pictures, sound and state are untouched, and the show goes on as before wherever there is
// no second context (Windows, the web, our own GL layer) or the rehearsal has not finished.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <thread>

#include "shell/show_frame.h"
#include "shell/timeline.h"

// The rehearsal's frame step: 20 frames per second of show time reach every drawing state the
// show at 60 Hz reaches, in a third of the frames.
constexpr int32_t kRehearsalFps = 20;

// The show's first 0.6 s, rehearsed on the show's own context at start-up: drawing states the
// opening first reaches there (at 0.5 s) would otherwise come before the first round is done.
constexpr int32_t kStartRehearsalFrames = 12;

// A first frame drawn faster than this had its programs from the driver's disk cache (building
// them takes 100-200 ms here, loading them a few): the later frames' are there too, and the start
// is not slowed by drawing them.
constexpr double kCachedFirstFrameMilliseconds = 40.0;

struct Rehearsal {
    int32_t fps = kRehearsalFps;
    std::thread thread;
    bool running = false;  // started and not yet joined
    // Rounds the thread has finished, its context left for the show to take: 1 the opening's,
    // 2 the whole show's.
    std::atomic<int32_t> roundsDone = 0;
    std::atomic<bool> nextContextOpen = false;  // the second round's context is there to use
    std::atomic<bool> stop = false;             // asks the thread to end early
    // Written by the thread before the round that reports it; read after it.
    bool drewShow = false;  // the second round drew the whole show
    int64_t framesDrawn = 0;
    double milliseconds = 0.0;  // the thread's wall time, its own set-up included
    // Main thread: the frames drawn at start-up on the show's context; the moves made, and the
    // show frame (1 = the first) each was made before.
    int32_t startFrames = 0;
    int32_t moves = 0;
    int64_t movedBeforeFrame[2] = {};
};

// Main thread, once the show's own set-up has run: opens a second context, draws the show's first
// frames unseen and puts the show back as it was (so that the driver has built their programs
// before they are due), and starts the thread. False, with nothing drawn or started,
// where there is no second context.
bool RehearsalStart(Rehearsal& rehearsal, ShowState& show, ShowPosition& position);

// Main thread, before drawing show frame `frame`: moves the show to the context of a round the
// thread has finished, with the GL state the show set carried over. True on a pass that moved.
bool RehearsalMoveWhenReady(Rehearsal& rehearsal, int64_t frame);

// Main thread: stops the rehearsal if it still runs and drops a context the show did not take.
// Safe at any time.
void RehearsalEnd(Rehearsal& rehearsal);

// One line for the benchmark: how the rehearsal went and where the show moved.
void RehearsalPrint(const Rehearsal& rehearsal, std::FILE* out);
