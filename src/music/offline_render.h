// Renders an XM image to PCM on the calling thread through the player's own output ring, block by
// block, exactly as the demo feeds its sound device; the song ends where it first wraps back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "music/player.h"

struct Song;

struct OfflineRender {
    Player player;
    Song* song = nullptr;        // owned; null before a successful begin and after the end
    int64_t limitFrames = 0;     // the time limit in output frames
    int64_t renderedFrames = 0;  // frames handed out so far
    int64_t tickStartFrame = 0;  // first frame of the tick being played
    int64_t lastTickFrames = 0;  // length of the tick before it
    int64_t songEndFrame = -1;   // where the song first wraps back; -1 until that is known
};

// Opens the offline device and loads the image. False (nothing left open) when the device does not
// open or the loader refuses the image; `deviceFailed` then tells which.
bool OfflineRenderBegin(OfflineRender& render, const uint8_t* image, size_t size, double seconds,
                        bool* deviceFailed);

// Copies the next frames, at most one block's worth (player.blockFrames), to `pcm` (interleaved
// s16). Returns how many; 0 once the song's end or the time limit is reached.
int64_t OfflineRenderNext(OfflineRender& render, int16_t* pcm);

// True when the render stopped at the song's end rather than at the time limit.
bool OfflineRenderReachedSongEnd(const OfflineRender& render);

// Stops the player, releases the song and closes the device.
void OfflineRenderEnd(OfflineRender& render);
