// Benchmark table of frame times per scene.
#include "shell/bench_table.h"

#include <algorithm>

namespace {
void Add(SceneTimes& times, double milliseconds) {
    ++times.frames;
    times.totalMilliseconds += milliseconds;
    times.worstMilliseconds = std::max(times.worstMilliseconds, milliseconds);
}

void PrintRow(std::FILE* out, const char* name, const SceneTimes& times) {
    std::fprintf(out, "%-16s %8lld %10.3f %10.3f\n", name, static_cast<long long>(times.frames),
                 times.totalMilliseconds / static_cast<double>(times.frames),
                 times.worstMilliseconds);
}
}  // namespace

void BenchRecord(BenchTable& table, SceneRoutine routine, double milliseconds) {
    for (int i = 0; i < kSceneCount; ++i) {
        if (kSceneDrawRoutines[i] == routine) {
            Add(table.scenes[i], milliseconds);
            return;
        }
    }
    Add(table.cleared, milliseconds);
}

void BenchPrint(const BenchTable& table, std::FILE* out) {
    std::fprintf(out, "%-16s %8s %10s %10s\n", "scene", "frames", "mean ms", "worst ms");
    SceneTimes all;
    for (int i = 0; i < kSceneCount; ++i) {
        const SceneTimes& times = table.scenes[i];
        if (times.frames > 0) {
            PrintRow(out, SceneName(kSceneDrawRoutines[i]), times);
            all.frames += times.frames;
            all.totalMilliseconds += times.totalMilliseconds;
            all.worstMilliseconds = std::max(all.worstMilliseconds, times.worstMilliseconds);
        }
    }
    if (table.cleared.frames > 0) {
        PrintRow(out, "(cleared only)", table.cleared);
    }
    if (all.frames > 0) {
        PrintRow(out, "whole show", all);
    }
}
