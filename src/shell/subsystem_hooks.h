// The driver's calls into the toolkit and the music player, grouped by start-up step.
#pragma once

#include <cstdint>

// Start-up steps 3-5: the feedback texture, the two fonts (small, then large) and the shared
// textures. Needs the GL context.
void CreateToolkitResources();

// End-of-frame text-state step of the normal mode.
void RestoreTextState();

// Start-up steps 7-9: open the audio, create the song the mode selects and start it.
void StartMusic();

// Shutdown: stop the player and close the audio.
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
