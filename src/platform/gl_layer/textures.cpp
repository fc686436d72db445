// Texture objects, pixel transfers, clearing, and the draw state built from the layer's state.
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gl_layer/display_lists.h"
#include "platform/gl_layer/draw_state.h"
#include "platform/gl_layer/layer_state.h"

namespace gllayer {

namespace {

// Texture objects by GL 1.x name; name 0 is the default texture, which has no image until one
// is given to it.
std::vector<TextureObject> textures(1);
GLuint nextTextureName = 1;

TextureObject* Texture(GLuint name, bool create) {
    if (name >= textures.size()) {
        if (!create) {
            return nullptr;
        }
        textures.resize(static_cast<size_t>(name) + 1);
    }
    TextureObject& texture = textures[name];
    if (texture.esTexture == 0 && create) {
        texture.esTexture = RendererCreateTexture();
    }
    return &texture;
}

// Bytes of one row of width pixels of bytesPerPixel, padded to alignment.
size_t RowBytes(GLsizei width, int bytesPerPixel, GLint alignment) {
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    const size_t a = static_cast<size_t>(alignment);
    return (bytes + a - 1) / a * a;
}

}  // namespace

const TextureObject* BoundTextureObject() {
    return Texture(State().server.boundTexture, false);
}

bool PrepareDraw(DrawState* draw) {
    if (FramebufferWidth() <= 0) {
        return false;
    }
    const LayerState& layer = State();
    const ServerState& s = layer.server;
    const Enables& e = s.enables;
    draw->modelview = layer.matrices.modelview.back();
    draw->mvp = Mat4Multiply(layer.matrices.projection.back(), draw->modelview);
    draw->shading = Shading::Color;
    draw->texture = 0;
    if (e.texture2d) {
        const TextureObject* texture = BoundTextureObject();
        const bool mipmapped = texture != nullptr && texture->minFilter != GL_NEAREST &&
                               texture->minFilter != GL_LINEAR;
        if (texture != nullptr && texture->hasImage && !mipmapped) {
            draw->shading = Shading::Textured;
            draw->texture = texture->esTexture;
        }
    }
    draw->sphereMapS = draw->shading == Shading::Textured && e.texGenS;
    draw->sphereMapT = draw->shading == Shading::Textured && e.texGenT;
    if ((draw->sphereMapS && s.texGenModeS != GL_SPHERE_MAP) ||
        (draw->sphereMapT && s.texGenModeT != GL_SPHERE_MAP)) {
        ReportUnsupported("texture coordinate generation other than sphere mapping");
    }
    std::memcpy(draw->normal, s.normal, sizeof draw->normal);
    // A logic op replaces blending; GL_COPY writes the fragment as it is.
    draw->invert = e.colorLogicOp && s.logicOp == GL_INVERT;
    draw->blend = e.blend && !e.colorLogicOp;
    if (e.colorLogicOp && s.logicOp != GL_INVERT && s.logicOp != GL_COPY) {
        ReportUnsupported("logic ops other than GL_COPY and GL_INVERT");
    }
    draw->blendSource = s.blendSource;
    draw->blendDestination = s.blendDestination;
    draw->depthTest = e.depthTest;
    draw->depthFunc = s.depthFunc;
    draw->depthMask = s.depthMask;
    draw->depthRange[0] = static_cast<float>(s.depthRange[0]);
    draw->depthRange[1] = static_cast<float>(s.depthRange[1]);
    draw->cullFace = e.cullFace;
    draw->cullFaceMode = s.cullFaceMode;
    draw->frontFace = s.frontFace;
    draw->scissorTest = e.scissorTest;
    std::memcpy(draw->scissor, s.scissor, sizeof draw->scissor);
    std::memcpy(draw->viewport, s.viewport, sizeof draw->viewport);
    draw->lineWidth = s.lineWidth;
    if (e.lighting) {
        ReportUnsupported("lighting");
    }
    if (e.fog) {
        ReportUnsupported("fog");
    }
    if (e.alphaTest) {
        ReportUnsupported("the alpha test");
    }
    if (e.stencilTest) {
        ReportUnsupported("the stencil test");
    }
    if (e.lineSmooth || e.polygonSmooth) {
        ReportUnsupported("smoothing");
    }
    return true;
}

void DeleteAllTextures() {
    for (TextureObject& texture : textures) {
        if (texture.esTexture != 0) {
            RendererDeleteTexture(texture.esTexture);
        }
    }
    textures.assign(1, TextureObject{});
    nextTextureName = 1;
}

}  // namespace gllayer

