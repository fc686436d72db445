// The driver's calls into the music player: start-up, shutdown, and the sound of offline runs
// (capture and export), rendered in lockstep with the frames.
#pragma once

#include <cstdint>
#include <vector>

#include "music/now_playing.h"

// Opens the audio, loads the song of the mode (the hidden song or the show's) and starts it
// startSeconds into the song (to the output frame). Without a sound device the show runs silent,
// with one line on stderr.
void StartMusic(bool hiddenMode, double startSeconds);

// The live show, once per frame: where the platform has no threads the player renders here, on
// the frame loop, what the streaming thread would (the blocks the device has finished playing).
// Does nothing where the streaming thread runs, and in offline runs.
void ServiceMusic();

// Stops the player, closes the audio and frees the song.
void StopMusic();

// Offline runs: from here on the song is rendered on the calling thread by RenderMusicUpTo
// instead of playing on a sound device. Call before StartMusic.
void UseOfflineMusic();

// Renders the song from where the previous call ended up to the end of frame `frame` at `fps`
// frames per second: frame * 44100 / fps output frames from the start, rounded down. Appends the
// interleaved left/right samples to pcm, or drops them when pcm is null (frames skipped before a
// later start).
void RenderMusicUpTo(int64_t frame, int32_t fps, std::vector<int16_t>* pcm);

// From the next StartMusic on, the player keeps its replay checkpoints (music/player_seek.h), so
// that SeekMusic costs about the same anywhere in what has been played. Call before StartMusic.
void KeepMusicCheckpoints();

// Puts the song at output frame `frame` (counted from its first row), exactly as playing there
// from the start would: on a sound device the sound goes on from that frame at once; offline,
// RenderMusicUpTo goes on from there.
void SeekMusic(int64_t frame);

// The output frame of the song that show time `milliseconds` calls for (44.1 per millisecond,
// rounded down).
int64_t MusicFrameAt(double milliseconds);

// On a sound device: holds the sound where it is (true) or lets it play on (false).
void PauseMusic(bool paused);

// Offline runs: appends the silence that stands for output frame `frame`'s sound at `fps`: as
// many frames as RenderMusicUpTo would give it.
void AppendFrameSilence(int64_t frame, int32_t fps, std::vector<int16_t>* pcm);

// Where in the song the sound device is now (for the overlay).
SongPositionNow MusicNowPlaying();
