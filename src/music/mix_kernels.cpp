// The mixer's inner loops: linear interpolation between data[i] and data[i + 1] at a 32.32
// position, added to a stereo float buffer.
#include "music/mix_kernels.h"

namespace {

inline float Interpolate(const int16_t* data, uint64_t position) {
    const uint32_t index = static_cast<uint32_t>(position >> 32);
    const float s0 = static_cast<float>(data[index]);
    const float s1 = static_cast<float>(data[index + 1]);
    const float t =
        static_cast<float>(static_cast<uint32_t>(position) >> 1) * kHalfFractionToWeight;
    return s0 + t * (s1 - s0);
}

}  // namespace

uint64_t MixConstant(float* destination, int32_t n, const int16_t* data, uint64_t position,
                     uint64_t delta, float leftGain, float rightGain) {
    int32_t i = 0;
    for (; i + 1 < n; i += 2) {
        const float a = Interpolate(data, position);
        const float b = Interpolate(data, position + delta);
        position += 2 * delta;
        destination[0] += a * leftGain;
        destination[1] += a * rightGain;
        destination[2] += b * leftGain;
        destination[3] += b * rightGain;
        destination += 4;
    }
    if (i < n) {
        const float a = Interpolate(data, position);
        position += delta;
        destination[0] += a * leftGain;
        destination[1] += a * rightGain;
    }
    return position;
}

uint64_t MixRamp(float* destination, int32_t n, const int16_t* data, uint64_t position,
                 uint64_t delta, float& leftGain, float& rightGain, float leftStep,
                 float rightStep) {
    float left = leftGain;
    float right = rightGain;
    for (int32_t i = 0; i < n; ++i) {
        const float s = Interpolate(data, position);
        position += delta;
        destination[0] += s * left;
        destination[1] += s * right;
        destination += 2;
        left += leftStep;
        right += rightStep;
    }
    leftGain = left;
    rightGain = right;
    return position;
}
