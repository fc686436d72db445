// Draws small pictures that use the GL 1.x calls beyond what the show itself exercises (scissor,
// culling, depth functions and masks, direct bitmaps with every unpack setting, lists compiled
// and run at once, sphere mapping, texture copies, matrices loaded and scaled, sub-viewports) and
// writes each as DIR/case_NN.png. Built against the system's GL and against our own GL layer, so
// that a test can hold the layer's pictures against the reference ones.
// Usage: gl_cases DIR
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "core/screen.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "platform/png_io.h"

namespace {

// A 4 x 4 RGBA texture of four colours with graded alpha, and a 8 x 8 luminance checker.
void UploadColourTexture() {
    std::vector<uint8_t> texels;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            texels.insert(texels.end(),
                          {static_cast<uint8_t>(60 * x), static_cast<uint8_t>(60 * y),
                           static_cast<uint8_t>(200 - 40 * x), static_cast<uint8_t>(80 + 50 * y)});
        }
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
}

// The checker sits inside a wider image, reached through row length and skips.
void UploadCheckerThroughUnpackState() {
    std::vector<uint8_t> image(16 * 12, 7);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image[static_cast<size_t>((y + 3) * 16 + x + 5)] = ((x + y) % 2) != 0 ? 230 : 30;
        }
    }
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 16);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 3);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 5);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE8, 8, 8, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
                 image.data());
    glPopClientAttrib();
}

void Triangle(float x, float y, float size, float z, float r, float g, float b) {
    glBegin(GL_TRIANGLES);
    glColor4f(r, g, b, 1.0f);
    glVertex3f(x, y, z);
    glColor4f(g, b, r, 1.0f);
    glVertex3f(x + size, y, z);
    glColor4f(b, r, g, 1.0f);
    glVertex3f(x + size * 0.3f, y + size, z);
    glEnd();
}

void TexturedQuad(float x0, float y0, float x1, float y1, float repeat) {
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(x0, y0);
    glTexCoord2f(repeat, 0.0f);
    glVertex2f(x1, y0);
    glTexCoord2f(repeat, repeat);
    glVertex2f(x1, y1);
    glTexCoord2f(0.0f, repeat);
    glVertex2f(x0, y1);
    glEnd();
}

// A sphere of latitude x longitude quads as an indexed triangle list.
struct Sphere {
    std::vector<float> positions;
    std::vector<float> texCoords;
    std::vector<uint32_t> indices;
};

Sphere MakeSphere(int segments, float radius) {
    Sphere sphere;
    for (int i = 0; i <= segments; ++i) {
        const float theta = 3.14159265f * static_cast<float>(i) / static_cast<float>(segments);
        for (int j = 0; j <= segments; ++j) {
            const float phi = 6.2831853f * static_cast<float>(j) / static_cast<float>(segments);
            sphere.positions.insert(
                sphere.positions.end(),
                {radius * std::sin(theta) * std::cos(phi), radius * std::cos(theta),
                 radius * std::sin(theta) * std::sin(phi)});
            sphere.texCoords.insert(
                sphere.texCoords.end(),
                {static_cast<float>(j) / segments * 3.0f, static_cast<float>(i) / segments * 2.0f});
        }
    }
    const uint32_t row = static_cast<uint32_t>(segments) + 1;
    for (uint32_t i = 0; i < static_cast<uint32_t>(segments); ++i) {
        for (uint32_t j = 0; j < static_cast<uint32_t>(segments); ++j) {
            const uint32_t a = i * row + j;
            sphere.indices.insert(sphere.indices.end(),
                                  {a, a + row, a + 1, a + 1, a + row, a + row + 1});
        }
    }
    return sphere;
}

void DrawSphere(const Sphere& sphere, GLenum mode) {
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, sphere.positions.data());
    glTexCoordPointer(2, GL_FLOAT, 0, sphere.texCoords.data());
    glDrawElements(mode, static_cast<GLsizei>(sphere.indices.size()), GL_UNSIGNED_INT,
                   sphere.indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
}

