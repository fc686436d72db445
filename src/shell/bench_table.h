// Per-scene frame-time statistics of a benchmark run, printed as a table.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "shell/timeline.h"

// A frame slower than this misses a 60 Hz display refresh.
constexpr double kStutterMilliseconds = 1000.0 / 60.0;

struct BenchTable {
    std::vector<double> sceneTimes[kTimelineLength];  // milliseconds of every frame, per entry
    std::vector<double> clearedTimes;                 // frames with no scene selected
    double windowMilliseconds = 0.0;                  // opening the picture and its GL context
    double startupMilliseconds = 0.0;  // the toolkit's and the scenes' set-up after that
    double firstFrameMilliseconds = -1.0;
    double worstLaterMilliseconds = 0.0;  // the slowest frame after the first
    int64_t frames = 0;
    // Frames after the first that took longer than kStutterMilliseconds, in order: the frame
    // (1 = the first), its scene (null: the cleared screen) and its time.
    struct Stutter {
        int64_t frame;
        const TimelineEntry* entry;
        double milliseconds;
    };
    std::vector<Stutter> laterStutters;
};

// Adds one frame's time to the entry that drew it (null: the cleared screen).
void BenchRecord(BenchTable& table, const TimelineEntry* entry, double milliseconds);

// Prints one row per scene that drew frames: frames, mean, 99th percentile and worst frame time
// in ms, and how many frames took longer than kStutterMilliseconds; then the whole show, and a
// line with the window's and the start-up's times, the first frame and the slowest after it, and
// one naming the frames after the first that took longer than kStutterMilliseconds.
void BenchPrint(const BenchTable& table, std::FILE* out);
