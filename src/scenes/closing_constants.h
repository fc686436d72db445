// Single-precision angle divisors and float trigonometry shared by the closing scenes.
#pragma once

#include <cmath>

// Divisors that turn a scene clock into radians. They are deliberately not exact multiples of
// pi: the motion of the scenes depends on these exact single-precision values.
constexpr float kTurnDivisor = 6.28318f;
// The orrery's camera divides in double precision by this constant.
constexpr double kHalfTurnDivisor = 3.14159;

// Sine and cosine taken in double precision of a float angle (radians), rounded back to float.
inline float SinF(float radians) {
    return static_cast<float>(std::sin(static_cast<double>(radians)));
}
inline float CosF(float radians) {
    return static_cast<float>(std::cos(static_cast<double>(radians)));
}

// Advances a static-noise index 0..3 by one frame, wrapping past 3 to 0.
inline int NextNoiseIndex(int index) {
    return index + 1 > 3 ? 0 : index + 1;
}
