// Mesh drawing on the software renderer: filled triangles, tint, and the line overlay's segments
// (counted through GL feedback) and picture.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/gl_objects.h"
#include "gl_test.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"
#include "platform/gl.h"

namespace {

constexpr Rgb kWhite{255, 255, 255};

class MeshDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();  // also puts the projection back afterwards
        // Clip space equals object space: a mesh inside -1..1 maps straight onto the picture.
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
    }
};

TEST_F(MeshDraw, LinesPairConsecutiveCornersInIndexOrder) {
    Mesh box, cell, tube, triangle;
    BuildBox(box, 0.5f, 0.5f, 0.5f);
    BuildGrid(cell, 1, 1, 1.0f, 1.0f);
    BuildTube(tube, 4, 1, 0.5f, 0.5f);
    BuildGrid(triangle, 1, 1, 1.0f, 1.0f);
    triangle.triangleCount = 1;  // 3 corners: the odd one is dropped
    for (const auto& [mesh, segments] :
         {std::pair{&box, 18}, {&cell, 3}, {&tube, 12}, {&triangle, 1}}) {
        std::vector<GLfloat> buffer(1 << 14);
        glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        DrawMeshLines(*mesh);
        // Per segment: a token, then x y z of each end; window x = (x + 1) * 320.
        ASSERT_EQ(glRenderMode(GL_RENDER), segments * 7);
        for (int s = 0; s < segments; ++s) {
            for (int end = 0; end < 2; ++end) {
                const float x = mesh->positions[size_t{mesh->indices[2 * s + end]} * 3];
                EXPECT_NEAR(buffer[s * 7 + 1 + end * 3], (x + 1.0f) * 320.0f, 0.01f) << s;
            }
        }
    }
}

TEST_F(MeshDraw, LinesAreBlackAndShowThroughNearerDepthAndCulling) {
    Mesh grid;
    BuildGrid(grid, 4, 4, 1.6f, 1.6f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // the grid's z becomes screen y: x 32..608, y 24..456
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClearDepth(0.0);  // everything already nearer than the grid
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glClearDepth(1.0);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    DrawMeshLines(grid);
    for (const GLenum cap : {GL_DEPTH_TEST, GL_LIGHTING, GL_CULL_FACE}) {
        glDisable(cap);
    }
    const Picture picture = ReadPicture();
    const int black = CountPixels(picture, {0, 0, 0});
    EXPECT_GT(black, 1000);
    EXPECT_EQ(black + CountPixels(picture, kWhite), 640 * 480);
    EXPECT_EQ(PixelAt(picture, 10, 240), kWhite);
    EXPECT_EQ(PixelAt(picture, 320, 10), kWhite);
}

TEST_F(MeshDraw, TrianglesAreWhiteWithTheirTextureCoordinatesOrTinted) {
    // 2 x 2 texture: red, green on the first row (t = 0), blue, white on the second.
    const uint8_t texels[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glEnable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor3f(0.5f, 0.5f, 0.5f);  // DrawMesh draws in white, so the texels show unchanged
    Mesh square;
    BuildGrid(square, 1, 1, 2.0f, 2.0f);  // u along x, v along z
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // z = -1 (v = 0) at the bottom of the screen
    DrawMesh(square);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &name);
    Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 100, 400), (Rgb{255, 0, 0}));  // u 0, v 0
    EXPECT_EQ(PixelAt(picture, 540, 400), (Rgb{0, 255, 0}));  // u 1, v 0
    EXPECT_EQ(PixelAt(picture, 100, 80), (Rgb{0, 0, 255}));   // u 0, v 1
    EXPECT_EQ(PixelAt(picture, 540, 80), kWhite);             // u 1, v 1

    glClear(GL_COLOR_BUFFER_BIT);
    BuildGrid(square, 2, 2, 1.0f, 1.0f);  // x in -0.5..0.5: pixels 160..480
    DrawMeshTinted(square, 1.0f, 0.0f, 0.5f);
    picture = ReadPicture();
    EXPECT_EQ(CountPixels(picture, {255, 0, 128}) + CountPixels(picture, {255, 0, 127}), 320 * 240);
}

