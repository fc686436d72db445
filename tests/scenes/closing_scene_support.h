// Shared by the closing scenes' GL tests: start-up resources and one frame as the driver draws it.
#pragma once

#include "gl_test.h"

// Fonts, feedback, shared textures (disc in entry 1, static noise in 4..7), once per program.
void EnsureClosingSceneResources();

// Drops GL errors left by earlier set-up (opening the window with the test's extension override
// leaves one behind), so that a test only sees the errors its own calls raise.
void DrainGlErrors();

// One normal-mode frame: white clear, identity, the draw routine, the end-of-frame text step.
// Fails the test if the routine leaves the modelview stack deeper or shallower than it found it.
Picture DrawNormalFrame(void (*draw)(), float step);

// As DrawNormalFrame without reading the picture back (faster for long runs).
void DrawNormalFrameOnly(void (*draw)(), float step);

// Count of pixels of colour inside [x0, x1) x [y0, y1).
int CountInRect(const Picture& picture, int x0, int y0, int x1, int y1, Rgb color);
