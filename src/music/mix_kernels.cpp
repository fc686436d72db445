// The mixer's inner loops: linear interpolation between data[i] and data[i + 1] at a 32.32
// position, added to a stereo float buffer.
#include "music/mix_kernels.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

inline float Interpolate(const int16_t* data, uint64_t position) {
    const uint32_t index = static_cast<uint32_t>(position >> 32);
    const float s0 = static_cast<float>(data[index]);
    const float s1 = static_cast<float>(data[index + 1]);
    const float t =
        static_cast<float>(static_cast<uint32_t>(position) >> 1) * kHalfFractionToWeight;
    return s0 + t * (s1 - s0);
}

uint64_t MixConstantScalar(float* destination, int32_t n, const int16_t* data, uint64_t position,
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

#if defined(__x86_64__)
// Eight frames per iteration: the eight 32.32 positions are built from the block's start and the
// offsets i × delta with an explicit carry, each gather loads data[i] and data[i + 1] as one
// 32-bit word, and the arithmetic is the scalar loop's, value for value (no fused multiply-add),
// so both paths give identical floats.
__attribute__((target("avx2"))) uint64_t MixConstantAvx2(float* destination, int32_t n,
                                                         const int16_t* data, uint64_t position,
                                                         uint64_t delta, float leftGain,
                                                         float rightGain) {
    alignas(32) uint32_t offsetLow[8];
    alignas(32) uint32_t offsetHigh[8];
    for (uint32_t i = 0; i < 8; ++i) {
        const uint64_t offset = i * delta;
        offsetLow[i] = static_cast<uint32_t>(offset);
        offsetHigh[i] = static_cast<uint32_t>(offset >> 32);
    }
    const __m256i low = _mm256_load_si256(reinterpret_cast<const __m256i*>(offsetLow));
    const __m256i high = _mm256_load_si256(reinterpret_cast<const __m256i*>(offsetHigh));
    const __m256i signBit = _mm256_set1_epi32(static_cast<int32_t>(0x80000000u));
    const __m256 weight = _mm256_set1_ps(kHalfFractionToWeight);
    const __m256 left = _mm256_set1_ps(leftGain);
    const __m256 right = _mm256_set1_ps(rightGain);
    const uint64_t advance = 8 * delta;
    int32_t done = 0;
    for (; done + 8 <= n; done += 8) {
        const __m256i baseLow = _mm256_set1_epi32(static_cast<int32_t>(position));
        const __m256i baseHigh = _mm256_set1_epi32(static_cast<int32_t>(position >> 32));
        const __m256i fraction = _mm256_add_epi32(baseLow, low);
        // All ones where the low word wrapped (unsigned fraction < base), i.e. a carry of 1.
        const __m256i carry = _mm256_cmpgt_epi32(_mm256_xor_si256(baseLow, signBit),
                                                 _mm256_xor_si256(fraction, signBit));
        const __m256i index = _mm256_sub_epi32(_mm256_add_epi32(baseHigh, high), carry);
        alignas(32) int32_t at[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), index);
        int32_t word[8];
        for (int k = 0; k < 8; ++k) {
            std::memcpy(&word[k], data + at[k], sizeof(int32_t));
        }
        const __m256i pair = _mm256_setr_epi32(word[0], word[1], word[2], word[3], word[4], word[5],
                                               word[6], word[7]);
        const __m256 s0 = _mm256_cvtepi32_ps(_mm256_srai_epi32(_mm256_slli_epi32(pair, 16), 16));
        const __m256 s1 = _mm256_cvtepi32_ps(_mm256_srai_epi32(pair, 16));
        const __m256 t = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fraction, 1)), weight);
        const __m256 s = _mm256_add_ps(s0, _mm256_mul_ps(t, _mm256_sub_ps(s1, s0)));
        const __m256 l = _mm256_mul_ps(s, left);
        const __m256 r = _mm256_mul_ps(s, right);
        const __m256 lowPairs = _mm256_unpacklo_ps(l, r);   // frames 0, 1 | 4, 5
        const __m256 highPairs = _mm256_unpackhi_ps(l, r);  // frames 2, 3 | 6, 7
        const __m256 first = _mm256_permute2f128_ps(lowPairs, highPairs, 0x20);
        const __m256 second = _mm256_permute2f128_ps(lowPairs, highPairs, 0x31);
        _mm256_storeu_ps(destination, _mm256_add_ps(_mm256_loadu_ps(destination), first));
        _mm256_storeu_ps(destination + 8, _mm256_add_ps(_mm256_loadu_ps(destination + 8), second));
        destination += 16;
        position += advance;
    }
    return MixConstantScalar(destination, n - done, data, position, delta, leftGain, rightGain);
}

const bool hasAvx2 = __builtin_cpu_supports("avx2");
#endif

}  // namespace

uint64_t MixConstant(float* destination, int32_t n, const int16_t* data, uint64_t position,
                     uint64_t delta, float leftGain, float rightGain) {
#if defined(__x86_64__)
    if (hasAvx2 && n >= 8) {
        return MixConstantAvx2(destination, n, data, position, delta, leftGain, rightGain);
    }
#endif
    return MixConstantScalar(destination, n, data, position, delta, leftGain, rightGain);
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
