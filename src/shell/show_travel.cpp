// Travel through the show: snapshots restored, frames drawn unseen.
#include "shell/show_travel.h"

#include "core/frame_clock.h"
#include "shell/music_hooks.h"

namespace {

constexpr double kTravelStepMilliseconds = 1000.0 / kTravelFps;
// Show times closer than this are the same frame (the steps add up in float).
constexpr double kSameTime = 0.01;

// How a travel draws the frames of the show's last visit.
enum class LastVisit {
    Unseen,  // as any other: only the target's frame is seen
    Seen,    // every one seen: any of them may end the show, and the travel then stops on it
};

// One frame of a travel, seen when it is the last. Offline, the song first moves past the frame
// before, unheard, so that it always stands at the end of the frame before the picture. Returns
// whether the frame was seen.
bool DrawOnTheWay(ShowTravel& travel, ShowState& show, ShowPosition& position, float frameStep,
                  bool last, LastVisit lastVisit) {
    if (travel.fps > 0) {
        RenderMusicUpTo(position.frame, travel.fps, nullptr);
    }
    const bool seen =
        last || (lastVisit == LastVisit::Seen && show.sceneCounter >= kLastSceneCounter);
    AdvanceShow(travel, show, position, frameStep, seen);
    return seen;
}

void Restore(const ShowTravel& travel, const ShowSnapshot& snapshot, ShowState& show,
             ShowPosition& position) {
    const int64_t musicFrame = snapshot.musicFrame;
    RestoreSnapshot(snapshot, show, position);
    if (travel.fps > 0) {
        SeekMusic(musicFrame);
    }
}

// Live: whether the next step reaches `milliseconds`, and that step: 50 ms at most.
bool LastStep(const ShowPosition& position, double milliseconds) {
    return milliseconds - position.milliseconds <= kTravelStepMilliseconds + kSameTime;
}

float StepTowards(const ShowPosition& position, double milliseconds) {
    const double step = LastStep(position, milliseconds) ? milliseconds - position.milliseconds
                                                         : kTravelStepMilliseconds;
    return static_cast<float>(step / 50.0);
}

}  // namespace

const TimelineEntry* AdvanceShow(ShowTravel& travel, ShowState& show, ShowPosition& position,
                                 float frameStep, bool seen) {
    const TimelineEntry* drawn = DrawNextFrame(show, position, frameStep, seen);
    if (position.visit >= 0 && position.visit <= kLastSceneCounter &&
        travel.visitStarts[position.visit].frame < 0) {
        travel.visitStarts[position.visit] = VisitStart{position.frame, position.milliseconds};
    }
    if (travel.keepSnapshots) {
        SnapshotWhenDue(travel.snapshots, show, position, MusicFrameOf(travel, position));
    }
    return drawn;
}

int64_t MusicFrameOf(const ShowTravel& travel, const ShowPosition& position) {
    if (travel.fps > 0) {
        return position.frame * 44100 / travel.fps;
    }
    return MusicFrameAt(position.milliseconds);
}

namespace {

void TravelToFrame(ShowTravel& travel, ShowState& show, ShowPosition& position, int64_t frame,
                   LastVisit lastVisit) {
    frame = frame < 1 ? 1 : frame;
    const ShowSnapshot* from = LatestSnapshotBeforeFrame(travel.snapshots, frame);
    if (from != nullptr && (position.frame >= frame || from->position.frame > position.frame)) {
        Restore(travel, *from, show, position);
    }
    const float step = FixedFrameStep(travel.fps);
    bool seen = true;
    while (position.frame < frame && !show.quitRequested) {
        seen = DrawOnTheWay(travel, show, position, step, position.frame + 1 == frame, lastVisit);
    }
    // The show ended on a frame drawn unseen: once more, the show's end drawn whole. Exactly the
    // same frames, as every frame is a function of the snapshot before it.
    if (!seen && lastVisit == LastVisit::Unseen) {
        TravelToFrame(travel, show, position, position.frame, LastVisit::Seen);
    }
}

void TravelToTime(ShowTravel& travel, ShowState& show, ShowPosition& position, double milliseconds,
                  LastVisit lastVisit) {
    milliseconds = milliseconds < kFirstFrameMilliseconds ? kFirstFrameMilliseconds : milliseconds;
    const ShowSnapshot* from = LatestSnapshotBeforeTime(travel.snapshots, milliseconds - kSameTime);
    if (from != nullptr && (position.milliseconds >= milliseconds - kSameTime ||
                            from->position.milliseconds > position.milliseconds)) {
        Restore(travel, *from, show, position);
    }
    bool seen = true;
    while (position.milliseconds < milliseconds - kSameTime && !show.quitRequested) {
        seen = DrawOnTheWay(travel, show, position, StepTowards(position, milliseconds),
                            LastStep(position, milliseconds), lastVisit);
    }
    // As for frames; from another snapshot the steps may fall otherwise, so this time every
    // frame of the last visit is seen, whichever ends the show.
    if (!seen && lastVisit == LastVisit::Unseen) {
        TravelToTime(travel, show, position, position.milliseconds, LastVisit::Seen);
    }
}

}  // namespace

void TravelToFrame(ShowTravel& travel, ShowState& show, ShowPosition& position, int64_t frame) {
    TravelToFrame(travel, show, position, frame, LastVisit::Unseen);
}

void TravelToTime(ShowTravel& travel, ShowState& show, ShowPosition& position,
                  double milliseconds) {
    TravelToTime(travel, show, position, milliseconds, LastVisit::Unseen);
}

void TravelToVisit(ShowTravel& travel, ShowState& show, ShowPosition& position, int32_t counter) {
    counter = counter < 0 ? 0 : (counter > kLastSceneCounter ? kLastSceneCounter : counter);
    const VisitStart& start = travel.visitStarts[counter];
    if (start.frame >= 0) {
        if (travel.fps > 0) {
            TravelToFrame(travel, show, position, start.frame);
        } else {
            TravelToTime(travel, show, position, start.milliseconds);
        }
        return;
    }
    // The counter moves on at the end of a visit's last frame, so the frame it names next is
    // the first of the visit sought, and the one to see.
    const float fixedStep = FixedFrameStep(travel.fps > 0 ? travel.fps : kTravelFps);
    while (position.visit < counter && !show.quitRequested) {
        DrawOnTheWay(travel, show, position, fixedStep, show.sceneCounter >= counter,
                     LastVisit::Unseen);
    }
}
