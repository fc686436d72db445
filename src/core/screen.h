// The picture's fixed size, the standard perspective every 3D view starts from, and the GL state a
// new context is given.
#pragma once

#include <cstdint>

#include "platform/display.h"

// Size of the picture in pixels: every projection, viewport and screen-space computation uses it.
// The display scales this picture to the screen or window; the picture itself never changes size.
constexpr int32_t screenWidth = 640;
constexpr int32_t screenHeight = 480;

// Vertical field of view of the standard perspective, in degrees.
constexpr int32_t fieldOfView = 120;

// gluPerspective(120, 640/480 as a float division, 0.1f widened to double, 20000) on the current
// matrix.
void ApplyStandardPerspective();

// Projection: identity then the standard perspective; viewport over the picture; modelview
// identity (and left current); depth test on with GL_LESS, lighting and blending off, smooth
// shading.
void SetupGlContext();

// Opens the "demowin" window in the given mode for the picture and gives the GL context its
// initial state (SetupGlContext). False when no display or context could be had (the reason is
// in DisplayLastError()).
bool OpenPicture(DisplayMode mode);
