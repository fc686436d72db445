// What the listener hears now: the song position of the ring block the device is playing.
#pragma once

#include <cstdint>

#include "music/player.h"

struct Song;

struct SongPositionNow {
    bool known = false;  // false before the song plays, or without a device
    int32_t orderIndex = 0;
    int32_t pattern = 0;
    int32_t row = 0;
    int32_t speed = 0;  // ticks per row
    int32_t bpm = 0;
};

// The song's position now, packed for Player::blockSongPositions.
PackedSongPosition PackSongPosition(const Song& song);

// The position stored for the block the device plays. Any thread (the main thread, for the
// overlay, while the streaming thread renders).
SongPositionNow PlayerNowPlaying(const Player& player);
