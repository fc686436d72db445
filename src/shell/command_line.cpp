// Command-line parsing.
#include "shell/command_line.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int32_t kMaxFps = 1000;
constexpr int32_t kMaxExportFps = 240;
constexpr int32_t kMaxScale = 8;
constexpr int32_t kMaxCrf = 51;
// Well past the show's end (about 132 s); the run itself finds out where the show really ends.
constexpr double kLongestFrom = 3600.0;
constexpr const char* kPresets[] = {"ultrafast", "superfast", "veryfast", "faster",  "fast",
                                    "medium",    "slow",      "slower",   "veryslow"};

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

// A whole decimal number from 0 to max, nothing else.
bool ParseWhole(const char* text, int32_t max, int32_t* value) {
    if (text != nullptr && std::strcmp(text, "0") == 0) {
        *value = 0;
        return true;
    }
    return ParsePositive(text, max, value);
}

// Seconds as a plain decimal number: digits with at most one point, from 0 to max.
bool ParseSeconds(const char* text, double max, double* value) {
    if (text == nullptr || *text == '\0') {
        return false;
    }
    int points = 0;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '.') {
            ++points;
        } else if (*c < '0' || *c > '9') {
            return false;
        }
    }
    if (points > 1 || std::strcmp(text, ".") == 0) {
        return false;
    }
    const double parsed = std::strtod(text, nullptr);
    if (!(parsed <= max)) {
        return false;
    }
    *value = parsed;
    return true;
}

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t length = std::strlen(suffix);
    return text.size() > length && text.compare(text.size() - length, length, suffix) == 0;
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
    bool exporting = false;
    bool bench = false;
    bool framesGiven = false;
    bool exportTuning = false;  // --scale, --crf or --preset given
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
        } else if (arg == "--export") {
            if (value == nullptr || *value == '\0') {
                return Fail(error, "--export needs a file name ending in .mp4");
            }
            options->exportPath = value;
            exporting = true;
            ++i;
        } else if (arg == "--fps") {
            if (!ParsePositive(value, kMaxFps, &options->fps)) {
                return Fail(error, std::string("--fps needs a whole number from 1 to 1000, not '") +
                                       (value ? value : "") + "'");
            }
            ++i;
        } else if (arg == "--scale") {
            if (!ParsePositive(value, kMaxScale, &options->scale)) {
                return Fail(error, std::string("--scale needs a whole number from 1 to 8, not '") +
                                       (value ? value : "") + "'");
            }
            exportTuning = true;
            ++i;
        } else if (arg == "--crf") {
            if (!ParseWhole(value, kMaxCrf, &options->crf)) {
                return Fail(error, std::string("--crf needs a whole number from 0 to 51, not '") +
                                       (value ? value : "") + "'");
            }
            exportTuning = true;
            ++i;
        } else if (arg == "--preset") {
            bool known = false;
            for (const char* preset : kPresets) {
                known = known || (value != nullptr && std::strcmp(value, preset) == 0);
            }
            if (!known) {
                return Fail(error, std::string("--preset needs one of ultrafast, superfast, "
                                               "veryfast, faster, fast, medium, slow, slower, "
                                               "veryslow, not '") +
                                       (value ? value : "") + "'");
            }
            options->preset = value;
            exportTuning = true;
            ++i;
        } else if (arg == "--from") {
            if (!ParseSeconds(value, kLongestFrom, &options->fromSeconds)) {
                return Fail(error,
                            std::string("--from needs a number of seconds from 0 (such as 30 or "
                                        "42.5), not '") +
                                (value ? value : "") + "'");
            }
            ++i;
        } else if (arg == "--keys") {
            if (value == nullptr || *value == '\0') {
                return Fail(error, "--keys needs a file of FRAME KEY lines");
            }
            options->keysPath = value;
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
    if ((capture ? 1 : 0) + (exporting ? 1 : 0) + (bench ? 1 : 0) > 1) {
        return Fail(error, "--capture, --export and --bench cannot be used together");
    }
    if (exportTuning && !exporting) {
        return Fail(error, "--scale, --crf and --preset go with --export");
    }
    if (capture) {
        if (options->fps == 0) {
            return Fail(error, "--capture needs --fps N");
        }
        options->mode = RunMode::Capture;
    } else if (exporting) {
        if (!EndsWith(options->exportPath, ".mp4")) {
            return Fail(error, "--export writes MP4 files: the name must end in .mp4, not '" +
                                   options->exportPath + "'");
        }
        if (options->fps == 0) {
            options->fps = kDefaultExportFps;
        } else if (options->fps > kMaxExportFps) {
            return Fail(error, "--fps for --export goes from 1 to 240, not " +
                                   std::to_string(options->fps));
        }
        options->mode = RunMode::Export;
    } else if (options->fps != 0 || framesGiven) {
        return Fail(error, "--fps and --frames go with --capture or --export");
    } else if (bench) {
        if (options->fromSeconds > 0.0) {
            return Fail(error, "--from does not go with --bench");
        }
        if (!options->keysPath.empty()) {
            return Fail(error, "--keys goes with the show, --capture or --export, not --bench");
        }
        options->mode = RunMode::Bench;
    }
    return true;
}

