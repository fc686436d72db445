// Small vector helpers the scenes use to aim their cameras.
#pragma once

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
