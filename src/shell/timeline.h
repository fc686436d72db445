// The show's timeline: one table saying, in show order, which scene each value of the show
// counter selects, with the scene's set-up and draw routine; and the show's running state.
#pragma once

#include <cstdint>

#include "core/frame_input.h"

struct TimelineEntry {
    const char* name;         // for progress and benchmark tables
    int32_t firstCounter;     // counter values firstCounter, +stride, ..., lastCounter select it;
    int32_t lastCounter;      // -1 for both: the hidden mode's scene, on no counter value
    int32_t counterStride;    // 1, or 2 where two scenes take turns
    int32_t startupPosition;  // when its set-up runs: the set-ups draw on the one random sequence,
                              // and the first of them fills the shared textures the rest use
    SceneInitRoutine init;    // null when the scene needs no set-up
    SceneDrawRoutine draw;
};

constexpr int32_t kTimelineLength = 13;
extern const TimelineEntry kTimeline[kTimelineLength];

// The hidden mode draws this entry every frame, whatever the counter holds.
extern const TimelineEntry& kHiddenScene;

// The last counter value of the show: the visit that ends there ends the show.
constexpr int32_t kLastSceneCounter = 53;

// About how long the show lasts: 132.1 s at a 20 fps step, 131.0 s at 60 (the visits end on
// strict clock thresholds, so the length depends a little on the step).
constexpr double kShowLengthSeconds = 132.1;

// The entry the counter selects: the hidden scene in the hidden mode; otherwise the entry whose
// counter values hold it, or null (the cleared screen only) for any other value.
const TimelineEntry* SelectScene(int32_t sceneCounter, bool hiddenMode);

// Runs every scene's set-up in start-up order, in both modes. Needs the GL context and the
// toolkit's resources.
void RunSceneInitialisations();

// What the main loop keeps from frame to frame. Main thread only.
struct ShowState {
    int32_t sceneCounter = 0;  // selects the scene; moved on only by DrawShowFrame
    bool hiddenMode = false;   // set once before the window opens
    bool quitRequested = false;
    FrameInput frame;  // this frame's step and the held arrow keys
};

// After a frame whose visit ended: the counter goes up by one, or, at the last scene, the show
// ends (quitRequested; the counter stays).
void EndVisit(ShowState& show);

// Draws the selected scene for one frame (frame.frameStep already set) and moves the show on
// when its visit ends: the counter goes up by one, or past the last scene the show ends
// (quitRequested). Returns the entry drawn, or null when only the cleared screen shows.
const TimelineEntry* DrawShowFrame(ShowState& show);
