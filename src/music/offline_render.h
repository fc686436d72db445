// Renders an XM image to PCM on the calling thread through the player's own output ring, block by
// block, exactly as the demo feeds its sound device; the song ends where it first wraps back.
#pragma once

#include <cstddef>
#include <cstdint>

struct Song;

struct OfflineRender {
    Song* song;              // null once ended
    int64_t limitFrames;     // the time limit in output frames
    int64_t renderedFrames;  // frames handed out so far
};

// Opens the offline device and loads the image. False (nothing left open) when the device does not
// open or the loader refuses the image; `deviceFailed` then tells which.
bool OfflineRenderBegin(OfflineRender& render, const uint8_t* image, size_t size, double seconds,
                        bool* deviceFailed);

// Copies the next frames, at most one block's worth, to `pcm` (interleaved s16, room for
// 2 × blockFrames values). Returns how many; 0 once the song's end or the time limit is reached.
int64_t OfflineRenderNext(OfflineRender& render, int16_t* pcm);

// Frames in one block, the most OfflineRenderNext hands out at once.
int64_t OfflineRenderBlockFrames();

// True when the render stopped at the song's end rather than at the time limit.
bool OfflineRenderReachedSongEnd(const OfflineRender& render);

// Stops the player, releases the song and closes the device.
void OfflineRenderEnd(OfflineRender& render);
