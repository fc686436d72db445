// Capture mode's output: the folder check, the numbered frame files and the progress line.
#pragma once

#include <cstdint>
#include <string>

// Creates dir if needed and checks that a file can be written in it. False with a one-line
// reason in error otherwise.
bool PrepareCaptureDir(const std::string& dir, std::string* error);

// dir/frame_000042.png for frame 42.
std::string CaptureFrameFile(const std::string& dir, int64_t frame);

// Reads the current picture and writes it as frame's file. False with a reason on failure.
bool WriteCaptureFrame(const std::string& dir, int64_t frame, std::string* error);

// One progress line on stderr, rewritten in place at most a few times a second: frame number,
// show time and frames drawn per second of wall time. final ends the line.
struct ProgressLine {
    int64_t startMilliseconds = -1;
    int64_t lastPrintMilliseconds = -1;
};
void ShowProgress(ProgressLine& progress, int64_t frame, double showSeconds, bool final);
