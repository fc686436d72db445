// Mesh drawing on the software renderer: filled triangles, tint, and the line overlay's segments
// (counted through GL feedback) and the state it leaves behind.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <vector>

#include "gl_test.h"
#include "mesh/mesh.h"
#include "mesh/shapes.h"

namespace {

class MeshDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // Clip space equals object space: a mesh inside -1..1 maps straight onto the picture.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        GlTest::TearDown();
    }
};

struct FeedbackLine {
    float x0, y0, z0, x1, y1, z1;
    float r0, g0, b0, a0;
};

// Runs draw in feedback mode and returns the line segments GL produced (window coordinates).
template <typename Draw>
std::vector<FeedbackLine> CaptureLines(Draw draw, int* otherTokens) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FeedbackLine> lines;
    *otherTokens = 0;
    EXPECT_GE(used, 0) << "feedback buffer overflowed";
    for (GLint i = 0; i < used;) {
        const auto token = static_cast<GLint>(buffer[static_cast<size_t>(i)]);
        if (token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN) {
            const GLfloat* v = &buffer[static_cast<size_t>(i) + 1];  // x y z r g b a, twice
            lines.push_back({v[0], v[1], v[2], v[7], v[8], v[9], v[3], v[4], v[5], v[6]});
            i += 1 + 14;
        } else {
            ++*otherTokens;
            break;  // Lines only expected; anything else ends the walk.
        }
    }
    return lines;
}

// Window x for an object x under the identity transforms on the 640-pixel-wide picture.
float WindowX(float x) {
    return (x + 1.0f) * 320.0f;
}

TEST_F(MeshDraw, LinesPairConsecutiveCornersAcrossTriangles) {
    Mesh box;
    BuildBox(box, 0.5f, 0.5f, 0.5f);
    int other = 0;
    const auto boxLines = CaptureLines([&] { DrawMeshLines(box); }, &other);
    EXPECT_EQ(other, 0);
    EXPECT_EQ(boxLines.size(), 18u) << "36 corners make 18 segments";
    for (const auto& line : boxLines) {
        EXPECT_EQ(line.r0, 0.0f);
        EXPECT_EQ(line.g0, 0.0f);
        EXPECT_EQ(line.b0, 0.0f);
        EXPECT_EQ(line.a0, 1.0f);
    }

    // Two triangles of a one-cell grid: (2, 1, 0), (3, 1, 2). Segments: 2-1, 0-3, 1-2.
    Mesh grid;
    BuildGrid(grid, 1, 1, 1.0f, 1.0f);  // x, z in -0.5..0.5; window z = (z + 1) / 2
    const auto gridLines = CaptureLines([&] { DrawMeshLines(grid); }, &other);
    ASSERT_EQ(gridLines.size(), 3u);
    // Window x = (x + 1) * 320, window z = (z + 1) / 2 under identity transforms.
    const float expected[3][4] = {{-0.5f, 0.5f, 0.5f, -0.5f},   // 2 → 1
                                  {-0.5f, -0.5f, 0.5f, 0.5f},   // 0 → 3
                                  {0.5f, -0.5f, -0.5f, 0.5f}};  // 1 → 2
    for (int s = 0; s < 3; ++s) {
        EXPECT_NEAR(gridLines[s].x0, WindowX(expected[s][0]), 0.01f) << s;
        EXPECT_NEAR(gridLines[s].z0, (expected[s][1] + 1.0f) / 2.0f, 1e-4f) << s;
        EXPECT_NEAR(gridLines[s].x1, WindowX(expected[s][2]), 0.01f) << s;
        EXPECT_NEAR(gridLines[s].z1, (expected[s][3] + 1.0f) / 2.0f, 1e-4f) << s;
    }
}

TEST_F(MeshDraw, SegmentCornersFollowIndexOrder) {
    Mesh strip;
    BuildTube(strip, 4, 1, 0.5f, 0.5f);  // 8 triangles, 24 corners, 12 segments
    int other = 0;
    const auto lines = CaptureLines([&] { DrawMeshLines(strip); }, &other);
    ASSERT_EQ(lines.size(), 12u);
    for (size_t s = 0; s < lines.size(); ++s) {
        const uint32_t a = strip.indices[2 * s];
        const uint32_t b = strip.indices[2 * s + 1];
        EXPECT_NEAR(lines[s].x0, WindowX(strip.positions[a * 3]), 0.01f) << "segment " << s;
        EXPECT_NEAR(lines[s].x1, WindowX(strip.positions[b * 3]), 0.01f) << "segment " << s;
    }
}

TEST_F(MeshDraw, OddTriangleCountDropsTheLastCorner) {
    Mesh single;
    BuildGrid(single, 1, 1, 1.0f, 1.0f);
    single.triangleCount = 1;  // corners 2, 1, 0
    int other = 0;
    const auto lines = CaptureLines([&] { DrawMeshLines(single); }, &other);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NEAR(lines[0].x0, WindowX(-0.5f), 0.01f);  // vertex 2
    EXPECT_NEAR(lines[0].x1, WindowX(0.5f), 0.01f);   // vertex 1
}

