// The study controls: pause, frame steps, seeks and scene jumps, from the live show's keyboard or
// from a key script in any run, and the overlay's switches. With no key pressed a run is exactly
// what it would be without them.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <string>
#include <vector>

#include "gfx/overlay_text.h"
#include "platform/window_messages.h"
#include "shell/command_line.h"
#include "shell/key_script.h"
#include "shell/show_travel.h"
#include "shell/timeline.h"

struct ShowRun;

// What one pass of the frame road shows.
enum class PassPicture {
    NewFrame,  // the show's next frame, drawn now
    Landed,    // the frame a seek or step just drew
    Repeated,  // the paused picture again (offline: in silence)
};

// Main thread only.
struct Study {
    bool enabled = false;  // the normal show, live or with a key script; never a benchmark
    ShowTravel travel;
    std::vector<ScriptedKey> script;
    size_t nextScripted = 0;
    std::deque<StudyKey> pending;  // applied at the start of the next pass
    bool paused = false;
    bool movedWhilePaused = false;  // live: the sound goes to the new show time on resuming
    bool overlayShown = false;
    bool keysShown = false;
    // When Page Up was last applied, to tell a second press soon after it: live in milliseconds
    // of the steady clock, offline in output frames.
    double lastPageUp = -1.0e18;

    // The live overlay's figures.
    std::chrono::steady_clock::time_point passBegan;
    std::chrono::steady_clock::time_point lastPresent;
    double drawMilliseconds = 0.0;   // the last pass, from its start to its presentation
    double frameMilliseconds = 0.0;  // between presentations, smoothed
    OverlayFont font;
};

// Reads the run's key script, if any (before anything is written: a bad one is a bad command
// line) and gets the player ready to seek. False with a one-line reason.
bool StudyOpen(Study& study, const DemoOptions& options, std::string* error);

// Once the run has started (offline: its music too), before the first frame: whether the
// controls run at all, and the snapshot of the show's start.
void StudyStart(ShowRun& run);

// The live show's keys, taken from the window's messages.
void StudyWindowMessage(ShowRun& run, const WindowMessage& message);

// Start of a pass of the frame road: applies the keys waiting (travelling where they say, with
// the live sound following) and says what the pass shows.
PassPicture StudyBeginPass(ShowRun& run);

// End of a pass, once output frame run.frame is out: the script's keys for that frame wait for
// the next pass.
void StudyEndPass(ShowRun& run);

// The live show's presentation: the picture, and the overlay over it when switched on.
void StudyPresent(ShowRun& run);
