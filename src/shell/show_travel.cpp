// Travel through the show: snapshots restored, frames drawn unseen.
#include "shell/show_travel.h"

#include "core/frame_clock.h"
#include "shell/music_hooks.h"

namespace {

constexpr double kTravelStepMilliseconds = 1000.0 / kTravelFps;
// Show times closer than this are the same frame (the steps add up in float).
constexpr double kSameTime = 0.01;

// One frame of a travel: the last one is seen, the others not, but for those of the show's last
// visit: any of them may end the show, and the travel then stops on it. Offline, the song first
// moves past the frame before, unheard, so that it always stands at the end of the frame before
// the picture.
void DrawOnTheWay(ShowTravel& travel, ShowState& show, ShowPosition& position, float frameStep,
                  bool last) {
    if (travel.fps > 0) {
        RenderMusicUpTo(position.frame, travel.fps, nullptr);
    }
    AdvanceShow(travel, show, position, frameStep, last || show.sceneCounter >= kLastSceneCounter);
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

void TravelToFrame(ShowTravel& travel, ShowState& show, ShowPosition& position, int64_t frame) {
    frame = frame < 1 ? 1 : frame;
    const ShowSnapshot* from = LatestSnapshotBeforeFrame(travel.snapshots, frame);
    if (from != nullptr && (position.frame >= frame || from->position.frame > position.frame)) {
        Restore(travel, *from, show, position);
    }
    const float step = FixedFrameStep(travel.fps);
    while (position.frame < frame && !show.quitRequested) {
        DrawOnTheWay(travel, show, position, step, position.frame + 1 == frame);
    }
}

void TravelToTime(ShowTravel& travel, ShowState& show, ShowPosition& position,
                  double milliseconds) {
    milliseconds = milliseconds < kFirstFrameMilliseconds ? kFirstFrameMilliseconds : milliseconds;
    const ShowSnapshot* from = LatestSnapshotBeforeTime(travel.snapshots, milliseconds - kSameTime);
    if (from != nullptr && (position.milliseconds >= milliseconds - kSameTime ||
                            from->position.milliseconds > position.milliseconds)) {
        Restore(travel, *from, show, position);
    }
    while (position.milliseconds < milliseconds - kSameTime && !show.quitRequested) {
        DrawOnTheWay(travel, show, position, StepTowards(position, milliseconds),
                     LastStep(position, milliseconds));
    }
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
        DrawOnTheWay(travel, show, position, fixedStep, show.sceneCounter >= counter);
    }
}
