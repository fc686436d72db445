// The progress line of capture and export runs.
#include "shell/progress_line.h"

#include <cstdio>

#include "platform/clock.h"
#include "platform/files.h"

namespace {
constexpr int64_t kRedrawInterval = 250;  // ms between redraws on a terminal
constexpr int64_t kLineInterval = 5000;   // ms between lines in a log
}  // namespace

void FormatDuration(double seconds, char (&text)[48]) {
    const auto whole = static_cast<long long>(seconds < 0.0 ? 0.0 : seconds + 0.5);
    std::snprintf(text, sizeof text, "%lld:%02lld", whole / 60, whole % 60);
}

void ProgressStart(ProgressLine& progress, int64_t firstFrame, int64_t expectedLast, int32_t fps) {
    progress.firstFrame = firstFrame;
    progress.expectedLast = expectedLast;
    progress.fps = fps;
    progress.redraw = StandardErrorIsTerminal();
    progress.startMilliseconds = PlatformMilliseconds();
    progress.lastPrintMilliseconds = progress.startMilliseconds;
    progress.printed = false;
}

namespace {

void PrintProgress(ProgressLine& progress, int64_t frame, int64_t now) {
    progress.lastPrintMilliseconds = now;
    const double elapsed = static_cast<double>(now - progress.startMilliseconds) / 1000.0;
    const auto done = static_cast<double>(frame - progress.firstFrame + 1);
    const double rate = elapsed > 0.0 ? done / elapsed : 0.0;
    const double showSeconds =
        progress.fps > 0 ? static_cast<double>(frame) / static_cast<double>(progress.fps) : 0.0;
    char elapsedText[48];
    FormatDuration(elapsed, elapsedText);
    char line[256];
    if (progress.expectedLast >= frame && progress.expectedLast >= progress.firstFrame) {
        const auto total = static_cast<double>(progress.expectedLast - progress.firstFrame + 1);
        char leftText[48];
        FormatDuration(rate > 0.0 ? (total - done) / rate : 0.0, leftText);
        std::snprintf(line, sizeof line,
                      "%3.0f%%  frame %lld  show %.1f s  %.1f frames/s  elapsed %s  left %s",
                      100.0 * done / total, static_cast<long long>(frame), showSeconds, rate,
                      elapsedText, leftText);
    } else {
        std::snprintf(line, sizeof line, "frame %lld  show %.1f s  %.1f frames/s  elapsed %s",
                      static_cast<long long>(frame), showSeconds, rate, elapsedText);
    }
    if (progress.redraw) {
        std::fprintf(stderr, "\r%s\033[K", line);
    } else {
        std::fprintf(stderr, "%s\n", line);
    }
    progress.printed = progress.redraw;
    std::fflush(stderr);
}

}  // namespace

void ProgressUpdate(ProgressLine& progress, int64_t frame) {
    const int64_t now = PlatformMilliseconds();
    const int64_t interval = progress.redraw ? kRedrawInterval : kLineInterval;
    if (now - progress.lastPrintMilliseconds >= interval) {
        PrintProgress(progress, frame, now);
    }
}

void ProgressEnd(ProgressLine& progress, int64_t lastFrame) {
    if (progress.startMilliseconds < 0) {
        return;  // never started: not an offline run
    }
    if (lastFrame >= progress.firstFrame) {
        PrintProgress(progress, lastFrame, PlatformMilliseconds());
    }
    if (progress.printed) {
        std::fputc('\n', stderr);
        progress.printed = false;
    }
    progress.startMilliseconds = -1;
}
