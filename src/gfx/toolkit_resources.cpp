// The toolkit's start-up resources and the end-of-frame text-state step.
#include "gfx/toolkit_resources.h"

#include "gfx/bitmap_font.h"
#include "gfx/gfx_constants.h"
#include "gfx/gl_state.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"

void CreateToolkitStartupResources() {
    ScreenFeedbackCreate(screenFeedback, kFeedbackSize);
    WarmUpFeedback(screenFeedback);
    CreateBitmapFont(smallFont, kSmallFontHeight);
    CreateBitmapFont(largeFont, kLargeFontHeight);
    // Every entry is created; a failed allocation leaves its entry null.
    for (Texture*& entry : sharedTextures) {
        entry = TextureCreate(kSharedTextureSize, kSharedTextureSize);
    }
}

void RestoreFrameTextState() {
    PushTextSpace();
    EnableLogicOp(GL_INVERT);
    SetTextPosition(smallFont, kParkedTextX, kParkedTextY, 0.0f, 0.0f, 0.0f, 1.0f);
    glPopMatrix();
    DisableLogicOp();
}
