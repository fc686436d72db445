// Raises a thread's priority through its nice value; refused without privileges, which is fine.
#include "platform/thread_priority.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

void RaiseCurrentThreadPriority() {
    // On Linux a nice value set for a thread id applies to that thread alone.
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, thread, -10);
}

void LowerCurrentThreadPriority() {
    const auto thread = static_cast<id_t>(syscall(SYS_gettid));
    (void)setpriority(PRIO_PROCESS, thread, 19);
}
