// Taking, keeping and putting back snapshots of the whole show.
#include "shell/show_snapshots.h"

#include <algorithm>

#include "core/random.h"
#include "gfx/screen_feedback.h"
#include "scenes/scene_state.h"

void TakeSnapshot(ShowSnapshot& snapshot, const ShowState& show, const ShowPosition& position,
                  int64_t musicFrame) {
    snapshot.position = position;
    snapshot.sceneCounter = show.sceneCounter;
    snapshot.frameStep = show.frame.frameStep;
    snapshot.randState = RandState();
    SaveSceneState(snapshot.scenes);
    GlStateCapture(snapshot.gl);
    ScreenFeedbackSaveTexels(screenFeedback, snapshot.feedback);
    snapshot.musicFrame = musicFrame;
}

bool SnapshotWhenDue(ShowSnapshots& snapshots, const ShowState& show, const ShowPosition& position,
                     int64_t musicFrame) {
    if (show.quitRequested) {
        return false;
    }
    if (!snapshots.list.empty() &&
        position.milliseconds <
            snapshots.list.back().position.milliseconds + snapshots.intervalMilliseconds) {
        return false;
    }
    snapshots.list.emplace_back();
    TakeSnapshot(snapshots.list.back(), show, position, musicFrame);
    return true;
}

void RestoreSnapshot(const ShowSnapshot& snapshot, ShowState& show, ShowPosition& position) {
    position = snapshot.position;
    show.sceneCounter = snapshot.sceneCounter;
    show.frame.frameStep = snapshot.frameStep;
    show.quitRequested = false;
    SetRandState(snapshot.randState);
    RestoreSceneState(snapshot.scenes);
    // The texture first: putting it back binds it, and the GL state then binds what it held.
    ScreenFeedbackRestoreTexels(screenFeedback, snapshot.feedback);
    GlStateRestore(snapshot.gl);
}

const ShowSnapshot* LatestSnapshotBeforeFrame(const ShowSnapshots& snapshots, int64_t frame) {
    const auto after = std::partition_point(
        snapshots.list.begin(), snapshots.list.end(),
        [frame](const ShowSnapshot& snapshot) { return snapshot.position.frame < frame; });
    return after == snapshots.list.begin() ? nullptr : &*(after - 1);
}

const ShowSnapshot* LatestSnapshotBeforeTime(const ShowSnapshots& snapshots, double milliseconds) {
    const auto after = std::partition_point(
        snapshots.list.begin(), snapshots.list.end(), [milliseconds](const ShowSnapshot& snapshot) {
            return snapshot.position.milliseconds < milliseconds;
        });
    return after == snapshots.list.begin() ? nullptr : &*(after - 1);
}

size_t SnapshotBytes(const ShowSnapshots& snapshots) {
    size_t bytes = snapshots.list.capacity() * sizeof(ShowSnapshot);
    for (const ShowSnapshot& snapshot : snapshots.list) {
        bytes += snapshot.scenes.capacity() + snapshot.feedback.capacity() * sizeof(uint32_t);
    }
    return bytes;
}
