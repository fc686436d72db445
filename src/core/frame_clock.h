// Frame timing: the millisecond clock reading of each frame turned into the scenes' frameStep.
#pragma once

#include <cstdint>

// Milliseconds between two zero-extended 32-bit clock readings, in signed 64-bit arithmetic. A
// wrap of the 32-bit clock is deliberately not corrected for: the step comes out negative once.
int64_t ElapsedMilliseconds(uint32_t now, int64_t lastFrameTime);

// frameStep for an elapsed time: the milliseconds as a float divided by 50 in float arithmetic.
float FrameStepFromElapsed(int64_t elapsedMilliseconds);

// frameStep of the fixed-step clock at fps frames per second: 1000 / fps ms as a float, / 50.
float FixedFrameStep(int32_t fps);

// Where the frame times come from: the platform clock, or a fixed step per frame (capture and
// benchmark runs, which must not depend on how fast the machine draws).
struct FrameClock {
    int32_t fixedFps = 0;       // 0: the platform clock
    int64_t lastFrameTime = 0;  // last reading of the platform clock
};

// Takes the reading the first frame is measured from; call just before the first frame.
void FrameClockStart(FrameClock& clock);

// Reads the clock for a new frame and returns its frameStep.
float FrameClockStep(FrameClock& clock);
