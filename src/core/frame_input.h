// What one frame hands every scene: the time since the previous frame and the held keys.
#pragma once

struct FrameInput {
    // Time since the previous frame in units of 50 ms; every scene adds it to its clocks.
    float frameStep = 0.0f;
    // Whether the left or right arrow key is down (read only by the paddle game).
    bool leftKeyHeld = false;
    bool rightKeyHeld = false;
};

// A scene's draw routine: draws one frame and returns true on the frame its visit ends. The
// driver then moves the show on; the scene never touches the show's counter itself.
using SceneDrawRoutine = bool (*)(const FrameInput& frame);
// A scene's one-time set-up, run at start-up with the GL context current.
using SceneInitRoutine = void (*)();
