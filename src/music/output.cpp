// The player's output side: device set-up, the output ring and its block rendering, tempo, and
// the driver's open/start/stop/close calls.
#include <cstdlib>
#include <cstring>
#include <thread>

#include "music/channel.h"
#include "music/mixer.h"
#include "music/player.h"
#include "music/song.h"
#include "music/song_source.h"
#include "music/voice.h"
#include "platform/thread_priority.h"
#include "platform/wave_out.h"

bool audioUnavailable = false;
int32_t outputRate = 0;
int32_t blockFrames = 0;
int32_t ringFrames = 0;
int16_t* outputRing = nullptr;
float* mixBuffer = nullptr;
int32_t writeBlock = 0;
Song* currentSong = nullptr;
std::atomic<bool> stopRequested{false};
std::atomic<bool> fillBusy{false};
std::atomic<bool> threadExited{true};
bool renderOnCallingThread = false;

namespace {

constexpr int32_t kDeviceRate = 44100;
// Tempo formula constants, single precision as the tracker tempo rule defines them.
constexpr float kTickBeatFraction = 0.4f;
constexpr float kMillisecondsToSeconds = 0.001f;

std::thread streamThread;
void* mixStorage = nullptr;    // mixBuffer's allocation: 256 bytes larger, buffer 16-byte aligned
int32_t outputRingFrames = 0;  // frames outputRing was allocated for

// Every voice idle, voice k with index k and step 1.0.
void ResetVoices() {
    std::memset(static_cast<void*>(voices), 0, sizeof(voices));
    for (int32_t k = 0; k < voiceCount; ++k) {
        voices[k].index = k;
        voices[k].stepInteger = 1;
    }
}

void ReleaseMixBuffer() {
    std::free(mixStorage);
    mixStorage = nullptr;
    mixBuffer = nullptr;
}

}  // namespace

bool DeviceOpen(int32_t rate) {
    if (!SourceInstalled()) {
        return false;
    }
    DeviceClose();
    outputRate = rate;
    if (!WaveOutOpen(rate)) {
        return false;
    }
    blockFrames = (rate * 20 / 1000 + 3) & ~3;
    ringFrames = (1000 / 20) * blockFrames * 2;
    rampLength = rate * 128 / 44100;
    rampLengthReciprocal = 1.0f / static_cast<float>(rampLength);
    ResetVoices();
    return true;
}

void DeviceClose() {
    WaveOutReset();
    WaveOutClose();
    // The device no longer reads the ring, so it may go now.
    std::free(outputRing);
    outputRing = nullptr;
    outputRingFrames = 0;
}

void SetBpm(Song* song, int32_t bpm) {
    song->bpm = bpm;
    // A tempo of 0 (possible in a damaged file) would divide by zero: it plays as 1 BPM.
    const int32_t beats = bpm < 1 ? 1 : bpm;
    const double frames = 1000.0 / (beats * static_cast<double>(kTickBeatFraction)) * outputRate *
                          static_cast<double>(kMillisecondsToSeconds);
    const int32_t perTick = static_cast<int32_t>(frames);
    song->samplesPerTick = perTick < 1 ? 1 : perTick;  // a tick of 0 frames would stall FillBlock
}

void FillBlock() {
    float* block = mixBuffer + 2 * writeBlock * blockFrames;
    std::memset(block, 0, sizeof(float) * 2 * blockFrames);
    int32_t left = currentSong->samplesLeftInTick;
    int32_t done = 0;
    while (done < blockFrames) {
        if (left <= 0) {
            if (currentSong->tickHandler != nullptr) {
                currentSong->tickHandler(currentSong);
            }
            // Read after the tick, so that a tempo change in it takes effect at once.
            left = currentSong->samplesPerTick < 1 ? 1 : currentSong->samplesPerTick;
        }
        const int32_t frames = left < blockFrames - done ? left : blockFrames - done;
        MixVoices(block + 2 * done, frames, 0);
        done += frames;
        left -= frames;
    }
    currentSong->samplesLeftInTick = left;  // a tick can span blocks
    ConvertToPcm16(outputRing + 2 * writeBlock * blockFrames, block, blockFrames);
    writeBlock = writeBlock + 1 == ringBlockCount ? 0 : writeBlock + 1;
}

