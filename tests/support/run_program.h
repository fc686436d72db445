// Running the built programs from tests: a scratch folder and a child process with its output.
#pragma once

#include <cstddef>
#include <cstdint>
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
    int signal = 0;     // the signal that ended it, if one did
    std::string standardError;
    std::string standardOutput;
};

// A program running in the background, started with every signal at its default disposition and
// none blocked (whatever the test runner itself ignores), so that tests can signal it.
struct RunningProgram {
    int pid = -1;
    std::string outputDir;  // holds its "out" and "err"; removed by WaitProgram
};
RunningProgram StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingDir = "",
                            const std::vector<std::string>& extraEnvironment = {});

// Waits for the program to end; past timeoutSeconds it is killed (the result's signal says so).
ProgramResult WaitProgram(RunningProgram& running, double timeoutSeconds);

// Waits until path exists or timeoutSeconds pass; false then.
bool WaitForFile(const std::string& path, double timeoutSeconds);

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

// The little-endian 32-bit value at byte `at` of bytes (WAV headers).
uint32_t Read32(const std::string& bytes, size_t at);

// The data size that the 44-byte header of a 44100 Hz 16-bit stereo PCM WAV file gives, once
// every other field of the header has been checked (the RIFF size against it); -1 and a test
// failure when the bytes hold no such header.
int64_t WavDataBytes(const std::string& bytes);

// The names of the entries of a folder, sorted.
std::vector<std::string> FileNames(const std::string& dir);

// Reads a whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);
