// The driver's calls into the music player: start-up, shutdown, and the sound of offline runs
// (capture and export), rendered in lockstep with the frames.
#pragma once

#include <cstdint>
#include <vector>

// Opens the audio, loads the song of the mode (the hidden song or the show's) and starts it
// startSeconds into the song (to the song's 20 ms blocks). Without a sound device the show runs
// silent, with one line on stderr.
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
