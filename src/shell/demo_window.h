// The demo window and its rendering context: fixed initial GL state, and the window procedure
// that turns messages into the show's flags.
#pragma once

#include "platform/display.h"
#include "platform/window_messages.h"
#include "shell/timeline.h"

// Opens the demo window in the given mode with its initial GL state (OpenPicture). False when no
// display or context could be had (the reason is in DisplayLastError()).
bool CreateDemoWindow(DisplayMode mode);

// Releases the context and the window.
void DestroyDemoWindow();

// Handles one window message: Escape queues the quit message, the arrows set and clear the held
// keys, closing the window sets quitRequested; everything else is ignored.
void WindowProc(ShowState& show, const WindowMessage& message);
