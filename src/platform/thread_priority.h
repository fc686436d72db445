// Best-effort scheduling priority for time-critical threads.
#pragma once

// Raises the calling thread's priority as far as the system allows without special rights;
// a refusal is ignored.
void RaiseCurrentThreadPriority();
