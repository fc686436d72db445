// The frame loop: who calls the show's per-frame step. A desktop program loops on its main
// thread; a page in a browser must hand each frame back to the browser, which calls again when
// the next display refresh is due.
#pragma once

// One pass of the main loop: takes the waiting input and draws one frame. Returns false once
// the run is over.
using FrameLoopStep = bool (*)(void* context);
// Called once after the last step, to shut the run down; returns the program's exit status.
using FrameLoopDone = int (*)(void* context);

// Calls step until it returns false, then done. On the desktop the loop runs here and returns
// after done. In a browser it returns at once: the browser calls step once per display refresh,
// and done when step has returned false, after this function's caller has long returned; the
// page is then told the exit status.
void RunFrameLoop(FrameLoopStep step, FrameLoopDone done, void* context);
