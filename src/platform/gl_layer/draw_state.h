// From the layer's GL 1.x state to the flat state a draw hands the renderer, and the texture
// objects that state names.
#pragma once

#include <cstdint>

#include "platform/gl_layer/es_renderer.h"
#include "platform/gl_layer/gl1.h"

namespace gllayer {

// A texture object by its GL 1.x name, with what decides whether GL would sample it.
struct TextureObject {
    uint32_t esTexture = 0;
    bool hasImage = false;
    GLint minFilter = GL_NEAREST_MIPMAP_LINEAR;
};

// The object bound to GL_TEXTURE_2D; null for a name never bound.
const TextureObject* BoundTextureObject();

// Fills draw for a draw made now with the current state: textured (GL_MODULATE) where 2D
// texturing is on and the bound texture is complete, as GL would sample it. Reports state the
// layer cannot draw (lighting, fog, the alpha and stencil tests, smoothing, logic ops other than
// GL_COPY and GL_INVERT) and draws without it. False when nothing can be drawn (no context).
bool PrepareDraw(DrawState* draw);

// Forgets every texture object (the context is going away).
void DeleteAllTextures();

}  // namespace gllayer
