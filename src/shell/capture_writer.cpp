// Capture mode's frame files and progress line.
#include "shell/capture_writer.h"

#include <cstdio>
#include <vector>

#include "core/screen.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/file_io.h"
#include "platform/png_io.h"

bool PrepareCaptureDir(const std::string& dir, std::string* error) {
    std::string why;
    if (!CreateFolders(dir.c_str(), &why)) {
        *error = "cannot create the capture folder '" + dir + "'" + (why.empty() ? "" : ": " + why);
        return false;
    }
    const std::string probe = dir + "/.capture-write-test";
    std::FILE* file = OpenFile(probe.c_str(), "wb");
    if (file == nullptr || std::fputc('x', file) == EOF || std::fclose(file) != 0) {
        *error = "cannot write in the capture folder '" + dir + "'";
        return false;
    }
    RemoveFile(probe.c_str());
    return true;
}

std::string CaptureFrameFile(const std::string& dir, int64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "/frame_%06lld.png", static_cast<long long>(frame));
    return dir + name;
}

bool WriteCaptureFrame(const std::string& dir, int64_t frame, std::string* error) {
    static std::vector<uint8_t> rgb;
    rgb.resize(static_cast<size_t>(screenWidth) * static_cast<size_t>(screenHeight) * 3);
    DisplayReadPicture(rgb.data());
    const std::string path = CaptureFrameFile(dir, frame);
    if (!WritePngRgb(path.c_str(), screenWidth, screenHeight, rgb.data())) {
        *error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

void ShowProgress(ProgressLine& progress, int64_t frame, double showSeconds, bool final) {
    const int64_t now = PlatformMilliseconds();
    if (progress.startMilliseconds < 0) {
        progress.startMilliseconds = now;
    }
    if (!final && progress.lastPrintMilliseconds >= 0 &&
        now - progress.lastPrintMilliseconds < 250) {
        return;
    }
    progress.lastPrintMilliseconds = now;
    const double wallSeconds = static_cast<double>(now - progress.startMilliseconds) / 1000.0;
    const double rate = wallSeconds > 0.0 ? static_cast<double>(frame) / wallSeconds : 0.0;
    std::fprintf(stderr, "\rframe %lld  show time %.2f s  %.1f frames/s   ",
                 static_cast<long long>(frame), showSeconds, rate);
    if (final) {
        std::fputc('\n', stderr);
    }
    std::fflush(stderr);
}
