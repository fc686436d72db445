// Command-line parsing.
#include "shell/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kMaxFps = 1000;

// A whole decimal number from 1 to max, nothing else.
bool ParsePositive(const char* text, int32_t max, int32_t* value) {
    if (text == nullptr || *text < '0' || *text > '9') {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || parsed < 1 || parsed > max) {
        return false;
    }
    *value = static_cast<int32_t>(parsed);
    return true;
}

bool ParseFrameRange(const char* text, DemoOptions* options) {
    const char* colon = std::strchr(text, ':');
    if (colon == nullptr) {
        return false;
    }
    const std::string first(text, colon);
    constexpr int32_t kMaxFrame = 99999999;
    return ParsePositive(first.c_str(), kMaxFrame, &options->firstFrame) &&
           ParsePositive(colon + 1, kMaxFrame, &options->lastFrame) &&
           options->firstFrame <= options->lastFrame;
}

bool Fail(std::string* error, const std::string& message) {
    *error = message;
    return false;
}

}  // namespace

bool ParseCommandLine(int argc, const char* const* argv, DemoOptions* options, std::string* error) {
    *options = DemoOptions{};
    bool capture = false;
    bool bench = false;
    bool framesGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--help" || arg == "-h") {
            options->mode = RunMode::Help;
            return true;
        } else if (arg == "--version") {
            options->mode = RunMode::Version;
            return true;
        } else if (arg == "--window") {
            options->windowed = true;
        } else if (arg == "--bench") {
            bench = true;
        } else if (arg == "--capture") {
            if (value == nullptr || *value == '\0') {
                return Fail(error, "--capture needs a folder");
            }
            options->captureDir = value;
            capture = true;
            ++i;
        } else if (arg == "--fps") {
            if (!ParsePositive(value, kMaxFps, &options->fps)) {
                return Fail(error, std::string("--fps needs a whole number from 1 to 1000, not '") +
                                       (value ? value : "") + "'");
            }
            ++i;
        } else if (arg == "--frames") {
            if (value == nullptr || !ParseFrameRange(value, options)) {
                return Fail(error, std::string("--frames needs A:B with 1 <= A <= B, not '") +
                                       (value ? value : "") + "'");
            }
            framesGiven = true;
            ++i;
        } else {
            return Fail(error, "unknown option '" + arg + "' (see --help)");
        }
    }
    if (capture && bench) {
        return Fail(error, "--capture and --bench cannot be used together");
    }
    if (capture) {
        if (options->fps == 0) {
            return Fail(error, "--capture needs --fps N");
        }
        options->mode = RunMode::Capture;
    } else if (options->fps != 0 || framesGiven) {
        return Fail(error, "--fps and --frames go with --capture");
    } else if (bench) {
        options->mode = RunMode::Bench;
    }
    return true;
}

const char* UsageText() {
    return "Usage: demo [--window]\n"
           "       demo --capture DIR --fps N [--frames A:B]\n"
           "       demo --bench\n"
           "\n"
           "Plays the show full screen with its music until it ends or Escape is pressed.\n"
           "A file magicman.txt in the working folder whose first two lines hold 381 and 947\n"
           "switches to the hidden part: a paddle game steered with the arrow keys.\n"
           "\n"
           "Options:\n"
           "  --window          play in a resizable window instead of full screen\n"
           "  --capture DIR     draw the show offscreen with a fixed-step clock and write its\n"
           "                    frames as DIR/frame_000001.png ... (640x480 RGB) and its music\n"
           "                    as DIR/audio.wav; the same options give the same files every run\n"
           "  --fps N           frames per second of show time for --capture (1-1000)\n"
           "  --frames A:B      write only frames A to B (1-based) and stop after frame B\n"
           "  --bench           draw the whole show offscreen at 60 frames per second of show\n"
           "                    time as fast as possible and print each scene's frame times\n"
           "  --version         print the version and exit\n"
           "  -h, --help        print this help and exit\n"
           "\n"
           "Exit status: 0 when the show ends or is quit, 1 when no display can be opened,\n"
           "2 for a bad command line or a capture folder that cannot be written.\n";
}
