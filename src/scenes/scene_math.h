// Small math helpers shared by the scenes: vectors to aim cameras, float trigonometry and the
// static-noise flicker.
#pragma once

#include <cmath>
#include <cstdint>

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Euclidean length: squares summed in double precision, root in double, result rounded to float.
float Vec3Length(const Vec3& v);

// Scales v to unit length, every component divided by the same float length. A zero vector is left
// unchanged rather than turned into NaNs, so a degenerate camera direction never reaches OpenGL.
void Vec3Normalize(Vec3& v);

// Sine and cosine taken in double precision of a float angle (radians), rounded back to float.
inline float SinF(float radians) {
    return static_cast<float>(std::sin(static_cast<double>(radians)));
}
inline float CosF(float radians) {
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

// The shared-texture entry of the first static-noise frame; scenes cycle through four.
constexpr int32_t kFirstNoiseEntry = 4;

// Advances a static-noise index 0..3 by one frame, wrapping past 3 to 0.
inline int32_t NextNoiseIndex(int32_t index) {
    return index + 1 > 3 ? 0 : index + 1;
}
