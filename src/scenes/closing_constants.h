// Single-precision angle divisors shared by the closing scenes.
#pragma once

#include "scenes/scene_math.h"

// Divisors that turn a scene clock into radians. They are deliberately not exact multiples of
// pi: the motion of the scenes depends on these exact single-precision values.
constexpr float kTurnDivisor = 6.28318f;
// The orrery's camera divides in double precision by this constant.
constexpr double kHalfTurnDivisor = 3.14159;