void ServiceRing() {
    if (currentSong == nullptr || ringFrames <= 0 || blockFrames <= 0) {
        return;
    }
    const uint32_t frames = WaveOutPosition() / 4;
    const int32_t playBlock =
        static_cast<int32_t>(frames % static_cast<uint32_t>(ringFrames)) / blockFrames;
    while (writeBlock != playBlock) {
        fillBusy = true;
        FillBlock();
        fillBusy = false;
    }
}

void StreamThread() {
    threadExited = false;
    while (!stopRequested) {
        ServiceRing();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    threadExited = true;
}

void AudioOpen() {
    if (audioUnavailable) {
        return;
    }
    InstallSource(MemoryBlockOpen, MemoryBlockClose, MemoryBlockRead, MemoryBlockSeek,
                  MemoryBlockTell);
    if (!DeviceOpen(kDeviceRate)) {
        audioUnavailable = true;
    }
}

void ResetSongPlayback(Song* song) {
    song->globalVolume = song->initialGlobalVolume;
    song->nextOrderIndex = -1;
    song->nextRow = -1;
    song->speed = song->defaultTempo;
    song->row = 0;
    song->orderIndex = 0;
    song->samplesLeftInTick = 0;
    song->tick = 0;
    song->patternDelay = 0;
    SetBpm(song, song->defaultBpm);
}

void PlayerStart(Song* song) {
    if (audioUnavailable || song == nullptr || blockFrames <= 0) {
        return;
    }
    PlayerStop(song);
    ResetSongPlayback(song);

    const int32_t channelCount =
        song->channelCount < kMaxChannels ? song->channelCount : kMaxChannels;
    for (int32_t i = 0; i < channelCount; ++i) {
        channels[i] = Channel{};
        channels[i].voice = &voices[i];
    }
    // Already so after DeviceOpen; a later start must not play on from an earlier song's samples.
    ResetVoices();
    currentSong = song;

    // A second start without DeviceClose reuses the ring; stop the device reading it first.
    WaveOutReset();
    if (outputRing == nullptr || outputRingFrames != ringFrames) {
        std::free(outputRing);
        outputRing = static_cast<int16_t*>(
            std::calloc(2 * static_cast<size_t>(ringFrames), sizeof(int16_t)));
        outputRingFrames = ringFrames;
    } else {
        std::memset(outputRing, 0, sizeof(int16_t) * 2 * ringFrames);
    }
    ReleaseMixBuffer();
    mixStorage = std::calloc(1, sizeof(float) * 2 * ringFrames + 256);
    const auto address = reinterpret_cast<uintptr_t>(mixStorage);
    mixBuffer = reinterpret_cast<float*>((address + 15) & ~static_cast<uintptr_t>(15));

    writeBlock = 0;
    do {
        FillBlock();
    } while (writeBlock != 0);
    WaveOutStart(outputRing, static_cast<uint32_t>(ringFrames) * 4);

    stopRequested = false;
    if (!renderOnCallingThread) {
        // Set here, not only by the thread, so that a stop right after the start waits for it.
        threadExited = false;
        streamThread = std::thread([] {
            RaiseCurrentThreadPriority();
            StreamThread();
        });
    }
}

bool PlayerStop(Song* song) {
    if (song == nullptr) {
        return false;
    }
    stopRequested = true;
    while (fillBusy) {
    }
    if (streamThread.joinable()) {
        while (!threadExited) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        streamThread.join();
    }
    ReleaseMixBuffer();
    currentSong = nullptr;
    return true;
}

void AudioClose() {
    if (!audioUnavailable) {
        DeviceClose();
    }
}

void OfflinePull(int16_t* destination, int64_t frames) {
    if (frames <= 0) {
        return;
    }
    if (currentSong == nullptr || outputRing == nullptr || mixBuffer == nullptr) {
        if (destination != nullptr) {
            std::memset(destination, 0, sizeof(int16_t) * 2 * static_cast<size_t>(frames));
        }
        return;
    }
    uint32_t position = WaveOutPosition() / 4;
    while (frames > 0) {
        const uint32_t inRing = position % static_cast<uint32_t>(ringFrames);
        int64_t chunk = blockFrames - static_cast<int32_t>(inRing % blockFrames);
        chunk = chunk < frames ? chunk : frames;
        if (destination != nullptr) {
            std::memcpy(destination, outputRing + 2 * inRing,
                        sizeof(int16_t) * 2 * static_cast<size_t>(chunk));
            destination += 2 * chunk;
        }
        WaveOutAdvance(static_cast<uint32_t>(chunk) * 4);
        position += static_cast<uint32_t>(chunk);
        frames -= chunk;
        ServiceRing();
    }
}
