// The music player: one record owning the song being played, its channels and voices, the output
// ring and float mix, and the streaming thread; and the calls the demo driver makes (AudioOpen,
// PlayerStart, PlayerStop, AudioClose).
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "music/channel.h"
#include "music/voice.h"

struct Song;
struct Player;

// Blocks in the output ring (one block lasts about 20 ms).
constexpr int32_t ringBlockCount = 100;

// Per-tick routine; FillBlock calls it at the first frame of every tick (ReplayTick when null).
using TickHandler = void (*)(Player& player);

// Where the row read on tick 0 lies, so that the other ticks of the row (and a pattern loop that
// moves `row` on tick 0) keep using its cells.
struct ProcessedRow {
    const Song* song;
    int32_t orderIndex;
    int32_t row;
};

// The song's fields that replay changes as it plays (the rest of the song stays as loaded, but for
// the finetunes that effect E5x writes into its samples).
struct SongPlayback {
    int32_t samplesLeftInTick = 0;
    int32_t samplesPerTick = 0;
    int32_t globalVolume = 0;
    uint8_t globalVolumeSlide = 0;
    int32_t tick = 0;
    int32_t speed = 0;
    int32_t bpm = 0;
    int32_t row = 0;
    int32_t orderIndex = 0;
    int32_t patternDelay = 0;
    int32_t nextRow = 0;
    int32_t nextOrderIndex = 0;
};

// Everything FillBlock reads and changes besides the ring, between two blocks: restored into the
// player it came from (the channels point at its voices, the voices at its song's samples), the
// next blocks render exactly as they did.
struct ReplayState {
    int64_t block = 0;  // blocks rendered since the song's first row
    SongPlayback song;
    std::vector<int8_t> finetunes;  // every sample's, instrument by instrument
    Channel channels[kMaxChannels] = {};
    Voice voices[mixedVoiceCount] = {};
    bool rowJumped = false;
    ProcessedRow processedRow = {nullptr, 0, 0};
};

// A block's song position as it began to render, packed for a lock-free hand-over between the
// rendering thread and the main thread: order position, pattern, row, speed (ticks per row) and
// BPM, 8 bits each but BPM's 16; 0 before any block.
using PackedSongPosition = uint64_t;

struct Player {
    // Set when the sound device could not be opened; every player call then does nothing.
    bool audioUnavailable = false;
    // When set, PlayerStart renders the first ring but starts no streaming thread: the caller
    // drives rendering on its own thread with OfflinePull (capture mode and xmrender), or with
    // ServiceRing where the platform has no threads and its device reads the ring only on that
    // thread (the web's). Otherwise needs the offline device (WaveOutUseOffline) so that no sound
    // card plays the ring.
    bool renderOnCallingThread = false;

    int32_t outputRate = 0;   // output frames per second; 44100 once the device is open
    int32_t blockFrames = 0;  // rate × 20 / 1000 + 3 with the low two bits cleared (884)
    int32_t ringFrames = 0;   // 100 blocks (88400 at 44100 Hz)
    // Length of a volume ramp in output frames (128 at 44100 Hz) and its reciprocal.
    int32_t rampLength = 128;
    float rampLengthReciprocal = 1.0f / 128.0f;

    // Interleaved left/right PCM that the device loops over: ringFrames × 2 values. Kept from
    // one start to the next while the device may still read it.
    std::vector<int16_t> outputRing;
    // Interleaved left/right float mix with the ring's block layout; empty while stopped.
    std::vector<float> mixBuffer;
    int32_t writeBlock = 0;  // next block FillBlock renders, 0..99
    // Blocks rendered since the song's first row; writeBlock is this modulo ringBlockCount.
    int64_t songBlock = 0;
    // Where the song stood as each ring block began, for telling what is playing now. Written by
    // the rendering thread, read by any.
    std::atomic<PackedSongPosition> blockSongPositions[ringBlockCount] = {};

    // With keepCheckpoints, FillBlock keeps the replay state of every kCheckpointBlocks-th block
    // of the song the first time it renders it (player_seek.h); PlayerSeek starts from them. The
    // rendering thread appends; others read only while it is stopped.
    bool keepCheckpoints = false;
    std::vector<ReplayState> checkpoints;

    // The song being streamed; null when stopped. Not owned.
    Song* song = nullptr;
    TickHandler tickHandler = nullptr;
    void* tickContext = nullptr;  // for the tick handler's owner

    // Replay state; only the rendering thread touches it while a song streams.
    Channel channels[kMaxChannels] = {};
    Voice voices[mixedVoiceCount] = {};
    // Set by a position jump on the row being read, so that a later pattern break keeps its
    // order position. Cleared at the start of every row.
    bool rowJumped = false;
    ProcessedRow processedRow = {nullptr, 0, 0};

    // The streaming thread sleeps on `wake` between polls; PlayerStop sets `stopRequested` under
    // `threadMutex` and notifies.
    std::thread streamThread;
    std::mutex threadMutex;
    std::condition_variable wake;
    bool stopRequested = false;
};

// Opens the sound device at `rate` frames per second (stereo, 16 bits), sets the ring geometry
// and ramp length and resets the voices. False when no device opens.
bool DeviceOpen(Player& player, int32_t rate);
// Resets and closes the device and releases the ring; harmless when none is open.
void DeviceClose(Player& player);
// Sets the song's tempo: bpm, and samplesPerTick = output frames per tick (882 at 125 BPM and
// 44100 Hz).
void SetBpm(Song* song, int32_t bpm, int32_t outputRate);
// Puts the song back to its first row with its default tempo, BPM and global volume.
void ResetSongPlayback(Song* song, int32_t outputRate);
// Every voice idle, voice k with index k and step 1.0.
void ResetVoices(Player& player);

// Renders block writeBlock of the ring (ticks and mix) and moves writeBlock on. Rendering thread.
void FillBlock(Player& player);
// Renders every finished block up to the device's play position once (one poll of StreamThread).
void ServiceRing(Player& player);
// Body of the streaming thread: re-renders the blocks the device has finished every 5 ms until
// PlayerStop.
void StreamThread(Player& player);
// Starts the streaming thread (unless renderOnCallingThread), and stops and joins it (when it
// runs); main thread. While it is stopped the main thread may touch the replay state.
void StartStreamThread(Player& player);
void StopStreamThread(Player& player);

// Demo driver calls, main thread only, in this order.
void AudioOpen(Player& player);
// Starts `song` from its first row (a null song does nothing); the player does not own it. With
// startFrame, the sound begins exactly that many output frames into the song, as PlayerSeek puts
// it there.
void PlayerStart(Player& player, Song* song, int64_t startFrame = 0);
// Wakes and joins the streaming thread and releases the mix; the ring stays for the device.
void PlayerStop(Player& player);
void AudioClose(Player& player);

// Offline device only, rendering on the calling thread: copies the next `frames` frames of the
// stream (from the device's play position) to `destination` (interleaved s16, may be null to skip)
// and advances the device, re-rendering finished blocks as the streaming thread would.
void OfflinePull(Player& player, int16_t* destination, int64_t frames);
