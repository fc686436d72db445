// Benchmark table of frame times per scene.
#include "shell/bench_table.h"

#include <algorithm>
#include <cmath>

namespace {

// The smallest time that at least 99 % of the frames do not exceed (nearest rank).
double Percentile99(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    const auto rank = static_cast<size_t>(std::ceil(0.99 * static_cast<double>(times.size())));
    return times[rank == 0 ? 0 : rank - 1];
}

void PrintRow(std::FILE* out, const char* name, const std::vector<double>& times) {
    double total = 0.0;
    int64_t stutters = 0;
    for (double t : times) {
        total += t;
        stutters += t > kStutterMilliseconds ? 1 : 0;
    }
    std::fprintf(out, "%-16s %8zu %10.3f %10.3f %10.3f %8lld\n", name, times.size(),
                 total / static_cast<double>(times.size()), Percentile99(times),
                 *std::max_element(times.begin(), times.end()), static_cast<long long>(stutters));
}

}  // namespace

void BenchRecord(BenchTable& table, const TimelineEntry* entry, double milliseconds) {
    table.frames += 1;
    if (table.firstFrameMilliseconds < 0.0) {
        table.firstFrameMilliseconds = milliseconds;
    } else {
        table.worstLaterMilliseconds = std::max(table.worstLaterMilliseconds, milliseconds);
        if (milliseconds > kStutterMilliseconds) {
            table.laterStutters.push_back({table.frames, entry, milliseconds});
        }
    }
    if (entry == nullptr) {
        table.clearedTimes.push_back(milliseconds);
    } else {
        table.sceneTimes[entry - kTimeline].push_back(milliseconds);
    }
}

void BenchPrint(const BenchTable& table, std::FILE* out) {
    std::fprintf(out, "%-16s %8s %10s %10s %10s %8s\n", "scene", "frames", "mean ms", "p99 ms",
                 "worst ms", ">16.7ms");
    std::vector<double> all;
    for (int32_t i = 0; i < kTimelineLength; ++i) {
        const std::vector<double>& times = table.sceneTimes[i];
        if (!times.empty()) {
            PrintRow(out, kTimeline[i].name, times);
            all.insert(all.end(), times.begin(), times.end());
        }
    }
    if (!table.clearedTimes.empty()) {
        PrintRow(out, "(cleared only)", table.clearedTimes);
    }
    if (!all.empty()) {
        PrintRow(out, "whole show", all);
        std::fprintf(out,
                     "window %.1f ms, start-up %.1f ms, first frame %.1f ms, slowest later "
                     "frame %.1f ms\n",
                     table.windowMilliseconds, table.startupMilliseconds,
                     table.firstFrameMilliseconds, table.worstLaterMilliseconds);
        std::fprintf(out, "frames over %.1f ms after the first: %zu", kStutterMilliseconds,
                     table.laterStutters.size());
        constexpr size_t kMostListed = 24;
        for (size_t i = 0; i < table.laterStutters.size() && i < kMostListed; ++i) {
            const BenchTable::Stutter& stutter = table.laterStutters[i];
            std::fprintf(out, "%s frame %lld (%s) %.1f ms", i == 0 ? ":" : ",",
                         static_cast<long long>(stutter.frame),
                         stutter.entry != nullptr ? stutter.entry->name : "cleared",
                         stutter.milliseconds);
        }
        std::fprintf(out, "%s\n", table.laterStutters.size() > kMostListed ? ", ..." : "");
    }
}
