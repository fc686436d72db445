// Web: there are no threads of our own to raise.
#include "platform/thread_priority.h"

void RaiseCurrentThreadPriority() {}

void LowerCurrentThreadPriority() {}
