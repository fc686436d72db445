// The wave-out device: plays one looping ring of 16-bit stereo frames and reports its position.
#pragma once

#include <cstdint>

// Chooses the backend for the next WaveOutOpen: the sound card through SDL (false, the default)
// or the offline device, whose play position only moves by WaveOutAdvance (capture, tools, tests).
void WaveOutUseOffline(bool offline);
bool WaveOutIsOffline();

// Opens the device for `rate` frames per second, 2 channels, 16 bits. False when no sound card
// is there; SDL's "dummy" and "disk" drivers count as none. WaveOutFailure() then says why.
bool WaveOutOpen(int32_t rate);
const char* WaveOutFailure();

// For tests: lets SDL's "disk" driver (it writes what it plays to SDL_DISKAUDIOFILE) count as a
// sound card, so that the card backend runs on machines without one.
void WaveOutAcceptDiskDriver(bool accept);

// Starts playing `bytes` bytes at `ring` in an endless loop, from byte `startByte` (a whole frame,
// less than `bytes`) onward: the position then starts at `startByte`, as if the ring had played
// that far. The ring must stay valid until WaveOutReset or WaveOutClose.
void WaveOutStart(const int16_t* ring, uint32_t bytes, uint32_t startByte);

// Bytes played since WaveOutStart, counted from its `startByte`; wraps at 2^32. Any thread.
uint32_t WaveOutPosition();

// Holds the sound card where it is (true) or lets it play on from there (false); the position
// stands still while held. Harmless with nothing playing; the offline device ignores it.
// Main thread.
void WaveOutPause(bool paused);

// Stops playing and forgets the ring; the position goes back to 0.
void WaveOutReset();

// Closes the device (after a reset); harmless when none is open.
void WaveOutClose();

// Offline device: the caller has played `bytes` more bytes. Any thread.
void WaveOutAdvance(uint32_t bytes);

// Offline device: how many times WaveOutPosition has been asked so far. Lets a test wait until a
// polling thread has seen a position it set.
uint32_t WaveOutPositionQueries();
