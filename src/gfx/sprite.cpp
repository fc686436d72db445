// Screen-space sprites.
#include "gfx/sprite.h"

#include "core/screen.h"
#include "platform/gl.h"

void DrawSprite(const Sprite& sprite, float alpha) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, sprite.alphaBlend ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    if (sprite.textured) {
        glEnable(GL_TEXTURE_2D);
    } else {
        glDisable(GL_TEXTURE_2D);
    }
    // Integer halves of the screen, then float.
    const float halfScreenWidth = static_cast<float>(screenWidth / 2);
    const float halfScreenHeight = static_cast<float>(screenHeight / 2);
    const float hw = halfScreenWidth * sprite.halfWidth;
    const float hh = halfScreenHeight * sprite.halfHeight;
    const float cx = (sprite.x + 1.0f) * halfScreenWidth;
    const float cy = (sprite.y + 1.0f) * halfScreenHeight;
    glColor4f(sprite.color.r, sprite.color.g, sprite.color.b, alpha);
    glPushMatrix();
    // About the 2D origin, the top-left corner of the screen: the sprite swings, it does not spin.
    glRotatef(sprite.rotation, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    // s runs right to left, so a texture appears mirrored; t runs top to bottom = upright.
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(cx - hw, cy - hh);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(cx + hw, cy - hh);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(cx + hw, cy + hh);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(cx - hw, cy + hh);
    glEnd();
    glPopMatrix();
    glDisable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}
