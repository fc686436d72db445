// Web wave-out: the live device feeds the page's audio worklet (web/audio-output.js) from the
// output ring, 20 ms at a time from the frame loop, and learns the play position from the
// worklet's reports; the offline device only moves when told (capture, tools).
#include "platform/wave_out.h"

#include <emscripten/emscripten.h>

#include <string>

#include "platform/web/web_internal.h"

namespace {

// Sound kept queued in the worklet ahead of what it has played: enough to ride out a slow frame.
constexpr double kQueuedSeconds = 0.25;
constexpr int32_t kBlockMilliseconds = 20;
constexpr uint32_t kBytesPerFrame = 4;
// The worklet reports its position about every 12 ms; between reports the clock runs on the page
// clock for at most this long.
constexpr double kLongestExtrapolationMilliseconds = 12.0;

struct WaveOutState {
    bool offline = false;      // backend selected for the next open
    bool openOffline = false;  // backend of the open device
    bool open = false;
    int32_t rate = 0;
    const int16_t* ring = nullptr;
    uint32_t ringFrames = 0;
    uint32_t played = 0;      // offline: bytes advanced
    uint64_t startFrame = 0;  // live: the ring frame the start began at
    uint64_t sentFrames = 0;  // live: frames posted to the worklet, counted from startFrame
    uint32_t starts = 0;      // live: starts and resets so far, for the clock
    bool held = false;        // WaveOutPause
    bool hidden = false;      // the page is hidden
    uint32_t queries = 0;
    std::string failure;
};

WaveOutState waveOut;

// Whether the page made its audio output (an AudioContext and the worklet node; browsers allow
// it only after a click or key), and starts listening to the worklet's reports.
// clang-format off
EM_JS(bool, PageAudioOpen, (int rate), {
    const audio = Module.audio;
    if (!audio || !audio.node || audio.context.sampleRate !== rate) {
        return false;
    }
    audio.generation = (audio.generation || 0) + 1;
    audio.played = 0;
    audio.reportedAt = performance.now();
    audio.starving = true;
    audio.node.port.onmessage = (event) => {
        const[generation, played, starving] = event.data;
        if (generation === audio.generation) {
            audio.played = played;
            audio.starving = starving;
            audio.reportedAt = performance.now();
        }
    };
    return true;
});
// clang-format on

// Empties the worklet's queue and starts its count of frames played again from 0.
// clang-format off
EM_JS(void, PageAudioReset, (), {
    const audio = Module.audio;
    audio.generation += 1;
    audio.played = 0;
    audio.starving = true;
    audio.node.port.postMessage({reset : audio.generation});
    // clang-format on
});

// Posts `frames` interleaved 16-bit frames at `samples` to the worklet's queue.
// clang-format off
EM_JS(void, PageAudioSend, (const int16_t* samples, int frames), {
    const block = HEAP16.slice(samples >> 1, (samples >> 1) + 2 * frames);
    Module.audio.node.port.postMessage(block, [block.buffer]);
});
// clang-format on

// Frames the worklet has played since the last reset, and the page time of its report.
// clang-format off
EM_JS(double, PageAudioPlayed, (), { return Module.audio.played; });
// clang-format on
// clang-format off
EM_JS(double, PageAudioExtrapolation, (double longest), {
    const audio = Module.audio;
    return audio.starving ? 0 : Math.min(performance.now() - audio.reportedAt, longest);
});
// clang-format on

// clang-format off
EM_JS(void, PageAudioSetPaused, (bool paused), {
    const audio = Module.audio;
    if (audio) {
        paused ? audio.context.suspend() : audio.context.resume();
    }
});
// clang-format on

bool LivePlaying() {
    return waveOut.open && !waveOut.openOffline && waveOut.ring != nullptr;
}

}  // namespace

void WaveOutUseOffline(bool offline) {
    waveOut.offline = offline;
}

void WaveOutAcceptDiskDriver(bool) {}

bool WaveOutIsOffline() {
    return waveOut.offline;
}

