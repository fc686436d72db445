// The player's output side: sound device, output ring, block rendering, streaming thread and the
// calls the demo driver makes (AudioOpen, PlayerStart, PlayerStop, AudioClose).
#pragma once

#include <atomic>
#include <cstdint>

struct Song;

// Blocks in the output ring (one block lasts about 20 ms).
constexpr int32_t ringBlockCount = 100;

// Set when the sound device could not be opened; every player call then does nothing.
extern bool audioUnavailable;
// Output frames per second; 44100 once the device is open.
extern int32_t outputRate;
// Frames per block: rate × 20 / 1000 + 3 with the low two bits cleared (884 at 44100 Hz).
extern int32_t blockFrames;
// Frames in the ring: 100 blocks (88400 at 44100 Hz).
extern int32_t ringFrames;
// Interleaved left/right PCM that the device loops over; ringFrames × 2 values.
extern int16_t* outputRing;
// Interleaved left/right float mix with the ring's block layout; 16-byte aligned.
extern float* mixBuffer;
// Next block FillBlock renders, 0..99.
extern int32_t writeBlock;
// The song being streamed; null when stopped.
extern Song* currentSong;

// Hand-over between the main thread and the streaming thread.
extern std::atomic<bool> stopRequested;  // written by the main thread
extern std::atomic<bool> fillBusy;       // true while the streaming thread is inside FillBlock
extern std::atomic<bool> threadExited;   // true while no streaming thread runs

// When set, PlayerStart renders the first ring but starts no streaming thread: the caller drives
// rendering on its own thread with OfflinePull (capture mode and xmrender). Needs the offline
// device (WaveOutUseOffline) so that no sound card plays the ring.
extern bool renderOnCallingThread;

// Opens the sound device at `rate` frames per second (stereo, 16 bits) and resets the voices.
// False when the song source is incomplete or no device opens.
bool DeviceOpen(int32_t rate);
// Resets and closes the device; harmless when none is open.
void DeviceClose();
// Sets the song's tempo: bpm, and samplesPerTick = output frames per tick (882 at 125 BPM).
void SetBpm(Song* song, int32_t bpm);
// Renders block writeBlock of the ring (ticks and mix) and moves writeBlock on. Rendering thread.
void FillBlock();
// Body of the streaming thread: re-renders the blocks the device has finished every 5 ms.
void StreamThread();
// Renders every finished block up to the device's play position once (one poll of StreamThread).
void ServiceRing();

// Demo driver calls, main thread only, in this order.
void AudioOpen();
// Puts the song back to its first row with its default tempo, BPM and global volume.
void ResetSongPlayback(Song* song);

void PlayerStart(Song* song);
bool PlayerStop(Song* song);  // the argument is only tested for null
void AudioClose();

// Offline device only, rendering on the calling thread: copies the next `frames` frames of the
// stream (from the device's play position) to `destination` (interleaved s16, may be null to skip)
// and advances the device, re-rendering finished blocks as the streaming thread would.
void OfflinePull(int16_t* destination, int64_t frames);
