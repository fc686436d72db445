// GL test fixtures on the offscreen demo window.
#include "gl_test.h"

#include <ostream>

#include "core/screen.h"
#include "platform/display.h"
#include "platform/gl.h"
#include "platform/png_io.h"

Rgb PixelAt(const Picture& picture, int32_t x, int32_t y) {
    const size_t offset = (static_cast<size_t>(y) * picture.width + x) * 3;
    return {picture.rgb[offset], picture.rgb[offset + 1], picture.rgb[offset + 2]};
}

int32_t CountPixels(const Picture& picture, Rgb color) {
    int32_t count = 0;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        if (picture.rgb[i] == color.r && picture.rgb[i + 1] == color.g &&
            picture.rgb[i + 2] == color.b) {
            ++count;
        }
    }
    return count;
}

int32_t CountInRect(const Picture& picture, Rgb color, int32_t left, int32_t top, int32_t right,
                    int32_t bottom) {
    int32_t count = 0;
    for (int32_t y = top; y < bottom; ++y) {
        for (int32_t x = left; x < right; ++x) {
            count += PixelAt(picture, x, y) == color ? 1 : 0;
        }
    }
    return count;
}

Picture LoadPicture(const std::string& path) {
    Picture picture;
    EXPECT_TRUE(ReadPngRgb(path.c_str(), &picture.width, &picture.height, &picture.rgb)) << path;
    return picture;
}

uint64_t Fnv1a(const uint8_t* bytes, size_t size) {
    uint64_t hash = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * 1099511628211ull;
    }
    return hash;
}

uint64_t PixelHash(const Picture& picture) {
    return Fnv1a(picture.rgb.data(), picture.rgb.size());
}

Picture ReadPicture() {
    Picture picture;
    picture.width = screenWidth;
    picture.height = screenHeight;
    picture.rgb.resize(static_cast<size_t>(picture.width) * picture.height * 3);
    glFinish();
    DisplayReadPicture(picture.rgb.data());
    return picture;
}

void GlTest::SetUp() {
    if (!DisplayIsOpen()) {
        ASSERT_TRUE(OpenPicture(DisplayMode::Offscreen)) << DisplayLastError();
    }
    // Back to the context's initial state (as far as the toolkit touches it) and a cleared picture.
    glMatrixMode(GL_MODELVIEW);
    SetupGlContext();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_COLOR_LOGIC_OP);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glBlendFunc(GL_ONE, GL_ZERO);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlTest::TearDown() {
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "a GL call in the test failed";
}

std::ostream& operator<<(std::ostream& out, const Rgb& color) {
    return out << "rgb(" << int(color.r) << ", " << int(color.g) << ", " << int(color.b) << ")";
}
