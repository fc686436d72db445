// Child processes and scratch folders for end-to-end tests.
#include "run_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

#ifndef _WIN32
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
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

uint32_t Read32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    }
    return value;
}

int64_t WavDataBytes(const std::string& bytes) {
    // "WAVEfmt ", format size 16, PCM, 2 channels, 44100 Hz, 176400 bytes/s, 4-byte frames,
    // 16 bits, "data".
    static const char kFormat[] =
        "WAVEfmt \x10\0\0\0\1\0\2\0\x44\xAC\0\0\x10\xB1\2\0\4\0\x10\0data";
    if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 ||
        bytes.compare(8, 32, kFormat, 32) != 0) {
        ADD_FAILURE() << "no 44100 Hz 16-bit stereo WAV header in " << bytes.size() << " bytes";
        return -1;
    }
    const uint32_t data = Read32(bytes, 40);
    EXPECT_EQ(Read32(bytes, 4), data + 36u) << "RIFF size";
    return data;
}

std::vector<std::string> FileNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Child processes run through the POSIX shell; the Windows test programs start none.
#ifndef _WIN32
namespace {

// The shell command that runs program with its output going to outputDir/out and outputDir/err.
std::string CommandLine(const std::string& program, const std::vector<std::string>& args,
                        const std::string& workingDir,
                        const std::vector<std::string>& extraEnvironment,
                        const std::string& outputDir) {
    std::ostringstream command;
    if (!workingDir.empty()) {
        command << "cd " << Quote(workingDir) << " && ";
    }
    command << "exec env";
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
    command << " </dev/null >" << Quote(outputDir + "/out") << " 2>" << Quote(outputDir + "/err");
    return command.str();
}

}  // namespace

RunningProgram StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingDir,
                            const std::vector<std::string>& extraEnvironment) {
    RunningProgram running;
    running.outputDir = ScratchDir().path;
    fs::create_directory(running.outputDir);
    const std::string command =
        CommandLine(program, args, workingDir, extraEnvironment, running.outputDir);
    running.pid = fork();
    if (running.pid == 0) {
        // A shell cannot undo dispositions it was started with ignored, so they go first; the
        // shell then replaces itself with the program (exec), which the test can signal.
        for (int signal = 1; signal < NSIG; ++signal) {
            std::signal(signal, SIG_DFL);
        }
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return running;
}

ProgramResult WaitProgram(RunningProgram& running, double timeoutSeconds) {
    ProgramResult result;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    int status = 0;
    while (running.pid > 0 && waitpid(running.pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(running.pid, SIGKILL);
            waitpid(running.pid, &status, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (running.pid > 0) {
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    }
    running.pid = -1;
    result.standardOutput = ReadFileBytes(running.outputDir + "/out");
    result.standardError = ReadFileBytes(running.outputDir + "/err");
    std::error_code error;
    fs::remove_all(running.outputDir, error);
    return result;
}

ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir,
                         const std::vector<std::string>& extraEnvironment) {
    RunningProgram running = StartProgram(program, args, workingDir, extraEnvironment);
    return WaitProgram(running, 1800.0);  // past ctest's own time limit
}

bool WaitForFile(const std::string& path, double timeoutSeconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::duration<double>(timeoutSeconds);
    while (!fs::exists(path)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
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
