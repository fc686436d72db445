// The command line: no arguments runs the show; options add a window, capture and benchmarks.
#pragma once

#include <cstdint>
#include <string>

enum class RunMode { Show, Capture, Bench, Help, Version };

struct DemoOptions {
    RunMode mode = RunMode::Show;
    bool windowed = false;   // --window: a resizable window instead of full screen
    std::string captureDir;  // --capture DIR
    int32_t fps = 0;         // --fps N (capture)
    int32_t firstFrame = 1;  // --frames A:B, 1-based and inclusive
    int32_t lastFrame = 0;   // 0: until the show ends
};

// Parses argv. False with a one-line reason in error for an unknown option, a missing or bad
// value, or options that do not go together.
bool ParseCommandLine(int argc, const char* const* argv, DemoOptions* options, std::string* error);

// The --help text.
const char* UsageText();
