// The GL state snapshot: every value it keeps comes back, whatever was changed in between.
#include <gtest/gtest.h>

#include "gfx/gl_state_snapshot.h"
#include "gl_test.h"
#include "platform/gl.h"

namespace {

using GlStateSnapshotTest = GlTest;

// Sets every value the snapshot keeps to something other than a new context's.
void ChangeEverything(GLuint texture) {
    for (const GLenum capability :
         {GL_BLEND, GL_DEPTH_TEST, GL_TEXTURE_2D, GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_CULL_FACE,
          GL_COLOR_LOGIC_OP, GL_SCISSOR_TEST, GL_LIGHTING, GL_FOG, GL_ALPHA_TEST, GL_STENCIL_TEST,
          GL_LINE_SMOOTH, GL_POLYGON_SMOOTH, GL_NORMALIZE}) {
        glIsEnabled(capability) ? glDisable(capability) : glEnable(capability);
    }
    for (const GLenum array :
         {GL_VERTEX_ARRAY, GL_NORMAL_ARRAY, GL_TEXTURE_COORD_ARRAY, GL_COLOR_ARRAY}) {
        glEnableClientState(array);
    }
    glColor4f(0.125f, 0.25f, 0.375f, 0.5f);
    glTexCoord2f(0.75f, 0.625f);
    glBlendFunc(GL_DST_COLOR, GL_ONE);
    glLogicOp(GL_INVERT);
    glClearColor(0.5f, 0.25f, 0.125f, 1.0f);
    glDepthFunc(GL_GREATER);
    glDepthMask(GL_FALSE);
    glClearDepth(0.5);
    glViewport(1, 2, 30, 40);
    glDepthRange(0.25, 0.75);
    glScissor(3, 4, 50, 60);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glLineWidth(2.0f);
    glCullFace(GL_FRONT);
    glFrontFace(GL_CW);
    glShadeModel(GL_FLAT);
    glListBase(7);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 10.0, 0.0, 20.0, -1.0, 1.0);
    glPushMatrix();
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30.0f, 1.0f, 2.0f, 3.0f);
    glPushMatrix();
    glTranslatef(4.0f, 5.0f, 6.0f);
}

TEST_F(GlStateSnapshotTest, EveryValueKeptComesBackAndTheChangedStateCanBePutBackToo) {
    GlStateSnapshot original;
    GlStateCapture(original);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    ChangeEverything(texture);
    GlStateSnapshot changed;
    GlStateCapture(changed);

    // Nothing the snapshot keeps was left as it was, so each of them is tested.
    for (int32_t i = 0; i < kSnapshotCapabilityCount; ++i) {
        EXPECT_NE(changed.enabled[i], original.enabled[i]) << "capability " << i;
    }
    const auto differ = [](const auto& a, const auto& b) { return !(a == b); };
    EXPECT_TRUE(differ(changed.color[0], original.color[0]));
    EXPECT_TRUE(differ(changed.texCoord[0], original.texCoord[0]));
    EXPECT_TRUE(differ(changed.blendSource, original.blendSource));
    EXPECT_TRUE(differ(changed.blendDestination, original.blendDestination));
    EXPECT_TRUE(differ(changed.logicOp, original.logicOp));
    EXPECT_TRUE(differ(changed.clearColor[0], original.clearColor[0]));
    EXPECT_TRUE(differ(changed.depthFunc, original.depthFunc));
    EXPECT_TRUE(differ(changed.depthMask, original.depthMask));
    EXPECT_TRUE(differ(changed.clearDepth, original.clearDepth));
    EXPECT_TRUE(differ(changed.viewport[0], original.viewport[0]));
    EXPECT_TRUE(differ(changed.depthRange[0], original.depthRange[0]));
    EXPECT_TRUE(differ(changed.scissor[0], original.scissor[0]));
    EXPECT_TRUE(differ(changed.boundTexture, original.boundTexture));
    EXPECT_TRUE(differ(changed.texGenMode[0], original.texGenMode[0]));
    EXPECT_TRUE(differ(changed.texGenMode[1], original.texGenMode[1]));
    EXPECT_TRUE(differ(changed.lineWidth, original.lineWidth));
    EXPECT_TRUE(differ(changed.cullFaceMode, original.cullFaceMode));
    EXPECT_TRUE(differ(changed.frontFace, original.frontFace));
    EXPECT_TRUE(differ(changed.shadeModel, original.shadeModel));
    EXPECT_TRUE(differ(changed.listBase, original.listBase));
    EXPECT_TRUE(differ(changed.packAlignment, original.packAlignment));
    EXPECT_TRUE(differ(changed.unpackAlignment, original.unpackAlignment));
    EXPECT_TRUE(differ(changed.modelview[12], original.modelview[12]));
    EXPECT_TRUE(differ(changed.projection[0], original.projection[0]));
    EXPECT_EQ(changed.modelviewDepth, 2);
    EXPECT_EQ(changed.projectionDepth, 2);

    GlStateRestore(original);
    GlStateSnapshot restored;
    GlStateCapture(restored);
    EXPECT_TRUE(restored == original);

    GlStateRestore(changed);
    GlStateCapture(restored);
    EXPECT_TRUE(restored == changed);

    GlStateRestore(original);
    glDeleteTextures(1, &texture);
}

}  // namespace
