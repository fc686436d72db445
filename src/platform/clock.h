// Millisecond clock of the platform.
#pragma once

#include <cstdint>

// Milliseconds since an arbitrary start; wraps after about 49.7 days like timeGetTime.
uint32_t PlatformMilliseconds();
