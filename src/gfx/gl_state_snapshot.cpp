// Taking and putting back the GL state the show's frames carry over.
#include "gfx/gl_state_snapshot.h"

namespace {

constexpr GLenum kCapabilities[kSnapshotCapabilityCount] = {
    GL_BLEND,        GL_DEPTH_TEST,     GL_TEXTURE_2D,          GL_TEXTURE_GEN_S,  GL_TEXTURE_GEN_T,
    GL_CULL_FACE,    GL_COLOR_LOGIC_OP, GL_SCISSOR_TEST,        GL_LIGHTING,       GL_FOG,
    GL_ALPHA_TEST,   GL_STENCIL_TEST,   GL_LINE_SMOOTH,         GL_POLYGON_SMOOTH, GL_NORMALIZE,
    GL_VERTEX_ARRAY, GL_NORMAL_ARRAY,   GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY,
};

// The client arrays are switched by their own calls.
bool IsClientArray(GLenum capability) {
    return capability == GL_VERTEX_ARRAY || capability == GL_NORMAL_ARRAY ||
           capability == GL_TEXTURE_COORD_ARRAY || capability == GL_COLOR_ARRAY;
}

void SetCapability(GLenum capability, bool on) {
    if (IsClientArray(capability)) {
        on ? glEnableClientState(capability) : glDisableClientState(capability);
    } else {
        on ? glEnable(capability) : glDisable(capability);
    }
}

// Loads `top` into the stack of `mode` and brings the stack to `depth`.
void RestoreStack(GLenum mode, GLenum depthName, GLint depth, const GLfloat* top) {
    glMatrixMode(mode);
    GLint current = 1;
    glGetIntegerv(depthName, &current);
    for (; current > depth && current > 1; --current) {
        glPopMatrix();
    }
    glLoadMatrixf(top);
    for (; current < depth; ++current) {
        glPushMatrix();
    }
}

}  // namespace

void GlStateCapture(GlStateSnapshot& s) {
    for (int32_t i = 0; i < kSnapshotCapabilityCount; ++i) {
        s.enabled[i] = glIsEnabled(kCapabilities[i]);
    }
    glGetFloatv(GL_CURRENT_COLOR, s.color);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, s.texCoord);
    glGetIntegerv(GL_BLEND_SRC, &s.blendSource);
    glGetIntegerv(GL_BLEND_DST, &s.blendDestination);
    glGetIntegerv(GL_LOGIC_OP_MODE, &s.logicOp);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, s.clearColor);
    glGetIntegerv(GL_DEPTH_FUNC, &s.depthFunc);
    glGetBooleanv(GL_DEPTH_WRITEMASK, &s.depthMask);
    glGetDoublev(GL_DEPTH_CLEAR_VALUE, &s.clearDepth);
    glGetIntegerv(GL_VIEWPORT, s.viewport);
    glGetDoublev(GL_DEPTH_RANGE, s.depthRange);
    glGetIntegerv(GL_SCISSOR_BOX, s.scissor);
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &s.boundTexture);
    glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &s.texGenMode[0]);
    glGetTexGeniv(GL_T, GL_TEXTURE_GEN_MODE, &s.texGenMode[1]);
    glGetFloatv(GL_LINE_WIDTH, &s.lineWidth);
    glGetIntegerv(GL_CULL_FACE_MODE, &s.cullFaceMode);
    glGetIntegerv(GL_FRONT_FACE, &s.frontFace);
    glGetIntegerv(GL_SHADE_MODEL, &s.shadeModel);
    glGetIntegerv(GL_MATRIX_MODE, &s.matrixMode);
    glGetIntegerv(GL_LIST_BASE, &s.listBase);
    glGetIntegerv(GL_PACK_ALIGNMENT, &s.packAlignment);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &s.unpackAlignment);
    glGetFloatv(GL_MODELVIEW_MATRIX, s.modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, s.projection);
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &s.modelviewDepth);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &s.projectionDepth);
}

void GlStateRestore(const GlStateSnapshot& s) {
    for (int32_t i = 0; i < kSnapshotCapabilityCount; ++i) {
        SetCapability(kCapabilities[i], s.enabled[i] == GL_TRUE);
    }
    glColor4f(s.color[0], s.color[1], s.color[2], s.color[3]);
    glTexCoord2f(s.texCoord[0], s.texCoord[1]);
    glBlendFunc(static_cast<GLenum>(s.blendSource), static_cast<GLenum>(s.blendDestination));
    glLogicOp(static_cast<GLenum>(s.logicOp));
    glClearColor(s.clearColor[0], s.clearColor[1], s.clearColor[2], s.clearColor[3]);
    glDepthFunc(static_cast<GLenum>(s.depthFunc));
    glDepthMask(s.depthMask);
    glClearDepth(s.clearDepth);
    glViewport(s.viewport[0], s.viewport[1], s.viewport[2], s.viewport[3]);
    glDepthRange(s.depthRange[0], s.depthRange[1]);
    glScissor(s.scissor[0], s.scissor[1], s.scissor[2], s.scissor[3]);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(s.boundTexture));
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, s.texGenMode[0]);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, s.texGenMode[1]);
    glLineWidth(s.lineWidth);
    glCullFace(static_cast<GLenum>(s.cullFaceMode));
    glFrontFace(static_cast<GLenum>(s.frontFace));
    glShadeModel(static_cast<GLenum>(s.shadeModel));
    glListBase(static_cast<GLuint>(s.listBase));
    glPixelStorei(GL_PACK_ALIGNMENT, s.packAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, s.unpackAlignment);
    RestoreStack(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH, s.projectionDepth, s.projection);
    RestoreStack(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH, s.modelviewDepth, s.modelview);
    glMatrixMode(static_cast<GLenum>(s.matrixMode));
}
