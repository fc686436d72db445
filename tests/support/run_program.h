// Running the built programs from tests: a scratch folder and a child process with its output.
#pragma once

#include <string>
#include <vector>

// A fresh empty folder under the system's temporary folder, removed with everything in it when the
// object goes away.
struct ScratchDir {
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    std::string path;
    std::string File(const std::string& name) const { return path + "/" + name; }
};

struct ProgramResult {
    int exitCode = -1;  // -1 when the program did not exit normally (signal, could not start)
    std::string standardError;
    std::string standardOutput;
};

// Runs program with args in workingDir (empty: the current folder) and waits for it. The
// environment is the test's own plus the given NAME=VALUE entries.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDir = "",
                         const std::vector<std::string>& extraEnvironment = {});

// The demo in capture mode: demo --capture dir --fps fps [--frames first:last], offscreen.
ProgramResult RunCapture(const std::string& dir, int fps, int firstFrame, int lastFrame,
                         const std::string& workingDir = "");

// Path of frame n (1-based) as capture mode names it in dir.
std::string CaptureFramePath(const std::string& dir, int frame);

// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
