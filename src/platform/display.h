// Window, OpenGL context and presentation of the fixed-size picture the show is drawn into.
#pragma once

#include <cstdint>

enum class DisplayMode {
    Fullscreen,  // borderless window over the desktop mode; no display mode change
    Window,      // resizable desktop window
    Offscreen,   // no visible window (capture, tests, benchmarks)
};

struct DisplayConfig {
    DisplayMode mode = DisplayMode::Fullscreen;
    const char* title = "demowin";
    int32_t pictureWidth = 640;
    int32_t pictureHeight = 480;
    bool vsync = true;  // ask the swap to wait for the display; ignored offscreen
};

// Opens the window and a compatibility-profile GL context, current on the calling thread, and a
// picture framebuffer of pictureWidth x pictureHeight (colour without alpha, 24-bit depth) that
// stays bound for drawing. False when no display or no context can be had; DisplayLastError()
// then says why. Main thread only.
bool DisplayOpen(const DisplayConfig& config);

// Why the last DisplayOpen failed, one line without a trailing newline.
const char* DisplayLastError();

bool DisplayIsOpen();

// Shows the picture scaled into the window with its aspect kept, swaps, and binds the picture
// framebuffer again. Without vsync (or offscreen with pacing asked for) frames are paced to 60 Hz.
// The same as DisplayShowPicture then DisplayFinishFrame with nothing drawn in between.
void DisplayPresent();

// The first half of DisplayPresent, for drawing over the presented picture at the window's own
// resolution: copies the picture into the window's back buffer (letterboxed, black around it),
// binds the window's framebuffer for drawing and sets windowWidth x windowHeight to its size in
// pixels. GL state other than the bound framebuffer is left as the show left it, viewport
// included. False, with nothing bound, where there is nothing to draw over without drawing into
// the picture itself (no window, or a picture drawn straight into the window's back buffer).
bool DisplayShowPicture(int32_t* windowWidth, int32_t* windowHeight);

// The second half: swaps, binds the picture framebuffer again and paces to 60 Hz without vsync.
void DisplayFinishFrame();

// Reads the picture as tightly packed RGB rows, top row first (width * height * 3 bytes).
void DisplayReadPicture(uint8_t* rgb);

// Releases the context and the window. Safe to call when nothing is open.
void DisplayClose();

// Binds the picture framebuffer for drawing and reading (DisplayOpen and DisplayPresent do it).
void DisplayBindPicture();

// A second GL context in the picture's share group, for a thread that draws the show unseen so
// that the driver builds its programs for every drawing state ahead of time. A driver keeps those
// programs per context, so the show then moves to that context to find them ready.
//
// Main thread, display open: makes the second context, current nowhere. False where there is
// none to be had (Windows and the web today, and our own GL layer, whose few programs are built
// when it opens), or when it cannot be made; the show then simply stays where it is.
bool DisplayOpenSecondContext();
// The drawing thread: makes the second context current there with a picture framebuffer of its
// own bound, of the same size and formats as the show's. False when it cannot.
bool DisplayUseSecondContextHere();
// The drawing thread, done: presents its picture once (so that presenting is ready too), waits
// for the driver, deletes its framebuffer and leaves the context current nowhere.
void DisplayLeaveSecondContext();
// Main thread, once the drawing thread has left it: the show draws with the second context from
// now on (its picture framebuffer bound, holding the same picture) and the first is deleted. GL
// state that is not an object does not move: the caller carries what the show set. False, with
// nothing changed, when there is no second context to move to.
bool DisplayMoveToSecondContext();
// Main thread: deletes the second context unused. Safe when there is none.
void DisplayCloseSecondContext();