using namespace gllayer;

void glGenTextures(GLsizei n, GLuint* names) {
    if (n < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    for (GLsizei i = 0; i < n; ++i) {
        names[i] = nextTextureName++;
        Texture(names[i], false);
    }
}

void glDeleteTextures(GLsizei n, const GLuint* names) {
    for (GLsizei i = 0; i < n; ++i) {
        const GLuint name = names[i];
        if (name == 0 || name >= textures.size()) {
            continue;
        }
        if (textures[name].esTexture != 0) {
            RendererDeleteTexture(textures[name].esTexture);
        }
        textures[name] = TextureObject{};
        if (State().server.boundTexture == name) {
            State().server.boundTexture = 0;
        }
    }
}

void glBindTexture(GLenum target, GLuint texture) {
    if (RecordUnsupportedInList("glBindTexture")) {
        return;
    }
    if (target != GL_TEXTURE_2D) {
        ReportUnsupported("texture targets other than GL_TEXTURE_2D");
        return;
    }
    Texture(texture, true);
    State().server.boundTexture = texture;
}

void glTexParameteri(GLenum target, GLenum pname, GLint param) {
    if (RecordUnsupportedInList("glTexParameteri")) {
        return;
    }
    TextureObject* texture = Texture(State().server.boundTexture, true);
    if (target != GL_TEXTURE_2D || texture == nullptr) {
        SetError(GL_INVALID_ENUM);
        return;
    }
    if (pname == GL_TEXTURE_MIN_FILTER) {
        texture->minFilter = param;
    } else if (pname != GL_TEXTURE_MAG_FILTER && pname != GL_TEXTURE_WRAP_S &&
               pname != GL_TEXTURE_WRAP_T) {
        ReportUnsupported("this texture parameter");
        return;
    }
    // GL_CLAMP has no ES twin; nothing the program draws reaches the edge where they differ.
    RendererTextureFilter(texture->esTexture, pname, param == GL_CLAMP ? 0x812F : param);
}

void glTexImage2D(GLenum target, GLint level, GLint internalFormat, GLsizei width, GLsizei height,
                  GLint border, GLenum format, GLenum type, const GLvoid* pixels) {
    if (RecordUnsupportedInList("glTexImage2D")) {
        return;
    }
    TextureObject* texture = Texture(State().server.boundTexture, true);
    if (target != GL_TEXTURE_2D || level != 0 || border != 0 || type != GL_UNSIGNED_BYTE) {
        ReportUnsupported("this kind of glTexImage2D");
        return;
    }
    if (width < 0 || height < 0) {
        SetError(GL_INVALID_VALUE);
        return;
    }
    const bool luminance = (internalFormat == GL_LUMINANCE8 || internalFormat == GL_LUMINANCE ||
                            internalFormat == 1) &&
                           format == GL_LUMINANCE;
    const bool rgba =
        (internalFormat == 4 || internalFormat == GL_RGBA || internalFormat == GL_RGBA8) &&
        format == GL_RGBA;
    if (!luminance && !rgba) {
        ReportUnsupported("texture formats other than RGBA and luminance bytes");
        return;
    }
    const PixelStore& unpack = State().client.unpack;
    const int bytesPerPixel = luminance ? 1 : 4;
    const void* rows = pixels;
    std::vector<uint8_t> packed;
    if (pixels != nullptr &&
        (unpack.rowLength != 0 || unpack.skipRows != 0 || unpack.skipPixels != 0)) {
        // ES 3 knows these too, but WebGL 2 only in part: gather the rows here instead.
        const GLsizei rowPixels = unpack.rowLength > 0 ? unpack.rowLength : width;
        const size_t stride = RowBytes(rowPixels, bytesPerPixel, unpack.alignment);
        const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
        packed.resize(rowBytes * static_cast<size_t>(height));
        const uint8_t* source = static_cast<const uint8_t*>(pixels) +
                                stride * static_cast<size_t>(unpack.skipRows) +
                                static_cast<size_t>(unpack.skipPixels * bytesPerPixel);
        for (GLsizei y = 0; y < height; ++y) {
            std::memcpy(packed.data() + rowBytes * static_cast<size_t>(y),
                        source + stride * static_cast<size_t>(y), rowBytes);
        }
        rows = packed.data();
        RendererTextureImage(texture->esTexture, luminance, width, height, 1, rows);
    } else {
        RendererTextureImage(texture->esTexture, luminance, width, height, unpack.alignment, rows);
    }
    texture->hasImage = width > 0 && height > 0;
}

void glCopyTexImage2D(GLenum target, GLint level, GLenum internalFormat, GLint x, GLint y,
                      GLsizei width, GLsizei height, GLint border) {
    if (RecordUnsupportedInList("glCopyTexImage2D")) {
        return;
    }
    if (target != GL_TEXTURE_2D || level != 0 || border != 0 ||
        (internalFormat != GL_RGBA && internalFormat != 4 && internalFormat != GL_RGB)) {
        ReportUnsupported("this kind of glCopyTexImage2D");
        return;
    }
    // ES copies only the channels the framebuffer has, and the picture has no alpha: read the
    // pixels (alpha reads as 1) and upload them.
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    RendererReadRgba(x, y, width, height, rgba.data());
    TextureObject* texture = Texture(State().server.boundTexture, true);
    RendererTextureImage(texture->esTexture, false, width, height, 4, rgba.data());
    texture->hasImage = width > 0 && height > 0;
}

void glTexGeni(GLenum coord, GLenum pname, GLint param) {
    if (RecordUnsupportedInList("glTexGeni")) {
        return;
    }
    if (pname != GL_TEXTURE_GEN_MODE || (coord != GL_S && coord != GL_T)) {
        ReportUnsupported("this glTexGeni");
        return;
    }
    ServerState& s = State().server;
    (coord == GL_S ? s.texGenModeS : s.texGenModeT) = static_cast<GLenum>(param);
}

void glGetTexGeniv(GLenum coord, GLenum pname, GLint* params) {
    if (pname != GL_TEXTURE_GEN_MODE || (coord != GL_S && coord != GL_T)) {
        ReportUnsupported("this glGetTexGeniv");
        return;
    }
    const ServerState& s = State().server;
    *params = static_cast<GLint>(coord == GL_S ? s.texGenModeS : s.texGenModeT);
}

void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type,
                  GLvoid* pixels) {
    if (type != GL_UNSIGNED_BYTE || (format != GL_RGBA && format != GL_RGB)) {
        ReportUnsupported("glReadPixels other than RGB or RGBA bytes");
        return;
    }
    if (width <= 0 || height <= 0) {
        return;
    }
    std::vector<uint8_t> rgba(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    RendererReadRgba(x, y, width, height, rgba.data());
    const PixelStore& pack = State().client.pack;
    const int bytesPerPixel = format == GL_RGBA ? 4 : 3;
    const GLsizei rowPixels = pack.rowLength > 0 ? pack.rowLength : width;
    const size_t stride = RowBytes(rowPixels, bytesPerPixel, pack.alignment);
    uint8_t* out = static_cast<uint8_t*>(pixels) + stride * static_cast<size_t>(pack.skipRows) +
                   static_cast<size_t>(pack.skipPixels * bytesPerPixel);
    for (GLsizei row = 0; row < height; ++row) {
        const uint8_t* source = rgba.data() + static_cast<size_t>(row) * width * 4;
        uint8_t* target = out + stride * static_cast<size_t>(row);
        for (GLsizei i = 0; i < width; ++i) {
            std::memcpy(target + i * bytesPerPixel, source + i * 4,
                        static_cast<size_t>(bytesPerPixel));
        }
    }
}

void glClear(GLbitfield mask) {
    if (RecordUnsupportedInList("glClear")) {
        return;
    }
    const ServerState& s = State().server;
    RendererClear(mask, s.clearColor, static_cast<float>(s.clearDepth), s.depthMask,
                  s.enables.scissorTest, s.scissor);
}

void glFinish() {
    RendererFinish();
}

void glFlush() {
    RendererFlush();
}
