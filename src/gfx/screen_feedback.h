// Feedback glow: a scene drawn into a small corner, copied to a texture and redrawn full screen.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/texture.h"

struct ScreenFeedback {
    Texture texture;   // square, size x size
    int32_t size = 0;  // texels per side, also the capture viewport's side in pixels
};

// The show's one feedback, size 64, created at start-up.
extern thread_local ScreenFeedback screenFeedback;

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

// The texture's contents as the show last left them (size x size RGBA texels: its texel buffer
// holds a copy of every corner it uploads), for a snapshot of the show; and back into the buffer
// and the texture, which is left bound. Empty, and nothing put back, when the texture has no
// texel buffer.
void ScreenFeedbackSaveTexels(const ScreenFeedback& feedback, std::vector<uint32_t>& texels);
void ScreenFeedbackRestoreTexels(ScreenFeedback& feedback, const std::vector<uint32_t>& texels);