void PixelProjection() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 640.0, 0.0, 480.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Culling both ways, scissored, with a depth test that changes its function and mask.
void CullScissorDepth() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(70.0, 640.0 / 480.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.5, 1.0, 6.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    Triangle(-3.0f, -2.0f, 2.0f, 0.0f, 1.0f, 0.2f, 0.1f);
    glFrontFace(GL_CW);
    Triangle(-1.0f, -2.0f, 2.0f, 0.3f, 0.1f, 0.9f, 0.2f);  // culled: now a back face
    glCullFace(GL_FRONT);
    Triangle(0.5f, -2.0f, 2.0f, -0.2f, 0.2f, 0.3f, 1.0f);
    glDisable(GL_CULL_FACE);
    glFrontFace(GL_CCW);
    glEnable(GL_SCISSOR_TEST);
    glScissor(100, 120, 300, 200);
    glDepthMask(GL_FALSE);
    Triangle(-2.5f, -1.0f, 4.0f, 0.5f, 0.9f, 0.9f, 0.1f);
    glDepthMask(GL_TRUE);
    glDepthFunc(GL_GREATER);
    Triangle(-2.0f, -1.5f, 4.0f, -1.0f, 0.5f, 0.1f, 0.6f);
    glDisable(GL_SCISSOR_TEST);
    glDepthFunc(GL_LESS);
    glDisable(GL_DEPTH_TEST);
}

// Textures: RGBA with alpha blending, luminance uploaded through the unpack state, texture
// coordinates repeating, modulated by a colour.
void TexturesAndBlending() {
    PixelProjection();
    GLuint names[2];
    glGenTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    UploadColourTexture();
    glBindTexture(GL_TEXTURE_2D, names[1]);
    UploadCheckerThroughUnpackState();
    glEnable(GL_TEXTURE_2D);
    glColor3f(0.9f, 0.6f, 0.3f);
    TexturedQuad(20.0f, 20.0f, 300.0f, 220.0f, 2.5f);
    glBindTexture(GL_TEXTURE_2D, names[0]);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor3ub(255, 255, 255);
    TexturedQuad(150.0f, 100.0f, 600.0f, 460.0f, 1.3f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glPushMatrix();
    glTranslatef(320.0f, 240.0f, 0.0f);
    glRotatef(33.0f, 0.0f, 0.0f, 1.0f);
    glScalef(1.5f, 0.7f, 1.0f);
    TexturedQuad(-100.0f, -100.0f, 100.0f, 100.0f, 1.0f);
    glPopMatrix();
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(2, names);
}

// Bitmaps drawn directly, with every unpack setting glBitmap reads, in colour with blending,
// inverting, and one whose raster position falls outside the view (drawn nowhere).
void Bitmaps() {
    PixelProjection();
    const uint8_t arrow[] = {0x18, 0x00, 0x3C, 0x00, 0x7E, 0x00, 0xFF, 0x80,
                             0x18, 0x00, 0x18, 0x00, 0x18, 0x00, 0x1F, 0xC0};
    glClearColor(0.2f, 0.5f, 0.7f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glColor4f(1.0f, 0.9f, 0.1f, 1.0f);
    glRasterPos2f(40.3f, 60.7f);
    for (int i = 0; i < 20; ++i) {
        glBitmap(10, 8, 1.5f, 0.0f, 13.25f, 2.5f, arrow);
    }
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_TRUE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(1.0f, 0.0f, 0.0f, 0.5f);
    glRasterPos2f(300.0f, 200.0f);
    glBitmap(10, 8, 0.0f, 0.0f, 0.0f, 0.0f, arrow);
    glPixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_SKIP_ROWS, 2);
    glPixelStorei(GL_UNPACK_SKIP_PIXELS, 3);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 16);
    glRasterPos2f(400.5f, 300.5f);
    glBitmap(7, 5, 0.0f, 0.0f, 0.0f, 0.0f, arrow);
    glPopClientAttrib();
    glDisable(GL_BLEND);
    // Mesa keeps small bitmaps back and draws them with the state of when it flushes them, which
    // a logic op switched on later would reach; finishing first keeps to GL's rule.
    glFinish();
    glEnable(GL_COLOR_LOGIC_OP);
    glLogicOp(GL_INVERT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    glRasterPos2f(100.0f, 300.0f);
    for (int i = 0; i < 6; ++i) {
        glBitmap(10, 8, 0.0f, 0.0f, 5.0f, 0.0f, arrow);  // overlapping: inverted twice
    }
    glDisable(GL_COLOR_LOGIC_OP);
    glRasterPos2f(-50.0f, 100.0f);  // outside: later bitmaps draw nothing
    glBitmap(10, 8, 0.0f, 0.0f, 100.0f, 0.0f, arrow);
    glBitmap(10, 8, 0.0f, 0.0f, 100.0f, 0.0f, arrow);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
}

// Lists: compiled and run at once, nested, called by byte names from a base, holding colours,
// capabilities, blending and vertex-array draws whose arrays change after compiling.
void DisplayLists() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 640.0 / 480.0, 0.5, 50.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -6.0f);
    Sphere sphere = MakeSphere(10, 1.5f);
    const GLuint lists = glGenLists(3);
    glNewList(lists, GL_COMPILE);
    glColor4f(0.9f, 0.2f, 0.2f, 1.0f);
    DrawSphere(sphere, GL_LINES);
    glEndList();
    glNewList(lists + 1, GL_COMPILE_AND_EXECUTE);
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.1f, 0.3f, 0.6f, 1.0f);  // 25.5, 76.5, 153 in 8 bits: ties that must round alike
    DrawSphere(sphere, GL_TRIANGLES);
    glCallList(lists);
    glPopAttrib();
    glEndList();
    sphere.positions.assign(sphere.positions.size(), 0.0f);  // the lists keep their own copy
    glRotatef(40.0f, 1.0f, 1.0f, 0.0f);
    glTranslatef(1.2f, 0.0f, 0.0f);
    glCallList(lists + 1);
    const GLubyte names[] = {0, 2, 1, 2};
    glListBase(lists);
    glLoadIdentity();
    glTranslatef(-1.5f, -0.5f, -8.0f);
    glCallLists(4, GL_UNSIGNED_BYTE, names);  // name lists + 2 is empty
    glListBase(0);
    glDeleteLists(lists, 3);
}

