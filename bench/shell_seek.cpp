// Seeking in the live show: the wall time of seeks within what has been played (the snapshot
// restored, the frames up to the target drawn unseen, the song put there), and the memory the
// snapshots of a whole show take. The show is played once at a 60 Hz step, as a live show on a
// 60 Hz display plays it, taking its snapshots; the seeks then go between random points of it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "core/frame_clock.h"
#include "core/screen.h"
#include "gfx/toolkit_resources.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "shell/music_hooks.h"
#include "shell/show_travel.h"

namespace {

struct PlayedShow {
    ShowState show;
    ShowPosition position;
    ShowTravel travel;
    double endMilliseconds = 0.0;
    double playSeconds = 0.0;  // wall time of the first, straight play
    bool ready = false;
};

PlayedShow& Played() {
    static PlayedShow played;
    if (played.ready || (!DisplayIsOpen() && !OpenPicture(DisplayMode::Offscreen))) {
        return played;
    }
    CreateToolkitStartupResources();
    RunSceneInitialisations();
    UseOfflineMusic();
    KeepMusicCheckpoints();
    StartMusic(false, 0.0);
    played.travel.keepSnapshots = true;
    SnapshotWhenDue(played.travel.snapshots, played.show, played.position, 0);
    const auto began = std::chrono::steady_clock::now();
    const float step = FixedFrameStep(60);
    while (!played.show.quitRequested) {
        AdvanceShow(played.travel, played.show, played.position, step, true);
        // The song plays along, as on a sound device, leaving its checkpoints behind.
        RenderMusicUpTo(played.position.frame, 60, nullptr);
    }
    glFinish();
    played.playSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    played.endMilliseconds = played.position.milliseconds;
    played.show.quitRequested = false;
    played.ready = true;
    return played;
}

double Percentile(std::vector<double> values, double share) {
    std::sort(values.begin(), values.end());
    const size_t at = static_cast<size_t>(share * static_cast<double>(values.size() - 1) + 0.5);
    return values[at];
}

// CPU time of the whole process (the renderer's threads too), in milliseconds.
double ProcessCpuMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) * 1e-6;
}

struct SeekTimes {
    std::vector<double> wall;  // milliseconds
    std::vector<double> cpu;   // milliseconds of the process's CPU time, steadier on a busy host
};

// Seeks from `from` to `to` (show milliseconds) as the live show does: the travel, the song put
// at the new show time, the GL work waited for.
void TimedSeek(PlayedShow& played, double from, double to, SeekTimes& times) {
    TravelToTime(played.travel, played.show, played.position, from);
    glFinish();
    const double cpu = ProcessCpuMilliseconds();
    const auto began = std::chrono::steady_clock::now();
    TravelToTime(played.travel, played.show, played.position, to);
    SeekMusic(MusicFrameAt(played.position.milliseconds));
    glFinish();
    times.wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began)
            .count());
    times.cpu.push_back(ProcessCpuMilliseconds() - cpu);
}

void ReportSeeks(benchmark::State& state, const SeekTimes& times) {
    const char* names[] = {"min", "median", "p90", "p99", "max"};
    const double shares[] = {0.0, 0.5, 0.9, 0.99, 1.0};
    for (int i = 0; i < 5; ++i) {
        state.counters[std::string(names[i]) + "_ms"] = Percentile(times.wall, shares[i]);
        state.counters[std::string("cpu_") + names[i] + "_ms"] = Percentile(times.cpu, shares[i]);
    }
    state.counters["seeks"] = static_cast<double>(times.wall.size());
}

// Times state.range(0) seeks, each from a show time drawn uniformly from [low, high) to
// target(from), and reports their distribution.
template <typename Target>
void TimeSeeks(benchmark::State& state, uint32_t seed, double low, Target target) {
    PlayedShow& played = Played();
    if (!played.ready) {
        state.SkipWithError("no offscreen display");
        return;
    }
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> from(low, played.endMilliseconds - 1.0);
    SeekTimes times;
    for (auto _ : state) {
        for (int i = 0; i < state.range(0); ++i) {
            const double at = from(random);
            TimedSeek(played, at, target(at, random), times);
        }
    }
    ReportSeeks(state, times);
}

// Anywhere to anywhere within the played show; with the snapshots' count and memory.
void BM_SeekAnywhereWithinPlayed(benchmark::State& state) {
    TimeSeeks(state, 12345, kFirstFrameMilliseconds, [](double, std::mt19937& random) {
        std::uniform_real_distribution<double> anywhere(kFirstFrameMilliseconds,
                                                        Played().endMilliseconds - 1.0);
        return anywhere(random);
    });
    const PlayedShow& played = Played();
    state.counters["snapshots"] = static_cast<double>(played.travel.snapshots.list.size());
    state.counters["snapshot_MB"] =
        static_cast<double>(SnapshotBytes(played.travel.snapshots)) / 1e6;
    state.counters["first_play_s"] = played.playSeconds;
}
BENCHMARK(BM_SeekAnywhereWithinPlayed)->Arg(300)->Iterations(1)->Unit(benchmark::kMillisecond);

// Left: 5 s back from anywhere past the first 5 s.
void BM_SeekFiveSecondsBack(benchmark::State& state) {
    TimeSeeks(state, 54321, 5000.0 + kFirstFrameMilliseconds,
              [](double from, std::mt19937&) { return from - 5000.0; });
}
BENCHMARK(BM_SeekFiveSecondsBack)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
