// Stop requests from the Windows console: Ctrl+C, Ctrl+Break, closing the console, log-off and
// shut-down, mapped onto the four POSIX requests so that the exit statuses agree.
#include "platform/signals.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<StopRequest> pending{StopRequest::None};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    StopRequest request = StopRequest::None;
    switch (event) {
        case CTRL_C_EVENT:
            request = StopRequest::Interrupt;
            break;
        case CTRL_BREAK_EVENT:
            request = StopRequest::Quit;
            break;
        case CTRL_CLOSE_EVENT:
            request = StopRequest::HangUp;
            break;
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            request = StopRequest::Terminate;
            break;
        default:
            return FALSE;
    }
    StopRequest none = StopRequest::None;
    pending.compare_exchange_strong(none, request);
    // For a close, log-off or shut-down the system ends the process when this returns; give the
    // main loop a moment to finish the frame in hand and close its files first.
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        Sleep(2000);
    }
    return TRUE;
}

}  // namespace

void InstallStopRequestHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void RestoreDefaultStopHandling() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

StopRequest PendingStopRequest() {
    return pending.load();
}

const char* StopRequestName(StopRequest request) {
    switch (request) {
        case StopRequest::Interrupt:
            return "SIGINT";
        case StopRequest::Terminate:
            return "SIGTERM";
        case StopRequest::HangUp:
            return "SIGHUP";
        case StopRequest::Quit:
            return "SIGQUIT";
        case StopRequest::None:
            break;
    }
    return "none";
}

int StopRequestExitStatus(StopRequest request) {
    switch (request) {
        case StopRequest::Interrupt:
            return 130;
        case StopRequest::Terminate:
            return 143;
        case StopRequest::HangUp:
            return 129;
        case StopRequest::Quit:
            return 131;
        case StopRequest::None:
            break;
    }
    return 0;
}
