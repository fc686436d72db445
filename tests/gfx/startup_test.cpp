// The toolkit's start-up steps and the end-of-frame text-state step.
#include <GL/gl.h>

#include <set>

#include "core/random.h"
#include "gfx/bitmap_font.h"
#include "gfx/screen_feedback.h"
#include "gfx/texture.h"
#include "gfx/toolkit_resources.h"
#include "gl_test.h"
#include "toolkit_test_support.h"

namespace {

class ToolkitStartupTest : public GlTest {};

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
    ASSERT_TRUE(screenFeedback.texture.pixels);
    for (int32_t i = 0; i < 64 * 64; ++i) {
        ASSERT_EQ(screenFeedback.texture.pixels[i], 0xFF000000u) << "feedback texel " << i;
    }

    // Small font first, then large: the large font's lists come later.
    EXPECT_LT(smallFont.base, largeFont.base);

    std::set<uint32_t> names;
    for (const Texture* entry : sharedTextures) {
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->width, 512);
        EXPECT_EQ(entry->height, 512);
        EXPECT_TRUE(entry->pixels);
        EXPECT_EQ(entry->range.r + entry->base.a, 0.0f);
        names.insert(entry->name);
    }
    EXPECT_EQ(names.size(), 20u);
    EXPECT_EQ(names.count(screenFeedback.texture.name), 0u);
}

TEST_F(ToolkitStartupTest, EndOfFrameStepLeavesTheTextStateAndTheMatrixAlone) {
    EnsureToolkitResources();
    glClearColor(0.2f, 0.2f, 0.2f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glColor4f(1.0f, 0.0f, 0.0f, 0.5f);
    glTranslatef(3.0f, 2.0f, 1.0f);
    const auto modelview = CurrentMatrix(GL_MODELVIEW_MATRIX);
    const GLint depth = IntegerState(GL_MODELVIEW_STACK_DEPTH);

    RestoreFrameTextState();

    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(IntegerState(GL_BLEND_SRC), GL_SRC_ALPHA);
    EXPECT_EQ(IntegerState(GL_BLEND_DST), GL_ONE_MINUS_SRC_ALPHA);
    for (const GLenum cap :
         {GL_LIGHTING, GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_COLOR_LOGIC_OP}) {
        EXPECT_FALSE(glIsEnabled(cap)) << std::hex << cap;
    }
    std::array<float, 4> color{};
    glGetFloatv(GL_CURRENT_COLOR, color.data());
    EXPECT_EQ(color, (std::array<float, 4>{0.0f, 0.0f, 0.0f, 1.0f}));
    EXPECT_EQ(IntegerState(GL_LOGIC_OP_MODE), GL_INVERT);
    EXPECT_EQ(IntegerState(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(IntegerState(GL_MODELVIEW_STACK_DEPTH), depth);
    EXPECT_EQ(CurrentMatrix(GL_MODELVIEW_MATRIX), modelview);
    // The raster position is parked at (-1.5, -1.5) of the text space, lower left of the centre.
    ASSERT_TRUE(RasterPositionValid());
    EXPECT_NEAR(RasterPosition()[0], 320.0f - 1.5f / 2.3094f * 320.0f, 0.5f);
    EXPECT_NEAR(RasterPosition()[1], 240.0f - 1.5f / 1.7321f * 240.0f, 0.5f);
    // Nothing is printed.
    const Picture picture = ReadPicture();
    EXPECT_EQ(CountPixels(picture, PixelAt(picture, 0, 0)), 640 * 480);
}

}  // namespace
