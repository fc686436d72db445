// Per-scene frame-time statistics of a benchmark run, printed as a table.
#pragma once

#include <cstdint>
#include <cstdio>

#include "shell/schedule.h"

struct SceneTimes {
    int64_t frames = 0;
    double totalMilliseconds = 0.0;
    double worstMilliseconds = 0.0;
};

struct BenchTable {
    SceneTimes scenes[kSceneCount];
    SceneTimes cleared;  // frames with no scene (counter past the last scene)
};

// Adds one frame's time to the scene the routine draws (null: the cleared screen).
void BenchRecord(BenchTable& table, SceneRoutine routine, double milliseconds);

// Prints one row per scene that drew frames: frames, mean and worst frame time in ms.
void BenchPrint(const BenchTable& table, std::FILE* out);
