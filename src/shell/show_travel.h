// Moving the show to another point, as fast as it can be drawn: from the latest snapshot before
// the target (or from where it stands, when that is nearer), frames drawn unseen up to the target,
// as --from does, and the target's own frame drawn whole. Offline runs travel in whole frames of
// their fixed step with the song rendered silently alongside; the live show travels in show time,
// and its caller puts the sound where the show time calls for once it plays again.
#pragma once

#include <cstdint>
#include <vector>

#include "shell/show_frame.h"
#include "shell/show_snapshots.h"
#include "shell/timeline.h"

// Where a visit of the show began: its first frame, and the show time at that frame's end.
struct VisitStart {
    int64_t frame = -1;  // -1: not drawn yet
    double milliseconds = 0.0;
};

struct ShowTravel {
    // Offline: the run's frames per second, whose fixed step every frame is drawn with and whose
    // frames the song is rendered by. 0 for the live show.
    int32_t fps = 0;
    bool keepSnapshots = false;  // take snapshots as frames are drawn (every travel needs them)
    ShowSnapshots snapshots;
    VisitStart visitStarts[kLastSceneCounter + 1];  // by counter value
};

// The live show travels, and draws the frames before --from's start, in steps of this many frames
// per second of show time: a third as many frames as at 60 Hz, so the travel takes a fraction of
// the time it covers.
constexpr int32_t kTravelFps = 20;
// The live show's first frame ends at this show time; travel never goes before it.
constexpr double kFirstFrameMilliseconds = 1000.0 / 60.0;

// Draws the show's next frame (DrawNextFrame, seen or not), notes where a visit began, and takes
// a snapshot when one is due. Every frame of a run that keeps snapshots goes through here.
const TimelineEntry* AdvanceShow(ShowTravel& travel, ShowState& show, ShowPosition& position,
                                 float frameStep, bool seen);

// The output frame of the song at the end of the position's frame: by frame number offline (as
// RenderMusicUpTo counts), by show time live.
int64_t MusicFrameOf(const ShowTravel& travel, const ShowPosition& position);

// Offline: travels so that show frame `frame` (at least 1) is the picture, drawn, with the song
// rendered silently up to the frame before; at the show's end if it ends first.
void TravelToFrame(ShowTravel& travel, ShowState& show, ShowPosition& position, int64_t frame);

// Live: travels so that the picture is the frame ending at show time `milliseconds` (at least
// kFirstFrameMilliseconds); at the show's end if it ends first.
void TravelToTime(ShowTravel& travel, ShowState& show, ShowPosition& position, double milliseconds);

// Travels to the first frame of the visit with counter value `counter`: where it was drawn
// before, or, ahead of what has been drawn, by drawing on until it begins (or the show ends).
void TravelToVisit(ShowTravel& travel, ShowState& show, ShowPosition& position, int32_t counter);
