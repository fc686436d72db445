// Feedback glow: a scene drawn into a small corner, copied to a texture and redrawn full screen.
#pragma once

#include <cstdint>

#include "gfx/texture.h"

struct ScreenFeedback {
    Texture texture;   // square, size x size
    int32_t size = 0;  // texels per side, also the capture viewport's side in pixels
};

// The show's one feedback, size 64, created at start-up.
extern ScreenFeedback screenFeedback;

// Creates the square texture, fills it opaque black (drawing 4 Rand() numbers per texel as every
// fill does) and stores the size.
void ScreenFeedbackCreate(ScreenFeedback& feedback, int32_t size);

// glViewport(0, 0, size, size): what is drawn next lands in the lower-left corner.
void SetCaptureViewport(const ScreenFeedback& feedback);

// Copies the corner into the texture, clears colour and depth, restores the full viewport and
// draws `layers` stacked quads, each `spread` further magnified and fainter. Call between Begin2D
// and End2D. Leaves depth test, S/T generation, lighting and face culling off, blending (SRC_ALPHA,
// ONE_MINUS_SRC_ALPHA) and 2D texturing on, the feedback texture bound; fog as it was.
void DrawFeedback(ScreenFeedback& feedback, int32_t layers, float spread);

// Runs the copy and the redraw once and puts every GL state back, leaving the colour and depth
// buffers cleared. The first use of that path makes the driver build its blended-quad pipeline,
// which took a whole frame's time; done at start-up, no frame of the show pays it.
void WarmUpFeedback(ScreenFeedback& feedback);
