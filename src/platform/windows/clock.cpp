// Millisecond clock on timeGetTime, the system's multimedia timer.
#include "platform/clock.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

uint32_t PlatformMilliseconds() {
    return timeGetTime();
}
