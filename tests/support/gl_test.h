// GL test fixtures: the demo window opened offscreen on Mesa's software renderer, and pixel reads.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const Rgb&) const = default;
};

// The 640 x 480 picture as RGB rows, top row first, with accessors in screen coordinates
// (x from the left edge, y from the top edge).
struct Picture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> rgb;
};
Rgb PixelAt(const Picture& picture, int32_t x, int32_t y);
int32_t CountPixels(const Picture& picture, Rgb color);
// Pixels of `color` in columns left..right-1 and rows top..bottom-1.
int32_t CountInRect(const Picture& picture, Rgb color, int32_t left, int32_t top, int32_t right,
                    int32_t bottom);
// 64-bit FNV-1a of bytes: a picture's or a sound's fingerprint for the frame-hash tables and the
// exactness tests.
uint64_t Fnv1a(const uint8_t* bytes, size_t size);
uint64_t PixelHash(const Picture& picture);
// The GL picture read back, or a PNG file decoded (empty, with a test failure, if unreadable).
Picture ReadPicture();
Picture LoadPicture(const std::string& path);

// Opens the demo picture offscreen once per test program (with the same initial
// GL state the program uses), and before each test puts the GL state back to that initial state.
class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

// std::ostream output so failing pixel comparisons print readable values.
std::ostream& operator<<(std::ostream& out, const Rgb& color);
