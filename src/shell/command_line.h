// The command line: no arguments runs the show; options add a window, capture, video export,
// a later start, scripted keys and benchmarks.
#pragma once

#include <cstdint>
#include <string>

enum class RunMode { Show, Capture, Export, Bench, Help, Version };

struct DemoOptions {
    RunMode mode = RunMode::Show;
    bool windowed = false;   // --window: a resizable window instead of full screen
    std::string captureDir;  // --capture DIR
    std::string exportPath;  // --export FILE.mp4
    int32_t fps = 0;         // --fps N (capture; export defaults to 60)
    int32_t firstFrame = 1;  // --frames A:B, 1-based and inclusive, counted from the show's start
    int32_t lastFrame = 0;   // 0: until the show ends
    int32_t scale = 2;       // --scale K (export): each picture pixel becomes K x K video pixels
    int32_t crf = 18;        // --crf Q (export): x264's constant rate factor
    std::string preset = "superfast";  // --preset NAME (export): x264's speed preset
    double fromSeconds = 0.0;          // --from SECONDS: where the show starts
    std::string keysPath;              // --keys FILE: timed key presses of the study controls
};

// Frames per second of an export when --fps is not given.
constexpr int32_t kDefaultExportFps = 60;

// Parses argv. False with a one-line reason in error for an unknown option, a missing or bad
// value, or options that do not go together.
bool ParseCommandLine(int argc, const char* const* argv, DemoOptions* options, std::string* error);

// The --help text.
const char* UsageText();
