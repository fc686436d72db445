// One frame of the show's picture, and where the show stands: the frames drawn and the show time
// they add up to.
#pragma once

#include <cstdint>

#include "shell/timeline.h"

// Main thread only.
struct ShowPosition {
    int64_t frame = 0;          // show frames drawn since the start; the last one is the picture
    double milliseconds = 0.0;  // show time at the end of that frame: its steps, 50 ms each
    int32_t visit = -1;         // the counter value that frame was drawn with; -1 before any
};

// Draws the show's next frame into the picture with the given step (units of 50 ms): the clear,
// the selected scene, the end-of-frame text state. Moves the position on. Returns the entry
// drawn, or null when only the cleared screen shows.
//
// A frame that will not be seen (before --from's start, or on the way to a seek's target) is
// drawn with the scissor test keeping it to the corner the screen feedback copies from: the only
// pixels a later frame can read. Everything else it leaves (scene records, GL state, the feedback
// texture) is what drawing it whole leaves, and it costs the software renderer about a tenth.
const TimelineEntry* DrawNextFrame(ShowState& show, ShowPosition& position, float frameStep,
                                   bool seen);
