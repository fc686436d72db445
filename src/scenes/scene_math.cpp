// Vector length and normalisation for the scenes' camera directions.
#include "scenes/scene_math.h"

#include <cmath>

float Vec3Length(const Vec3& v) {
    const double x = v.x;
    const double y = v.y;
    const double z = v.z;
    const double sum = x * x + y * y + z * z;
    return static_cast<float>(std::sqrt(sum));
}

void Vec3Normalize(Vec3& v) {
    const float length = Vec3Length(v);
    if (length == 0.0f) {
        return;  // Left unchanged: dividing would give NaNs that must not reach OpenGL.
    }
    v.x = v.x / length;
    v.y = v.y / length;
    v.z = v.z / length;
}