bool WaveOutOpen(int32_t rate) {
    WaveOutClose();
    waveOut.failure.clear();
    if (rate <= 0) {
        waveOut.failure = "invalid output rate";
        return false;
    }
    waveOut.openOffline = waveOut.offline;
    if (!waveOut.openOffline && !PageAudioOpen(rate)) {
        waveOut.failure = "no sound output (the page starts it on a click or key)";
        return false;
    }
    waveOut.rate = rate;
    waveOut.ring = nullptr;
    waveOut.ringFrames = 0;
    waveOut.played = 0;
    waveOut.open = true;
    return true;
}

const char* WaveOutFailure() {
    return waveOut.failure.c_str();
}

void WaveOutStart(const int16_t* ring, uint32_t bytes, uint32_t startByte) {
    if (!waveOut.open) {
        return;
    }
    waveOut.ring = ring;
    waveOut.ringFrames = bytes / kBytesPerFrame;
    const uint32_t startFrame =
        waveOut.ringFrames > 0 ? startByte / kBytesPerFrame % waveOut.ringFrames : 0;
    waveOut.played = startFrame * kBytesPerFrame;
    waveOut.startFrame = startFrame;
    waveOut.sentFrames = startFrame;
    if (!waveOut.openOffline) {
        ++waveOut.starts;
        PageAudioReset();
        WebAudioPump();
    }
}

void WaveOutPause(bool paused) {
    waveOut.held = paused;
    if (LivePlaying()) {
        PageAudioSetPaused(waveOut.held || waveOut.hidden);
    }
}

uint32_t WaveOutPosition() {
    ++waveOut.queries;
    if (LivePlaying()) {
        const auto frames = waveOut.startFrame + static_cast<uint64_t>(PageAudioPlayed());
        return static_cast<uint32_t>(frames * kBytesPerFrame);
    }
    return waveOut.played;
}

void WaveOutReset() {
    if (!waveOut.open) {
        return;
    }
    if (!waveOut.openOffline) {
        ++waveOut.starts;
        PageAudioReset();
    }
    waveOut.ring = nullptr;
    waveOut.ringFrames = 0;
    waveOut.played = 0;
    waveOut.startFrame = 0;
    waveOut.sentFrames = 0;
}

void WaveOutClose() {
    WaveOutReset();
    waveOut.open = false;
}

void WaveOutAdvance(uint32_t bytes) {
    if (waveOut.open && waveOut.openOffline) {
        waveOut.played += bytes;
    }
}

uint32_t WaveOutPositionQueries() {
    return waveOut.queries;
}

void WebAudioPump() {
    if (!LivePlaying() || waveOut.ringFrames == 0) {
        return;
    }
    // The ring holds rendered sound from the play position on, for nearly its whole length; half
    // of it is a safe limit for what may be sent ahead.
    const auto played = waveOut.startFrame + static_cast<uint64_t>(PageAudioPlayed());
    const auto wanted = static_cast<uint64_t>(kQueuedSeconds * waveOut.rate);
    const uint64_t until =
        played + (wanted < waveOut.ringFrames / 2 ? wanted : waveOut.ringFrames / 2);
    const auto block = static_cast<uint64_t>(waveOut.rate * kBlockMilliseconds / 1000);
    while (waveOut.sentFrames < until) {
        const uint64_t at = waveOut.sentFrames % waveOut.ringFrames;
        uint64_t frames = waveOut.ringFrames - at < block ? waveOut.ringFrames - at : block;
        PageAudioSend(waveOut.ring + 2 * at, static_cast<int>(frames));
        waveOut.sentFrames += frames;
    }
}

bool WebAudioPlayedMilliseconds(double* milliseconds, uint32_t* start) {
    if (!LivePlaying() || waveOut.rate <= 0) {
        return false;
    }
    *milliseconds =
        PageAudioPlayed() * 1000.0 / waveOut.rate +
        (waveOut.held ? 0.0 : PageAudioExtrapolation(kLongestExtrapolationMilliseconds));
    *start = waveOut.starts;
    return true;
}

void WebAudioSetPaused(bool paused) {
    waveOut.hidden = paused;
    PageAudioSetPaused(waveOut.held || waveOut.hidden);
}