// Three overlapping spheres (each covers its surface twice), each followed by its line overlay,
// in the forward order with blending at alpha 1 and the depth test off; or top first.
Picture DrawOverlappingSpheres(Mesh& ball, bool topFirst) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (topFirst) {
        BeginTopFirst();
    }
    for (int i = 0; i < 3; ++i) {
        const int k = topFirst ? 2 - i : i;
        glPushMatrix();
        glTranslatef(0.3f * static_cast<float>(k) - 0.3f, 0.0f, 0.1f * static_cast<float>(k));
        if (topFirst) {
            DrawMeshLinesTopFirst(ball);
            glEnable(GL_TEXTURE_2D);
            DrawMeshTopFirst(ball);
        } else {
            glEnable(GL_TEXTURE_2D);
            DrawMesh(ball);
        }
        glDisable(GL_TEXTURE_2D);
        if (!topFirst) {
            DrawMeshLines(ball);
        }
        glPopMatrix();
    }
    if (topFirst) {
        EndTopFirst();
    }
    return ReadPicture();
}

TEST_F(MeshDraw, TopFirstGivesTheForwardPictureWhereTheStateAllowsIt) {
    // 4 x 4 opaque texels of four colours: a different triangle on top shows.
    uint8_t texels[64];
    for (int i = 0; i < 64; ++i) {
        texels[i] = i % 4 == 3 ? 255 : static_cast<uint8_t>((i * 37) % 256);
    }
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_TEXTURE_2D);
    EXPECT_TRUE(TopFirstKeepsPicture(true));
    EXPECT_FALSE(TopFirstKeepsPicture(false));
    glDisable(GL_TEXTURE_2D);
    EXPECT_TRUE(TopFirstKeepsPicture(false));

    Mesh ball;
    BuildSphere(ball, 12, 0.5f);
    PrepareTopFirst(ball);
    const Picture forward = DrawOverlappingSpheres(ball, false);
    const Picture topFirst = DrawOverlappingSpheres(ball, true);
    EXPECT_GT(CountPixels(forward, {0, 0, 0}), 1000);
    EXPECT_LT(CountPixels(forward, {0, 0, 0}) + CountPixels(forward, kWhite), 640 * 400);
    EXPECT_TRUE(forward.rgb == topFirst.rgb);
    // Every state as before, and the depth buffer cleared again.
    GLfloat depthRange[2] = {};
    glGetFloatv(GL_DEPTH_RANGE, depthRange);
    EXPECT_EQ(depthRange[1], 1.0f);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLfloat depth = 0.0f;
    glReadPixels(320, 240, 1, 1, GL_DEPTH_COMPONENT, GL_FLOAT, &depth);
    EXPECT_EQ(depth, 1.0f);

    glBlendFunc(GL_SRC_ALPHA, GL_ONE);  // adding up: the order of layers is not the top's
    EXPECT_FALSE(TopFirstKeepsPicture(true));
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    EXPECT_TRUE(TopFirstKeepsPicture(false));  // without blending every fragment replaces
    glEnable(GL_LINE_SMOOTH);
    EXPECT_FALSE(TopFirstKeepsPicture(true));
    glDisable(GL_LINE_SMOOTH);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    EXPECT_FALSE(TopFirstKeepsPicture(true));
    glDeleteTextures(1, &name);
}

TEST_F(MeshDraw, EmptyMeshDrawsNothing) {
    Mesh empty;
    DrawMesh(empty);
    DrawMeshLines(empty);
    EXPECT_EQ(CountPixels(ReadPicture(), {0, 0, 0}), 640 * 480);
}

// Recorded line overlays: the list, and on a thread that draws lists directly the same calls with
// no list made; either way the enable state comes back as it was.
TEST_F(MeshDraw, RecordedLinesCalledOrDrawnDirectlyGiveOnePicture) {
    Mesh meshes[2];
    BuildBox(meshes[0], 0.5f, 0.4f, 0.3f);
    BuildTube(meshes[1], 6, 2, 0.7f, 0.6f);
    glRotatef(30.0f, 1.0f, 1.0f, 0.0f);
    const uint32_t list = RecordMeshLines(0, meshes, 2);
    ASSERT_NE(list, 0u);
    DrawListsDirectlyOnThisThread(true);
    EXPECT_EQ(RecordMeshLines(0, meshes, 2), 0u);
    EXPECT_EQ(RecordMeshLines(list, meshes, 2), list);
    DrawListsDirectlyOnThisThread(false);

    std::vector<uint64_t> hashes;
    for (const bool direct : {false, true}) {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        glEnable(GL_DEPTH_TEST);
        DrawListsDirectlyOnThisThread(direct);
        CallMeshLines(list, meshes, 2);
        DrawListsDirectlyOnThisThread(false);
        EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
        const Picture picture = ReadPicture();
        EXPECT_GT(640 * 480 - CountPixels(picture, kWhite), 500);
        hashes.push_back(PixelHash(picture));
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    EXPECT_EQ(hashes[0], hashes[1]);
    glDeleteLists(list, 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

}  // namespace
