// Render throughput of the music player (seconds of audio per CPU second on one core) for two
// corpus songs, and the mixer's cost per voice-frame.
//
//   cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DDEMO_BUILD_BENCHMARKS=ON
//   cmake --build build --target bench_music_render && build/bench/bench_music_render
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "music/mixer.h"
#include "music/player.h"
#include "music/song.h"
#include "platform/wave_out.h"

namespace {

constexpr double kSecondsPerRun = 170.0;  // both songs last a little longer

std::vector<uint8_t> ReadCorpusFile(const char* relative) {
    const std::string path = std::string(XM_CORPUS_DIR) + "/" + relative;
    std::vector<uint8_t> bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        return bytes;
    }
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
    std::fclose(file);
    return bytes;
}

// Renders the song from its start block by block through FillBlock, as the streaming thread
// does, for kSecondsPerRun seconds per iteration.
void RenderSong(benchmark::State& state, const char* relative) {
    const std::vector<uint8_t> image = ReadCorpusFile(relative);
    WaveOutUseOffline(true);
    Song* song = SongFromMemory(image.data(), image.size());
    if (song == nullptr) {
        state.SkipWithError("the song did not load");
        return;
    }
    static Player player;
    player.renderOnCallingThread = true;
    AudioOpen(player);
    const int64_t blocks =
        static_cast<int64_t>(kSecondsPerRun * player.outputRate) / player.blockFrames;
    int64_t frames = 0;
    for (auto _ : state) {
        PlayerStart(player, song);  // renders the first 100 blocks
        for (int64_t block = ringBlockCount; block < blocks; ++block) {
            FillBlock(player);
        }
        benchmark::DoNotOptimize(player.outputRing[0]);
        frames += blocks * player.blockFrames;
    }
    state.counters["audio_s_per_cpu_s"] = benchmark::Counter(
        static_cast<double>(frames) / player.outputRate, benchmark::Counter::kIsRate);
    PlayerStop(player);
    AudioClose(player);
    SongFree(song);
}

void BM_RenderFrozenMainzik2p(benchmark::State& state) {
    RenderSong(state, "songs/frozen-bubble/frozen-mainzik-2p.xm");
}
BENCHMARK(BM_RenderFrozenMainzik2p)->Unit(benchmark::kMillisecond)->MinTime(3.0);

void BM_RenderTheDay(benchmark::State& state) {
    RenderSong(state, "songs/milkytracker/theday.xm");
}
BENCHMARK(BM_RenderTheDay)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// MixVoices alone: state.range(0) voices on looping samples at unrelated steps and levels, no
// ramps, one 884-frame block per iteration.
void BM_MixVoices(benchmark::State& state) {
    const int32_t voiceTotal = static_cast<int32_t>(state.range(0));
    const int32_t frames = 884;
    std::vector<int16_t> data(20008);
    for (size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<int16_t>((i * 2654435761u) >> 16);
    }
    Sample sample{};
    sample.data = data.data();
    sample.length = 20000;
    sample.loopStart = 1000;
    sample.loopLength = 19000;
    sample.loopMode = 2;
    sample.bits = 16;
    static Player player;
    ResetVoices(player);
    for (int32_t k = 0; k < voiceTotal; ++k) {
        Voice& voice = player.voices[k];
        voice.index = k;
        voice.sample = &sample;
        voice.leftLevel = 20 + k;
        voice.rightLevel = 90 - k;
        voice.rampLeft = voice.leftLevel * 256;
        voice.rampRight = voice.rightLevel * 256;
        voice.stepInteger = k % 3;
        voice.stepFraction = 0x9E3779B9u * (k + 1);
        voice.direction = 1;
    }
    std::vector<float> mix(2 * frames);
    for (auto _ : state) {
        MixVoices(player, mix.data(), frames);
        benchmark::DoNotOptimize(mix.data());
    }
    // Inverted rate of voice-frames counted in units of 10^9: nanoseconds per voice-frame (the
    // library prints it with an "s" suffix).
    state.counters["ns_per_voice_frame"] = benchmark::Counter(
        static_cast<double>(voiceTotal) * frames * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    ResetVoices(player);
}
BENCHMARK(BM_MixVoices)->Arg(1)->Arg(22)->Arg(64);

}  // namespace

BENCHMARK_MAIN();