// Sphere-mapped texture coordinates on a turning sphere, with loaded and multiplied matrices.
void SphereMapping() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 640.0 / 480.0, 0.5, 50.0);
    glMatrixMode(GL_MODELVIEW);
    const GLfloat placed[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0.3f, -0.2f, -5.0f, 1};
    glLoadMatrixf(placed);
    const GLfloat sheared[16] = {1, 0.2f, 0, 0, 0, 1, 0, 0, 0.1f, 0, 1, 0, 0, 0, 0, 1};
    glMultMatrixf(sheared);
    glRotatef(25.0f, 0.3f, 1.0f, 0.2f);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    UploadColourTexture();
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    DrawSphere(MakeSphere(16, 1.8f), GL_TRIANGLES);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_TEXTURE_2D);
    glDeleteTextures(1, &name);
}

// A picture copied into a texture and drawn back magnified into a sub-viewport with a narrowed
// depth range.
void CopyAndViewport() {
    PixelProjection();
    Triangle(10.0f, 10.0f, 100.0f, 0.0f, 0.9f, 0.5f, 0.1f);
    Triangle(40.0f, 5.0f, 80.0f, 0.0f, 0.1f, 0.8f, 0.7f);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 0, 0, 128, 128, 0);
    glViewport(200, 100, 400, 300);
    glDepthRange(0.25, 0.75);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    TexturedQuad(0.0f, 0.0f, 640.0f, 480.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDepthRange(0.0, 1.0);
    glViewport(0, 0, 640, 480);
    glDeleteTextures(1, &name);
}

using Case = void (*)();
constexpr Case kCases[] = {CullScissorDepth, TexturesAndBlending, Bitmaps,
                           DisplayLists,     SphereMapping,       CopyAndViewport};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gl_cases DIR\n");
        return 2;
    }
    if (!OpenPicture(DisplayMode::Offscreen)) {
        std::fprintf(stderr, "gl_cases: %s\n", DisplayLastError());
        return 1;
    }
    std::vector<uint8_t> rgb(static_cast<size_t>(screenWidth) * screenHeight * 3);
    int status = 0;
    int number = 0;
    for (const Case draw : kCases) {
        SetupGlContext();
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        draw();
        glFinish();
        DisplayReadPicture(rgb.data());
        char name[32];
        std::snprintf(name, sizeof name, "/case_%02d.png", ++number);
        const std::string path = argv[1] + std::string(name);
        if (!WritePngRgb(path.c_str(), screenWidth, screenHeight, rgb.data())) {
            std::fprintf(stderr, "gl_cases: cannot write %s\n", path.c_str());
            status = 1;
        }
        if (glGetError() != GL_NO_ERROR) {
            std::fprintf(stderr, "gl_cases: case %d left a GL error\n", number);
            status = 1;
        }
    }
    DisplayClose();
    return status;
}
