// Picture checks for the 64 x 64 capture stretched over 640 x 480: 10 x 7.5-pixel blocks.
#pragma once

#include <cmath>
#include <set>

#include "gl_test.h"

// Whether every pixel equals the first pixel of its 10 x 7.5 block. Rows whose centre falls on a
// block border (7, 22, 37, ...) could round either way and are skipped.
inline bool IsBlocky(const Picture& picture) {
    for (int y = 0; y < picture.height; ++y) {
        const double row = (y + 0.5) / 7.5;
        if (std::fabs(row - std::round(row)) < 1e-6) {
            continue;
        }
        const int blockRow = static_cast<int>(row);
        const int firstY = static_cast<int>(std::ceil(blockRow * 7.5 - 0.5 + 1e-6));
        for (int x = 0; x < picture.width; ++x) {
            if (!(PixelAt(picture, x, y) == PixelAt(picture, x / 10 * 10, firstY))) {
                return false;
            }
        }
    }
    return true;
}

inline int CountColours(const Picture& picture) {
    std::set<int> colours;
    for (size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        colours.insert(picture.rgb[i] << 16 | picture.rgb[i + 1] << 8 | picture.rgb[i + 2]);
    }
    return static_cast<int>(colours.size());
}
