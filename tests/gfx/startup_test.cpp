// The toolkit's start-up steps: feedback, fonts and the shared textures the scenes fill.
#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "platform/gl.h"

namespace {

using ToolkitStartupTest = GlTest;

TEST_F(ToolkitStartupTest, CreatesFeedbackFontsAndSharedTexturesDrawingOnlyTheFeedbackFill) {
    // Start from scratch, as the program does.
    for (Texture*& entry : sharedTextures) {
        if (entry != nullptr) {
            GLuint name = entry->name;
            glDeleteTextures(1, &name);
            delete entry;
            entry = nullptr;
        }
    }
    ResetRand();
    CreateToolkitStartupResources();
    const uint32_t state = RandState();
    ResetRand();
    for (int32_t i = 0; i < 4 * 64 * 64; ++i) {
        Rand();
    }
    EXPECT_EQ(state, RandState());  // the feedback's fill; fonts and empty textures draw nothing
    EXPECT_EQ(screenFeedback.size, 64);
    for (int32_t i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(screenFeedback.texture.pixels[i], 0xFF000000u) << "feedback texel " << i;
    }
    EXPECT_LT(smallFont.base, largeFont.base);  // small font first
    // The entries the scenes fill: the disc (1) and the four noise frames (4..7).
    for (const int entry : {1, 4, 5, 6, 7}) {
        ASSERT_NE(sharedTextures[entry], nullptr) << entry;
        EXPECT_EQ(sharedTextures[entry]->width, 512);
        EXPECT_EQ(sharedTextures[entry]->height, 512);
        EXPECT_NE(sharedTextures[entry]->name, screenFeedback.texture.name);
    }
}

}  // namespace
