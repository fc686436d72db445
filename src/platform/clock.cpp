// Millisecond clock on the monotonic system clock.
#include "platform/clock.h"

#include <chrono>

uint32_t PlatformMilliseconds() {
    using namespace std::chrono;
    static const steady_clock::time_point start = steady_clock::now();
    const auto elapsed = duration_cast<milliseconds>(steady_clock::now() - start).count();
    return static_cast<uint32_t>(elapsed);
}
