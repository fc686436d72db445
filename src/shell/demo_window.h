// The demo window and its rendering context: fixed initial GL state, standard perspective and the
// window procedure that turns messages into the driver's flags.
#pragma once

#include <cstdint>

#include "platform/display.h"
#include "platform/window_messages.h"

// Vertical field of view of the standard perspective, in degrees.
extern int32_t fieldOfView;

// Stores width and height in screenWidth/screenHeight, opens the window in the given mode and
// sets up the GL context (SetupGlContext). The class name and depth are kept for the record: the
// platform layer always uses a 32-bit colour picture. False when no display or context could be
// had (the reason is in DisplayLastError()).
bool CreateDemoWindow(const char* className, int32_t width, int32_t height, int32_t bitsPerPixel,
                      DisplayMode mode);

// Projection: identity then the standard perspective; viewport; modelview identity (and left
// current); depth test on with GL_LESS, lighting and blending off, smooth shading.
void SetupGlContext();

// gluPerspective(120, 640/480 as a float division, 0.1f widened to double, 20000) on the current
// matrix.
void ApplyStandardPerspective();

// Releases the context and the window.
void DestroyDemoWindow();

// Handles one window message: Escape posts the quit message, the arrows set and clear the key
// flags, closing sets quitRequested; everything else is ignored.
void WindowProc(const WindowMessage& message);