const char* UsageText() {
    return "Usage: demo [--window] [--from SECONDS] [--keys FILE]\n"
           "       demo --capture DIR --fps N [--frames A:B] [--from SECONDS] [--keys FILE]\n"
           "       demo --export FILE.mp4 [--fps N] [--frames A:B] [--from SECONDS]\n"
           "                              [--keys FILE] [--scale K] [--crf Q] [--preset NAME]\n"
           "       demo --bench\n"
           "\n"
           "Plays the show full screen with its music until it ends or Escape is pressed.\n"
           "A file magicman.txt in the working folder whose first two lines hold 381 and 947\n"
           "switches to the hidden part: a paddle game steered with the arrow keys.\n"
           "\n"
           "Keys while the show plays:\n"
           "  Space             pause / resume (picture and sound)\n"
           "  . and ,           while paused: one frame forward / back\n"
           "  Right / Left      5 seconds forward / back\n"
           "  Page Down         to the start of the next scene\n"
           "  Page Up           to the start of this scene (twice quickly: the one before)\n"
           "  Home              back to the start\n"
           "  Tab               show / hide the overlay: time, scene, frame rate, song position\n"
           "  F1 or ?           show / hide this list of keys\n"
           "  Escape            quit\n"
           "\n"
           "Options:\n"
           "  --window          play in a resizable window instead of full screen\n"
           "  --capture DIR     draw the show offscreen with a fixed-step clock and write its\n"
           "                    frames as DIR/frame_000001.png ... (640x480 RGB) and its music\n"
           "                    as DIR/audio.wav; the same options give the same files every run\n"
           "  --export FILE.mp4 draw the show offscreen as --capture does and write it as one\n"
           "                    video file: H.264 picture and AAC sound, playable anywhere\n"
           "  --fps N           frames per second of show time: 1-1000 for --capture, 1-240\n"
           "                    for --export (default 60)\n"
           "  --frames A:B      write only frames A to B (1-based, counted from the show's\n"
           "                    start) and stop after frame B\n"
           "  --scale K         --export: each picture pixel becomes a K x K block (1-8,\n"
           "                    default 2, giving 1280x960)\n"
           "  --crf Q           --export: x264 quality, 0 (lossless) to 51 (default 18)\n"
           "  --preset NAME     --export: x264 speed preset, ultrafast ... veryslow\n"
           "                    (default superfast)\n"
           "  --from SECONDS    start the show that far in: the frames before are drawn\n"
           "                    unseen and the music is rendered silently up to there\n"
           "  --keys FILE       press keys at given frames: each line 'FRAME KEY', KEY one of\n"
           "                    Space Period Comma Right Left PageDown PageUp Home Tab, applied\n"
           "                    just after output frame FRAME (frames in order; '#' comments).\n"
           "                    Paused frames repeat the picture in silence; the overlay (Tab)\n"
           "                    never enters --capture or --export\n"
           "  --bench           draw the whole show offscreen at 60 frames per second of show\n"
           "                    time as fast as possible and print each scene's frame times,\n"
           "                    then the window's and the start-up's times, the frames over\n"
           "                    16.7 ms after the first, and when the show moved to the GL\n"
           "                    contexts whose drawing paths were made ready ahead\n"
           "  --version         print the version and exit\n"
           "  -h, --help        print this help and exit\n"
           "\n"
           "Exit status: 0 when the show ends or is quit, 1 when no display can be opened or\n"
           "writing fails, 2 for a bad command line or an output that cannot be written.\n";
}
