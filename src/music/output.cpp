// The player's output side: device set-up, the output ring and its block rendering, tempo, the
// streaming thread and the driver's open/start/stop/close calls.
#include <chrono>
#include <cstring>

#include "music/mixer.h"
#include "music/now_playing.h"
#include "music/player.h"
#include "music/player_seek.h"
#include "music/replay.h"
#include "music/song.h"
#include "platform/thread_priority.h"
#include "platform/wave_out.h"

namespace {

constexpr int32_t kDeviceRate = 44100;
// Tempo formula constants, single precision as the tracker tempo rule defines them.
constexpr float kTickBeatFraction = 0.4f;
constexpr float kMillisecondsToSeconds = 0.001f;
// How long the streaming thread sleeps between polls of the device position.
constexpr auto kPollInterval = std::chrono::milliseconds(5);

}  // namespace

void ResetVoices(Player& player) {
    for (int32_t k = 0; k < mixedVoiceCount; ++k) {
        player.voices[k] = Voice{};
        player.voices[k].index = k;
        player.voices[k].stepInteger = 1;
    }
}

bool DeviceOpen(Player& player, int32_t rate) {
    DeviceClose(player);
    player.outputRate = rate;
    if (!WaveOutOpen(rate)) {
        return false;
    }
    player.blockFrames = (rate * 20 / 1000 + 3) & ~3;
    player.ringFrames = ringBlockCount * player.blockFrames;
    player.rampLength = rate * 128 / 44100;
    player.rampLengthReciprocal = 1.0f / static_cast<float>(player.rampLength);
    ResetVoices(player);
    return true;
}

void DeviceClose(Player& player) {
    WaveOutReset();
    WaveOutClose();
    // The device no longer reads the ring, so it may go now.
    player.outputRing = {};
}

void SetBpm(Song* song, int32_t bpm, int32_t outputRate) {
    song->bpm = bpm;
    // A tempo of 0 (possible in a damaged file) would divide by zero: it plays as 1 BPM.
    const int32_t beats = bpm < 1 ? 1 : bpm;
    const double frames = 1000.0 / (beats * static_cast<double>(kTickBeatFraction)) * outputRate *
                          static_cast<double>(kMillisecondsToSeconds);
    const int32_t perTick = static_cast<int32_t>(frames);
    song->samplesPerTick = perTick < 1 ? 1 : perTick;  // a tick of 0 frames would stall FillBlock
}

void ResetSongPlayback(Song* song, int32_t outputRate) {
    song->globalVolume = song->initialGlobalVolume;
    song->nextOrderIndex = -1;
    song->nextRow = -1;
    song->speed = song->defaultTempo;
    song->row = 0;
    song->orderIndex = 0;
    song->samplesLeftInTick = 0;
    song->tick = 0;
    song->patternDelay = 0;
    SetBpm(song, song->defaultBpm, outputRate);
}

void FillBlock(Player& player) {
    Song* song = player.song;
    if (player.keepCheckpoints) {
        RecordCheckpoint(player);
    }
    player.blockSongPositions[player.writeBlock].store(PackSongPosition(*song),
                                                       std::memory_order_relaxed);
    const int32_t blockFrames = player.blockFrames;
    float* block = player.mixBuffer.data() + 2 * player.writeBlock * blockFrames;
    std::memset(block, 0, sizeof(float) * 2 * blockFrames);
    int32_t left = song->samplesLeftInTick;
    int32_t done = 0;
    while (done < blockFrames) {
        if (left <= 0) {
            if (player.tickHandler != nullptr) {
                player.tickHandler(player);
            } else {
                ReplayTick(player);
            }
            // Read after the tick, so that a tempo change in it takes effect at once.
            left = song->samplesPerTick < 1 ? 1 : song->samplesPerTick;
        }
        const int32_t frames = left < blockFrames - done ? left : blockFrames - done;
        MixVoices(player, block + 2 * done, frames);
        done += frames;
        left -= frames;
    }
    song->samplesLeftInTick = left;  // a tick can span blocks
    ConvertToPcm16(player.outputRing.data() + 2 * player.writeBlock * blockFrames, block,
                   blockFrames);
    player.writeBlock = player.writeBlock + 1 == ringBlockCount ? 0 : player.writeBlock + 1;
    player.songBlock += 1;
}

