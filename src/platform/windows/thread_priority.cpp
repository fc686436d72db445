// Thread priority through SetThreadPriority; needs no special rights within a normal process.
#include "platform/thread_priority.h"

#include <windows.h>

void RaiseCurrentThreadPriority() {
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
}

void LowerCurrentThreadPriority() {
    (void)SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_IDLE);
}
