// Windows start-up: UTF-8 arguments from the wide command line, and no console window for a
// program started from the desktop.
#include "platform/program_start.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>
#include <vector>

#include "platform/windows/utf16.h"

namespace {
std::vector<std::string> arguments;
std::vector<char*> pointers;
}  // namespace

void PrepareProgram(int* argc, char*** argv) {
    // A console program started by double-click gets a console of its own, the only process
    // attached to it; started from a command prompt it shares the prompt's, which it keeps.
    DWORD processes[2];
    if (GetConsoleProcessList(processes, 2) == 1) {
        FreeConsole();
    }
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr) {
        return;  // keep the narrow arguments
    }
    arguments.clear();
    for (int i = 0; i < count; ++i) {
        arguments.push_back(WideToUtf8(wide[i]));
    }
    LocalFree(wide);
    pointers.clear();
    for (std::string& argument : arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    *argc = count;
    *argv = pointers.data();
}
