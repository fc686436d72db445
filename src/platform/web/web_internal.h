// What the web platform's files tell each other: the frame loop drives the audio feed and the
// pause of a hidden page, the clock follows the audio, the display says whether anyone watches.
#pragma once

#include <cstdint>

// True while the open display is offscreen (capture, benchmark): the frame loop then draws
// several frames per browser callback.
bool WebDisplayIsOffscreen();

// Whether DisplayPresent has shown a picture since the last call. The live show's frame loop
// draws the unseen frames before a later start back to back, and returns to the browser once a
// picture is on the canvas.
bool WebDisplayTakePresented();

// The live show's frame loop, after each step: sends the output ring's next 20 ms blocks to the
// page's audio worklet until enough is queued.
void WebAudioPump();

// While live sound plays: the milliseconds of sound the worklet has played since the sound last
// started, smoothed between its reports, and a count of the starts (a seek starts the sound
// again from 0 ms). False when no sound is playing.
bool WebAudioPlayedMilliseconds(double* milliseconds, uint32_t* start);

// Holds the sound (and, through the clock, the show's time) while the page is hidden.
void WebAudioSetPaused(bool paused);
void WebClockSetPaused(bool paused);