TEST_F(MeshDraw, LinesRestoreDepthCullingLightingAndColour) {
    Mesh box;
    BuildBox(box, 0.5f, 0.5f, 0.5f);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glEnable(GL_LIGHTING);
    glColor4f(0.25f, 0.5f, 0.75f, 1.0f);
    DrawMeshLines(box);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[1], 0.5f);
    glDisable(GL_LIGHTING);

    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    DrawMeshLines(box);
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    glDisable(GL_CULL_FACE);
}

TEST_F(MeshDraw, LinesShowThroughAndAreBlack) {
    Mesh grid;
    BuildGrid(grid, 4, 4, 1.6f, 1.6f);
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // the grid's z becomes screen y
    glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    // Fill the depth buffer nearer than the grid: lines must still appear.
    glDepthFunc(GL_ALWAYS);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glBegin(GL_QUADS);
    glVertex3f(-1, -1, -1);
    glVertex3f(1, -1, -1);
    glVertex3f(1, 1, -1);
    glVertex3f(-1, 1, -1);
    glEnd();
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthFunc(GL_LESS);
    DrawMeshLines(grid);
    const Picture picture = ReadPicture();
    const int black = CountPixels(picture, {0, 0, 0});
    EXPECT_GT(black, 1000);
    EXPECT_EQ(black + CountPixels(picture, {255, 255, 255}), 640 * 480);
    // Nothing outside the grid's extent (x in 32..608, y in 24..456).
    EXPECT_EQ(PixelAt(picture, 10, 240), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(picture, 320, 10), (Rgb{255, 255, 255}));
}

TEST_F(MeshDraw, FilledTrianglesInWhiteAndTintAndArraysEndDisabled) {
    Mesh square;
    BuildGrid(square, 2, 2, 1.0f, 1.0f);  // x in -0.5..0.5 → pixels 160..480
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glEnableClientState(GL_NORMAL_ARRAY);
    DrawMesh(square);
    Picture picture = ReadPicture();
    EXPECT_EQ(CountPixels(picture, {255, 255, 255}), 320 * 240);
    EXPECT_EQ(PixelAt(picture, 161, 121), (Rgb{255, 255, 255}));
    EXPECT_EQ(PixelAt(picture, 158, 240), (Rgb{0, 0, 0}));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_NORMAL_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));

    DrawMeshTinted(square, 1.0f, 0.0f, 0.5f);
    picture = ReadPicture();
    EXPECT_EQ(CountPixels(picture, {255, 0, 128}) + CountPixels(picture, {255, 0, 127}), 320 * 240);
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(colour[3], 1.0f);
}

TEST_F(MeshDraw, TrianglesCarryTheirTextureCoordinates) {
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
    Mesh square;
    BuildGrid(square, 1, 1, 2.0f, 2.0f);  // u along x, v along z
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);  // z = -1 (v = 0) at the bottom of the screen
    DrawMesh(square);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &name);
    const Picture picture = ReadPicture();
    EXPECT_EQ(PixelAt(picture, 100, 400), (Rgb{255, 0, 0}));     // u 0, v 0
    EXPECT_EQ(PixelAt(picture, 540, 400), (Rgb{0, 255, 0}));     // u 1, v 0
    EXPECT_EQ(PixelAt(picture, 100, 80), (Rgb{0, 0, 255}));      // u 0, v 1
    EXPECT_EQ(PixelAt(picture, 540, 80), (Rgb{255, 255, 255}));  // u 1, v 1
}

TEST_F(MeshDraw, LineCornersCarryTheirTextureCoordinates) {
    Mesh box;
    BuildBox(box, 0.5f, 0.5f, 0.5f);
    std::vector<GLfloat> buffer(4096);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    DrawMeshLines(box);
    const GLint used = glRenderMode(GL_RENDER);
    // Token, then x y z, r g b a, s t r q for each end: 1 + 2 * 11 floats per segment.
    ASSERT_EQ(used, 18 * 23);
    // Segment 1 joins corner 2 of triangle 0 (vertex 2, uv (0, 1)) to corner 0 of triangle 1
    // (vertex 2 again).
    const GLfloat* second = &buffer[23];
    EXPECT_EQ(second[1 + 7], 0.0f);
    EXPECT_EQ(second[1 + 8], 1.0f);
    // Segment 2: vertices 3 (uv (0, 0)) and 0 (uv (1, 0)).
    const GLfloat* third = &buffer[46];
    EXPECT_EQ(third[1 + 7], 0.0f);
    EXPECT_EQ(third[1 + 11 + 7], 1.0f);
    EXPECT_EQ(third[1 + 11 + 8], 0.0f);
}

TEST_F(MeshDraw, EmptyMeshDrawsNothing) {
    Mesh empty;
    glEnableClientState(GL_VERTEX_ARRAY);
    DrawMesh(empty);
    DrawMeshLines(empty);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_EQ(CountPixels(ReadPicture(), {0, 0, 0}), 640 * 480);
}

}  // namespace
