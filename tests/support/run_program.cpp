// Child processes and scratch folders for end-to-end tests.
#include "run_program.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace fs = std::filesystem;

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

RunningProgram StartProgram(const std::string& program, const std::vector<std::string>& args,
                            const std::string& workingDir,
                            const std::vector<std::string>& extraEnvironment) {
    RunningProgram running;
    running.outputDir = ScratchDir().path;
    fs::create_directory(running.outputDir);
    std::vector<std::string> strings{program};
    strings.insert(strings.end(), args.begin(), args.end());
    const size_t argCount = strings.size();
    for (char** entry = environ; *entry != nullptr; ++entry) {
        strings.emplace_back(*entry);
    }
    if (program == DEMO_EXECUTABLE) {
        strings.emplace_back("ASAN_OPTIONS=detect_leaks=0");  // as RunProgram says why
    }
    strings.insert(strings.end(), extraEnvironment.begin(), extraEnvironment.end());
    std::vector<char*> argv;
    std::vector<char*> envp;
    for (size_t i = 0; i < strings.size(); ++i) {
        (i < argCount ? argv : envp).push_back(strings[i].data());
    }
    argv.push_back(nullptr);
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!workingDir.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, workingDir.c_str());
    }
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    const std::string out = running.outputDir + "/out";
    const std::string err = running.outputDir + "/err";
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, &attributes, argv.data(), envp.data()) == 0) {
        running.pid = pid;
    }
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
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

std::string CaptureFramePath(const std::string& dir, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%06d.png", frame);
    return dir + name;
}
