// Frame timing on the platform's millisecond clock or a fixed step.
#include "core/frame_clock.h"

#include "platform/clock.h"

namespace {
constexpr float kMillisecondsPerStep = 50.0f;
}

int64_t ElapsedMilliseconds(uint32_t now, int64_t lastFrameTime) {
    return static_cast<int64_t>(now) - lastFrameTime;
}

float FrameStepFromElapsed(int64_t elapsedMilliseconds) {
    return static_cast<float>(elapsedMilliseconds) / kMillisecondsPerStep;
}

float FixedFrameStep(int32_t fps) {
    return static_cast<float>(1000.0 / fps) / kMillisecondsPerStep;
}

void FrameClockStart(FrameClock& clock) {
    clock.lastFrameTime = static_cast<int64_t>(PlatformMilliseconds());
}

float FrameClockStep(FrameClock& clock) {
    if (clock.fixedFps > 0) {
        return FixedFrameStep(clock.fixedFps);
    }
    const uint32_t now = PlatformMilliseconds();
    const int64_t elapsed = ElapsedMilliseconds(now, clock.lastFrameTime);
    clock.lastFrameTime = static_cast<int64_t>(now);
    return FrameStepFromElapsed(elapsed);
}
