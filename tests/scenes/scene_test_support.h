// Shared by the scenes' tests: colours, a blockiness measure and the strict hand-over check.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

#include "gl_test.h"
#include "run_program.h"

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};

// Pixels in rows [y0, y1) that differ from their left neighbour inside a 10-pixel block column:
// none once the 64 x 64 feedback capture is stretched over the screen.
inline int EdgesInsideBlocks(const Picture& picture, int y0, int y1) {
    int edges = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = 1; x < picture.width; ++x) {
            edges += x % 10 != 0 && !(PixelAt(picture, x, y) == PixelAt(picture, x - 1, y));
        }
    }
    return edges;
}

// A scene's end-of-frame step does not end the visit with its clock exactly at the limit, and
// ends it as soon as the clock passes it.
template <typename Scene, typename Finish>
void ExpectStrictHandOver(Finish finish, float limit) {
    Scene scene;
    scene.clock = limit;
    EXPECT_FALSE(finish(scene)) << "clock exactly " << limit;
    scene.clock = std::nextafter(limit, 2.0f * limit);
    EXPECT_TRUE(finish(scene)) << "clock just past " << limit;
}

// f(clock) is the expected value at each of the clocks.
template <typename F, typename T, size_t N>
void ExpectAtClocks(F f, const float (&clocks)[N], const T (&expected)[N]) {
    for (size_t i = 0; i < N; ++i) {
        EXPECT_EQ(f(clocks[i]), expected[i]) << "clock " << clocks[i];
    }
}
