// Putting the player anywhere in its song, exactly as if it had played there: replay-state
// checkpoints taken as blocks render, and the seek that starts from the nearest one.
#pragma once

#include <cstdint>

#include "music/player.h"

// FillBlock keeps the replay state of every block whose number is a multiple of this (about one
// second of song at 44.1 kHz).
constexpr int64_t kCheckpointBlocks = 50;

// The replay state of the player now (between two blocks), and back. The player must be playing
// the song the state was taken from; no rendering thread may run meanwhile.
void SaveReplayState(const Player& player, ReplayState& state);
void RestoreReplayState(Player& player, const ReplayState& state);

// Puts the player's song back on its first row with its default tempo, every channel and voice
// reset, block 0 next. Needs player.song.
void RewindToFirstRow(Player& player);

// FillBlock's first step with keepCheckpoints: adds the replay state when the block about to be
// rendered is the next checkpoint the list lacks. Rendering thread.
void RecordCheckpoint(Player& player);

// From the current replay state (which must not lie past `frame`'s block): renders and drops the
// blocks before output frame `frame` of the song, fills the ring with the 100 blocks from the one
// holding it (block b in slot b % 100, as playing from the start leaves them) and starts the
// device at that frame. Main thread, no rendering thread running.
void FillRingFrom(Player& player, int64_t frame);

// Moves a started player to output frame `frame` of its song (counted from the first row): the
// streaming thread stopped, the replay state taken from the latest checkpoint at or before the
// frame (or from the first row when there is none, or from where it stands when that is not
// past the frame), blocks rendered forward, the ring refilled and the device started from that
// frame; then the streaming thread again. What plays from there is, to the sample, what playing
// from the start gives. Main thread.
void PlayerSeek(Player& player, int64_t frame);
