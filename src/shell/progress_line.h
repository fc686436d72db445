// The progress of an offline run on stderr: one line redrawn in place on a terminal, or a line
// every few seconds when stderr goes to a file or a pipe.
#pragma once

#include <cstdint>

struct ProgressLine {
    int64_t firstFrame = 1;    // the first frame the run draws
    int64_t expectedLast = 0;  // the frame the run should end on; 0 when unknown
    int32_t fps = 0;           // frames per second of show time
    bool redraw = true;        // redraw in place (a terminal) or print whole lines
    int64_t startMilliseconds = -1;
    int64_t lastPrintMilliseconds = -1;
    bool printed = false;  // a line is on screen that a final line must end
};

// Starts timing from now.
void ProgressStart(ProgressLine& progress, int64_t firstFrame, int64_t expectedLast, int32_t fps);

// Reports frame `frame` done: percent of the run, frame, show time, frames per second, elapsed
// and remaining time. At most four times a second in place, or every five seconds as lines.
void ProgressUpdate(ProgressLine& progress, int64_t frame);

// Reports the run's last frame whatever the time, and ends the line so that the next message
// starts on a line of its own.
void ProgressEnd(ProgressLine& progress, int64_t lastFrame);

// Minutes and seconds, "m:ss", for messages; used by the final line too.
void FormatDuration(double seconds, char (&text)[48]);
