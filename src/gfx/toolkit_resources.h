// The toolkit's start-up resources and the end-of-frame text-state step, as the driver runs them.
#pragma once

// In this order: screenFeedback (64), smallFont (28), largeFont (100), and the
// 512 x 512 sharedTextures (unfilled; the first scene initialisation fills them). Needs the GL
// context.
void CreateToolkitStartupResources();

// Normal-mode end of frame: text space, GL_INVERT logic op, smallFont positioned at (-1.5, -1.5)
// in opaque black, matrix popped, logic op off. Leaves the text drawing state in force.
void RestoreFrameTextState();
