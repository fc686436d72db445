// Best-effort scheduling priority for time-critical threads.
#pragma once

// Raises the calling thread's priority as far as the system allows without special rights;
// a refusal is ignored.
void RaiseCurrentThreadPriority();

// Lowers the calling thread's priority as far as it goes, for work that must never hold up the
// others.
void LowerCurrentThreadPriority();
