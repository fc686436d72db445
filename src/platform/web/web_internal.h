// What the web platform's files tell each other: the frame loop drives the audio feed and the
// pause of a hidden page, the clock follows the audio, the display says whether anyone watches.
#pragma once

// True while the open display is offscreen (capture, benchmark): the frame loop then draws
// several frames per browser callback.
bool WebDisplayIsOffscreen();

// The live show's frame loop, after each step: sends the output ring's next 20 ms blocks to the
// page's audio worklet until enough is queued.
void WebAudioPump();

// While live sound plays: the milliseconds of sound the worklet has played, smoothed between its
// reports. False when no sound is playing.
bool WebAudioPlayedMilliseconds(double* milliseconds);

// Holds the sound (and, through the clock, the show's time) while the page is hidden.
void WebAudioSetPaused(bool paused);
void WebClockSetPaused(bool paused);
