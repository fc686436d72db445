// Snapshots and travel through the show are exact: a snapshot put back and the frames after it
// drawn at the fixed step give the very pictures and sound of a straight run, across every scene
// and every change of scene, wherever the show stood before.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "core/frame_clock.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "shell/music_hooks.h"
#include "shell/show_travel.h"

namespace {

constexpr int32_t kFps = 20;

// The picture and the sound of one frame.
struct FrameHashes {
    uint64_t picture = 0;
    uint64_t sound = 0;
    bool operator==(const FrameHashes&) const = default;
};

std::ostream& operator<<(std::ostream& out, const FrameHashes& hashes) {
    return out << std::hex << hashes.picture << "/" << hashes.sound << std::dec;
}

// The run as the demo's offline runs drive it: frames at the fixed step, the song rendered in
// lockstep by the frame, snapshots every 250 ms of show time.
class ShowTravelTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        if (!started) {
            CreateToolkitStartupResources();
            RunSceneInitialisations();
            UseOfflineMusic();
            KeepMusicCheckpoints();
            StartMusic(false, 0.0);
            started = true;
        }
        travel.fps = kFps;
        travel.keepSnapshots = true;
        SnapshotWhenDue(travel.snapshots, show, position, 0);
    }

    // The frame's hashes once it is drawn: the picture read back, and the sound that ends with it
    // rendered now (after a travel the song stands at the end of the frame before).
    FrameHashes Finish() {
        const Picture picture = ReadPicture();
        std::vector<int16_t> pcm;
        RenderMusicUpTo(position.frame, kFps, &pcm);
        return FrameHashes{PixelHash(picture), Fnv1a(reinterpret_cast<const uint8_t*>(pcm.data()),
                                                     pcm.size() * sizeof(int16_t))};
    }

    FrameHashes DrawNext() {
        AdvanceShow(travel, show, position, FixedFrameStep(kFps), true);
        return Finish();
    }

    static inline bool started = false;
    ShowState show;
    ShowPosition position;
    ShowTravel travel;
};

// One test, as the scenes' state is the process's: the straight run first, then the checks.
TEST_F(ShowTravelTest, TravelsAndSnapshotsPutBackGiveTheStraightRunsPicturesAndSound) {
    // The straight run, every frame's picture and sound.
    std::vector<FrameHashes> straight(1);  // frame 0 has none
    while (!show.quitRequested) {
        straight.push_back(DrawNext());
    }
    const int64_t last = position.frame;
    ASSERT_EQ(last, 2642);  // the show's length at 20 fps, as the frame-hash table has it
    ASSERT_GT(travel.snapshots.list.size(), 500u);
    show.quitRequested = false;

    {
        SCOPED_TRACE("snapshots put back by hand, the latest first");
        const std::vector<ShowSnapshot> snapshots = travel.snapshots.list;
        for (size_t i = snapshots.size(); i-- > 0;) {
            const ShowSnapshot& snapshot = snapshots[i];
            const int64_t frame = snapshot.position.frame;
            if (i % 5 != 0 || frame + 3 > last) {
                continue;
            }
            RestoreSnapshot(snapshot, show, position);
            SeekMusic(snapshot.musicFrame);
            for (int64_t next = frame + 1; next <= frame + 3; ++next) {
                ASSERT_EQ(DrawNext(), straight[static_cast<size_t>(next)])
                    << "frame " << next << " after the snapshot of frame " << frame;
            }
        }
    }

    // Travel targets in every visit: its first frame (a change of scene, drawn from a snapshot
    // before it), the frame before (the next one then crosses the change), a frame soon after
    // the start (from a snapshot within the visit) and its middle.
    std::vector<int64_t> targets;
    for (int32_t counter = 0; counter <= kLastSceneCounter; ++counter) {
        const int64_t start = travel.visitStarts[counter].frame;
        ASSERT_GT(start, 0) << "visit " << counter << " was never drawn";
        const int64_t end =
            counter < kLastSceneCounter ? travel.visitStarts[counter + 1].frame : last + 1;
        targets.push_back(start);
        targets.push_back(start > 1 ? start - 1 : start);
        targets.push_back(std::min(start + 7, end - 1));
        targets.push_back((start + end) / 2);
    }
    // Past the show's end: the travel stops on the show's last frame, drawn whole.
    targets.push_back(last + 60);
    // In no particular order, so that each travel starts from another scene's state.
    std::shuffle(targets.begin(), targets.end(), std::mt19937(2024));
    for (const int64_t target : targets) {
        SCOPED_TRACE("travel to frame " + std::to_string(target));
        TravelToFrame(travel, show, position, target);
        ASSERT_EQ(position.frame, std::min(target, last));
        ASSERT_EQ(show.quitRequested, target >= last);
        ASSERT_EQ(Finish(), straight[static_cast<size_t>(position.frame)]);
        for (int64_t next = target + 1; next <= std::min(target + 2, last); ++next) {
            ASSERT_EQ(DrawNext(), straight[static_cast<size_t>(next)]) << "frame " << next;
        }
        show.quitRequested = false;
    }
}

}  // namespace
