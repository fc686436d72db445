// Stop requests through POSIX signal handlers that only record the signal.
#include "platform/signals.h"

#include <signal.h>

#include <atomic>

namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
constexpr StopRequest kRequests[] = {StopRequest::Interrupt, StopRequest::Terminate,
                                     StopRequest::HangUp, StopRequest::Quit};
constexpr const char* kNames[] = {"SIGINT", "SIGTERM", "SIGHUP", "SIGQUIT"};

// The first signal received, 0 for none. Lock-free, so the handler may store to it.
std::atomic<int> receivedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

void RecordSignal(int signalNumber) {
    int none = 0;
    receivedSignal.compare_exchange_strong(none, signalNumber);
}

int IndexOf(StopRequest request) {
    for (int i = 0; i < 4; ++i) {
        if (kRequests[i] == request) {
            return i;
        }
    }
    return -1;
}

}  // namespace

void InstallStopRequestHandlers() {
    for (int signalNumber : kSignals) {
        struct sigaction previous {};
        if (sigaction(signalNumber, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RecordSignal;
        sigemptyset(&action.sa_mask);
        // Restarted system calls: a signal in the middle of a write must not make it fail.
        action.sa_flags = SA_RESTART;
        sigaction(signalNumber, &action, nullptr);
    }
}

void RestoreDefaultStopHandling() {
    for (int signalNumber : kSignals) {
        signal(signalNumber, SIG_DFL);
    }
}

StopRequest PendingStopRequest() {
    const int signalNumber = receivedSignal.load();
    for (int i = 0; i < 4; ++i) {
        if (kSignals[i] == signalNumber) {
            return kRequests[i];
        }
    }
    return StopRequest::None;
}

const char* StopRequestName(StopRequest request) {
    const int index = IndexOf(request);
    return index < 0 ? "none" : kNames[index];
}

int StopRequestExitStatus(StopRequest request) {
    const int index = IndexOf(request);
    return index < 0 ? 0 : 128 + kSignals[index];
}
