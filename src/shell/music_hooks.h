// The driver's calls into the music player: start-up, shutdown and the capture-mode audio track.
#pragma once

#include <cstdint>

// Opens the audio, loads the song of the mode (the hidden song or the show's) and starts it.
// Without a sound device the show runs silent, with one line on stderr.
void StartMusic(bool hiddenMode);

// Stops the player and closes the audio.
void StopMusic();

// Capture mode: from here on the music goes to DIR/audio.wav instead of a sound device, rendered
// in lockstep with the frames. Call before StartMusic. False when the file cannot be written.
bool CaptureAudioBegin(const char* wavPath);

// Renders the music up to show time framesShown * 1000 / fps ms (rounded down to whole output
// frames) into the capture file. False when the file could not take it; the file then still ends
// at the previous call's show time.
bool CaptureAudioAdvance(int64_t framesShown, int32_t fps);

// Finishes the capture file with the audio of every successful advance. False when it could not
// be completed.
bool CaptureAudioEnd();
