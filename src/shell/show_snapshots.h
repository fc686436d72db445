// Snapshots of the whole show, taken every so often while it plays, so that a seek can start
// from the latest one before its target and draw forward from there.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "gfx/gl_state_snapshot.h"
#include "shell/show_frame.h"
#include "shell/timeline.h"

// The show's state at the end of one frame: with it put back, the next frames draw and sound
// exactly as they did after that frame.
struct ShowSnapshot {
    ShowPosition position;           // where the show stood (frames, show time, visit)
    int32_t sceneCounter = 0;        // the timeline's position
    float frameStep = 0.0f;          // the step the frame was drawn with
    uint32_t randState = 0;          // the one random sequence
    std::vector<uint8_t> scenes;     // every scene record and changing scene global
    GlStateSnapshot gl;              // the GL state the frame left for the next ones
    std::vector<uint32_t> feedback;  // the feedback texture, which frames copy into
    int64_t musicFrame = 0;          // output frames of the song played by the end of the frame
};

struct ShowSnapshots {
    std::vector<ShowSnapshot> list;  // in show order; the first at the show's start
    // Show time between snapshots: a seek draws at most this much unseen (5 frames of the live
    // show's travel step), and a whole show's snapshots take about 20 MB.
    double intervalMilliseconds = 250.0;
};

// Takes a snapshot of the show as it stands now, whose song has played `musicFrame` frames.
void TakeSnapshot(ShowSnapshot& snapshot, const ShowState& show, const ShowPosition& position,
                  int64_t musicFrame);

// Adds a snapshot when the show has gone the interval past the latest one (or there is none).
// Never at the frame that ends the show. True when one was taken.
bool SnapshotWhenDue(ShowSnapshots& snapshots, const ShowState& show, const ShowPosition& position,
                     int64_t musicFrame);

// Puts the scenes, the random sequence, the timeline, the feedback texture and the GL state
// back as the snapshot holds them, and the position. The song is the caller's: it goes to
// snapshot.musicFrame offline, or wherever the show time calls for once the sound plays again.
// The held arrow keys stay as they are.
void RestoreSnapshot(const ShowSnapshot& snapshot, ShowState& show, ShowPosition& position);

// The latest snapshot taken before show frame `frame` (position.frame < frame), or before show
// time `milliseconds`; null when there is none.
const ShowSnapshot* LatestSnapshotBeforeFrame(const ShowSnapshots& snapshots, int64_t frame);
const ShowSnapshot* LatestSnapshotBeforeTime(const ShowSnapshots& snapshots, double milliseconds);

// Memory the snapshots hold, in bytes.
size_t SnapshotBytes(const ShowSnapshots& snapshots);