void ServiceRing(Player& player) {
    if (player.song == nullptr || player.ringFrames <= 0 || player.blockFrames <= 0) {
        return;
    }
    const uint32_t frames = WaveOutPosition() / 4;
    const int32_t playBlock =
        static_cast<int32_t>(frames % static_cast<uint32_t>(player.ringFrames)) /
        player.blockFrames;
    while (player.writeBlock != playBlock) {
        FillBlock(player);
    }
}

void StreamThread(Player& player) {
    // The mutex is held while rendering, so a stop waits for the block in hand to finish.
    std::unique_lock<std::mutex> lock(player.threadMutex);
    while (!player.stopRequested) {
        ServiceRing(player);
        player.wake.wait_for(lock, kPollInterval, [&player] { return player.stopRequested; });
    }
}

void AudioOpen(Player& player) {
    if (player.audioUnavailable) {
        return;
    }
    if (!DeviceOpen(player, kDeviceRate)) {
        player.audioUnavailable = true;
    }
}

void PlayerStart(Player& player, Song* song, int64_t startFrame) {
    if (player.audioUnavailable || song == nullptr || player.blockFrames <= 0) {
        return;
    }
    PlayerStop(player);
    player.song = song;
    RewindToFirstRow(player);
    player.checkpoints.clear();
    for (std::atomic<PackedSongPosition>& position : player.blockSongPositions) {
        position.store(0, std::memory_order_relaxed);
    }

    // A second start without DeviceClose reuses the ring; stop the device reading it first.
    WaveOutReset();
    player.outputRing.assign(2 * static_cast<size_t>(player.ringFrames), 0);
    // The default allocator aligns to 16 bytes, as the SSE conversion of the mix likes.
    player.mixBuffer.assign(2 * static_cast<size_t>(player.ringFrames), 0.0f);
    FillRingFrom(player, startFrame);
    StartStreamThread(player);
}

void StartStreamThread(Player& player) {
    if (!player.renderOnCallingThread) {
        player.stopRequested = false;
        player.streamThread = std::thread([&player] {
            RaiseCurrentThreadPriority();
            StreamThread(player);
        });
    }
}

void StopStreamThread(Player& player) {
    if (player.streamThread.joinable()) {
        {
            const std::lock_guard<std::mutex> lock(player.threadMutex);
            player.stopRequested = true;
        }
        player.wake.notify_one();
        player.streamThread.join();
    }
}

void PlayerStop(Player& player) {
    StopStreamThread(player);
    player.mixBuffer = {};
    player.song = nullptr;
}

void AudioClose(Player& player) {
    if (!player.audioUnavailable) {
        DeviceClose(player);
    }
}

void OfflinePull(Player& player, int16_t* destination, int64_t frames) {
    if (frames <= 0) {
        return;
    }
    if (player.song == nullptr || player.outputRing.empty() || player.mixBuffer.empty()) {
        if (destination != nullptr) {
            std::memset(destination, 0, sizeof(int16_t) * 2 * static_cast<size_t>(frames));
        }
        return;
    }
    const int32_t blockFrames = player.blockFrames;
    uint32_t position = WaveOutPosition() / 4;
    while (frames > 0) {
        const uint32_t inRing = position % static_cast<uint32_t>(player.ringFrames);
        int64_t chunk = blockFrames - static_cast<int32_t>(inRing % blockFrames);
        chunk = chunk < frames ? chunk : frames;
        if (destination != nullptr) {
            std::memcpy(destination, player.outputRing.data() + 2 * inRing,
                        sizeof(int16_t) * 2 * static_cast<size_t>(chunk));
            destination += 2 * chunk;
        }
        WaveOutAdvance(static_cast<uint32_t>(chunk) * 4);
        position += static_cast<uint32_t>(chunk);
        frames -= chunk;
        ServiceRing(player);
    }
}
