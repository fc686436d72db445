// Feedback glow: capture the corner viewport into a texture and redraw it over the screen.
#include "gfx/screen_feedback.h"

#include <algorithm>

#include "core/screen.h"
#include "gfx/gl_state.h"
#include "gfx/texture_generators.h"
#include "platform/gl.h"

thread_local ScreenFeedback screenFeedback;

void ScreenFeedbackCreate(ScreenFeedback& feedback, int32_t size) {
    TextureInit(feedback.texture, size, size);
    TextureGenerator opaqueBlack;
    FillTexture(feedback.texture, &opaqueBlack);
    feedback.size = size;
}

void SetCaptureViewport(const ScreenFeedback& feedback) {
    glViewport(0, 0, feedback.size, feedback.size);
}

void DrawFeedback(ScreenFeedback& feedback, int32_t layers, float spread) {
    BindTexture(feedback.texture);
    // The corner goes through the texture's own texel buffer rather than glCopyTexImage2D: the
    // same bytes, but a software driver copies on the GPU side with a blit pipeline whose first
    // use costs it tens of milliseconds, while reading and uploading 64 x 64 texels is a memcpy.
    // The picture has no alpha channel, so the copy reads alpha 1 everywhere.
    if (uint32_t* texels = feedback.texture.pixels.get()) {
        glReadPixels(0, 0, feedback.size, feedback.size, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, feedback.size, feedback.size, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, texels);
    } else {
        glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, feedback.size, feedback.size, 0);
    }
    MarkTextureOpaque(feedback.texture);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, screenWidth, screenHeight);

    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glDisable(GL_CULL_FACE);
    const bool fogWasOn = glIsEnabled(GL_FOG) == GL_TRUE;
    if (fogWasOn) {
        glDisable(GL_FOG);
    }

    // Unused without layers; guarded so that no division by zero happens.
    const float fade = layers > 0 ? 1.0f / static_cast<float>(layers) : 0.0f;
    const float halfScreenWidth = static_cast<float>(screenWidth / 2);
    const float halfScreenHeight = static_cast<float>(screenHeight / 2);
    const float width = static_cast<float>(screenWidth);
    const float height = static_cast<float>(screenHeight);
    float d = 0.0f;
    float alpha = 1.0f;
    glPushMatrix();
    glBegin(GL_QUADS);
    for (int32_t layer = 0; layer < layers; ++layer) {
        glColor4f(1.0f, 1.0f, 1.0f, alpha);
        const float hw = halfScreenWidth * d;
        const float hh = halfScreenHeight * d;
        // Texture t = 0 is the bottom row of the capture, drawn at the bottom (y = screenHeight).
        glTexCoord2f(d, d);
        glVertex2f(hw, height + hh);
        glTexCoord2f(1.0f - d, d);
        glVertex2f(width - hw, height + hh);
        glTexCoord2f(1.0f - d, 1.0f - d);
        glVertex2f(width - hw, -hh);
        glTexCoord2f(d, 1.0f - d);
        glVertex2f(hw, -hh);
        d += spread;
        alpha -= fade;
    }
    glEnd();
    glPopMatrix();
    if (fogWasOn) {
        glEnable(GL_FOG);
    }
}

void WarmUpFeedback(ScreenFeedback& feedback) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    Begin2D();
    DrawFeedback(feedback, 1, 0.0f);
    End2D();
    glPopAttrib();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glFinish();
}

void ScreenFeedbackSaveTexels(const ScreenFeedback& feedback, std::vector<uint32_t>& texels) {
    const uint32_t* pixels = feedback.texture.pixels.get();
    if (pixels == nullptr) {
        texels.clear();
        return;
    }
    texels.assign(pixels, pixels + static_cast<size_t>(feedback.size) * feedback.size);
}

void ScreenFeedbackRestoreTexels(ScreenFeedback& feedback, const std::vector<uint32_t>& texels) {
    uint32_t* pixels = feedback.texture.pixels.get();
    const size_t count = static_cast<size_t>(feedback.size) * feedback.size;
    if (pixels == nullptr || texels.size() != count) {
        return;
    }
    std::copy(texels.begin(), texels.end(), pixels);
    BindTexture(feedback.texture);
    // As DrawFeedback uploads a copied corner: the same texels give the same texture.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, feedback.size, feedback.size, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels);
}
