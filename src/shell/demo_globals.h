// The driver's globals through which the scenes see time, move the show on and read the keys.
#pragma once

#include <cstdint>

// Selects the scene drawn each frame; only the scenes change it.
extern int32_t sceneCounter;
// Time since the previous frame in units of 50 ms; every scene adds it to its clocks.
extern float frameStep;
// Set once, before the window opens, when the hidden-part file matches.
extern bool hiddenMode;
// Ends the main loop; set by a window close, the quit message or the last scene.
extern bool quitRequested;
// Size of the picture in pixels; every projection, viewport and screen-space computation uses it.
extern int32_t screenWidth;
extern int32_t screenHeight;
// Whether the left or right arrow key is down; written only by WindowProc.
extern bool leftKeyHeld;
extern bool rightKeyHeld;

// Puts every global above back to its start value (for tests that run the driver more than once).
void ResetDemoGlobals();
