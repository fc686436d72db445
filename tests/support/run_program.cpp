// Child processes and scratch folders for end-to-end tests.
#include "run_program.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

#ifndef _WIN32
namespace {

std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

}  // namespace
#endif

ScratchDir::ScratchDir() {
    std::random_device device;
    for (;;) {
        const fs::path candidate =
            fs::temp_directory_path() / ("demo-test-" + std::to_string(device()));
        std::error_code error;
        if (fs::create_directory(candidate, error)) {
            path = candidate.string();
            return;
        }
    }
}

ScratchDir::~ScratchDir() {
    std::error_code error;
    fs::remove_all(path, error);
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Child processes run through the POSIX shell; the Windows test programs start none.
#ifndef _WIN32
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir,
                         const std::vector<std::string>& extraEnvironment) {
    ScratchDir outputs;
    std::ostringstream command;
    if (!workingDir.empty()) {
        command << "cd " << Quote(workingDir) << " && ";
    }
    command << "env";
    if (program == DEMO_EXECUTABLE) {
        // Closing the window unloads the GL driver, and LeakSanitizer cannot name (or suppress)
        // what the driver kept once its module is gone; the demo's own code is leak-checked
        // in-process by the layer tests.
        command << " ASAN_OPTIONS=detect_leaks=0";
    }
    for (const std::string& entry : extraEnvironment) {
        command << ' ' << Quote(entry);
    }
    command << ' ' << Quote(program);
    for (const std::string& arg : args) {
        command << ' ' << Quote(arg);
    }
    command << " </dev/null >" << Quote(outputs.File("out")) << " 2>" << Quote(outputs.File("err"));
    ProgramResult result;
    const int status = std::system(command.str().c_str());
    if (status != -1 && WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    }
    result.standardOutput = ReadFileBytes(outputs.File("out"));
    result.standardError = ReadFileBytes(outputs.File("err"));
    return result;
}

ProgramResult RunCapture(const std::string& dir, int fps, int firstFrame, int lastFrame,
                         const std::string& workingDir) {
    return RunProgram(DEMO_EXECUTABLE,
                      {"--capture", dir, "--fps", std::to_string(fps), "--frames",
                       std::to_string(firstFrame) + ":" + std::to_string(lastFrame)},
                      workingDir, {"SDL_VIDEODRIVER=offscreen", "SDL_AUDIODRIVER=dummy"});
}

#endif

std::string CaptureFramePath(const std::string& dir, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
    return dir + name;
}
