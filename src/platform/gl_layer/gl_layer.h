// The GL layer's life cycle, for the display code that owns the OpenGL ES 3 / WebGL 2 context.
#pragma once

#include <cstdint>
#include <string>

// With an ES 3.0 context current and the width x height picture framebuffer bound: builds the
// layer's shader program and buffers, and starts the GL 1.x state as a new context's (viewport
// and scissor box over the picture). False with a one-line reason when the program does not
// build.
bool GlLayerOpen(int32_t width, int32_t height, std::string* error);

// Frees everything the layer made; its display lists and texture names are gone with it.
void GlLayerClose();

// Sends everything drawn so far to ES; the display calls it before ES calls of its own that
// read or show the picture (draws that share their state are collected and sent together).
void GlLayerFinishDrawing();

// The display issued ES calls of its own (a blit, a read-back, a viewport for the window): the
// layer sets all of its ES state again before its next draw.
void GlLayerForgetAppliedState();
