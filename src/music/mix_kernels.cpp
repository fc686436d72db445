// The mixer's inner loops: linear interpolation between data[i] and data[i + 1] at a 32.32
// position, added to a stereo float buffer.
#include "music/mix_kernels.h"

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
// Eight frames at a time: the eight 32.32 positions are built from the block's start and the
// offsets k × delta with an explicit carry, one gather loads each pair data[i], data[i + 1] as a
// 32-bit word, and the arithmetic is the scalar loop's, value for value (no fused multiply-add),
// so both paths give identical floats.
constexpr uint64_t kTwoSteps = 2ull << 32;  // two sample values per frame, forward

struct Lanes {
    __m256i low;   // (k × delta) low words, k = 0..7
    __m256i high;  // (k × delta) high words
};

__attribute__((target("avx2"), always_inline)) inline Lanes MakeLanes(uint64_t delta) {
    alignas(32) uint32_t offsetLow[8];
    alignas(32) uint32_t offsetHigh[8];
    for (uint32_t i = 0; i < 8; ++i) {
        const uint64_t offset = i * delta;
        offsetLow[i] = static_cast<uint32_t>(offset);
        offsetHigh[i] = static_cast<uint32_t>(offset >> 32);
    }
    return Lanes{_mm256_load_si256(reinterpret_cast<const __m256i*>(offsetLow)),
                 _mm256_load_si256(reinterpret_cast<const __m256i*>(offsetHigh))};
}

// The interpolated values of the eight frames from `position`, as Interpolate gives them.
// Eight values from `values` on, widened to 32 bits.
__attribute__((target("avx2"), always_inline)) inline __m256i Load8(const int16_t* values) {
    return _mm256_cvtepi16_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values)));
}

// How Interpolate8 fetches the pairs: by gather, or, when every index lies within 8 (Narrow)
// or 16 (Wide) values of the first frame's, by loading the values there and permuting lanes.
enum class Fetch { Gather, Narrow, Wide };

// `selected` (every frame by default) picks the frames whose values are gathered; the others read
// nothing and hold no meaningful value. The window fetches read within data[first .. first + 8]
// (Narrow) or data[first .. first + 16] (Wide) whatever the selection.
template <Fetch kFetch>
__attribute__((target("avx2"), always_inline)) inline __m256 Interpolate8(
    const int16_t* data, uint64_t position, const Lanes& lanes,
    __m256i selected = _mm256_set1_epi32(-1)) {
    const __m256i signBit = _mm256_set1_epi32(static_cast<int32_t>(0x80000000u));
    const __m256i baseLow = _mm256_set1_epi32(static_cast<int32_t>(position));
    const __m256i baseHigh = _mm256_set1_epi32(static_cast<int32_t>(position >> 32));
    const __m256i fraction = _mm256_add_epi32(baseLow, lanes.low);
    const __m256i carry =
        _mm256_cmpgt_epi32(_mm256_xor_si256(baseLow, signBit), _mm256_xor_si256(fraction, signBit));
    const __m256i index = _mm256_sub_epi32(_mm256_add_epi32(baseHigh, lanes.high), carry);
    __m256 s0;
    __m256 s1;
    if constexpr (kFetch != Fetch::Gather) {
        // The eight indices are first + offset. Narrow: offsets 0..7, so data[first .. first + 8]
        // hold every pair. Wide: offsets 0..15 with the last at least 8, so data[first .. first +
        // 16] hold them, and (the last index being below the sample's length) they lie inside
        // its 8-value tail. vpermd reads the low three bits of each offset.
        const int16_t* first = data + static_cast<uint32_t>(position >> 32);
        const __m256i offset = _mm256_sub_epi32(index, baseHigh);
        __m256i pick0 = _mm256_permutevar8x32_epi32(Load8(first), offset);
        __m256i pick1 = _mm256_permutevar8x32_epi32(Load8(first + 1), offset);
        if constexpr (kFetch == Fetch::Wide) {
            const __m256i upper = _mm256_cmpgt_epi32(offset, _mm256_set1_epi32(7));
            pick0 = _mm256_blendv_epi8(pick0, _mm256_permutevar8x32_epi32(Load8(first + 8), offset),
                                       upper);
            pick1 = _mm256_blendv_epi8(pick1, _mm256_permutevar8x32_epi32(Load8(first + 9), offset),
                                       upper);
        }
        s0 = _mm256_cvtepi32_ps(pick0);
        s1 = _mm256_cvtepi32_ps(pick1);
    } else {
        // Byte offset 2 × index: data[index] in the low half, data[index + 1] in the high half.
        const __m256i pair = _mm256_mask_i32gather_epi32(
            _mm256_setzero_si256(), reinterpret_cast<const int*>(data), index, selected, 2);
        s0 = _mm256_cvtepi32_ps(_mm256_srai_epi32(_mm256_slli_epi32(pair, 16), 16));
        s1 = _mm256_cvtepi32_ps(_mm256_srai_epi32(pair, 16));
    }
    const __m256 t = _mm256_mul_ps(_mm256_cvtepi32_ps(_mm256_srli_epi32(fraction, 1)),
                                   _mm256_set1_ps(kHalfFractionToWeight));
    return _mm256_add_ps(s0, _mm256_mul_ps(t, _mm256_sub_ps(s1, s0)));
}

// Forward steps of at most two values: the span of the block's indices picks the fetch.
__attribute__((target("avx2"), always_inline)) inline __m256 InterpolateNearby8(
    const int16_t* data, uint64_t position, uint64_t delta, const Lanes& lanes) {
    const uint64_t span = ((position + 7 * delta) >> 32) - (position >> 32);
    return span < 8 ? Interpolate8<Fetch::Narrow>(data, position, lanes)
                    : Interpolate8<Fetch::Wide>(data, position, lanes);
}

// Eight frames' values duplicated into (left, right) order: frames 0..3 in `first`, 4..7 in
// `second`. Multiplying these by interleaved gains gives the same floats as multiplying first and
// interleaving after, with half the shuffles.
struct FramePairs {
    __m256 first;
    __m256 second;
};

__attribute__((target("avx2"), always_inline)) inline FramePairs Spread(__m256 s) {
    return FramePairs{_mm256_permutevar8x32_ps(s, _mm256_setr_epi32(0, 0, 1, 1, 2, 2, 3, 3)),
                      _mm256_permutevar8x32_ps(s, _mm256_setr_epi32(4, 4, 5, 5, 6, 6, 7, 7))};
}

// Adds eight frames' values, each times its left and its right gain, to 16 interleaved floats:
// `gains` holds (left, right) pairs for frames 0..3, `laterGains` for frames 4..7.
__attribute__((target("avx2"), always_inline)) inline void Add8(float* destination, __m256 s,
                                                                __m256 gains, __m256 laterGains) {
    const FramePairs pairs = Spread(s);
    _mm256_storeu_ps(destination, _mm256_add_ps(_mm256_loadu_ps(destination),
                                                _mm256_mul_ps(pairs.first, gains)));
    _mm256_storeu_ps(destination + 8, _mm256_add_ps(_mm256_loadu_ps(destination + 8),
                                                    _mm256_mul_ps(pairs.second, laterGains)));
}

__attribute__((target("avx2"))) uint64_t MixConstantAvx2(float* destination, int32_t n,
                                                         const int16_t* data, uint64_t position,
                                                         uint64_t delta, float leftGain,
                                                         float rightGain) {
    const Lanes lanes = MakeLanes(delta);
    const __m256 gains = _mm256_setr_ps(leftGain, rightGain, leftGain, rightGain, leftGain,
                                        rightGain, leftGain, rightGain);
    const uint64_t advance = 8 * delta;
    int32_t done = 0;
    if (delta <= kTwoSteps) {
        for (; done + 8 <= n; done += 8) {
            const __m256 s = InterpolateNearby8(data, position, delta, lanes);
            Add8(destination, s, gains, gains);
            destination += 16;
            position += advance;
        }
    }
    for (; done + 8 <= n; done += 8) {
        const __m256 s = Interpolate8<Fetch::Gather>(data, position, lanes);
        Add8(destination, s, gains, gains);
        destination += 16;
        position += advance;
    }
    const int32_t rest = n - done;
    if (rest == 0) {
        return position;
    }
    // The last one to seven frames: the first frame's index is at most length - 1, so a Narrow
    // window stays inside the data's zero tail; otherwise only the frames that exist are
    // gathered. Loads and stores of the mix are limited to those frames' floats.
    const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
    const __m256i selected = _mm256_cmpgt_epi32(_mm256_set1_epi32(rest), lane);
    const uint64_t span = ((position + 7 * delta) >> 32) - (position >> 32);
    const __m256 s = delta <= kTwoSteps && span < 8
                         ? Interpolate8<Fetch::Narrow>(data, position, lanes)
                         : Interpolate8<Fetch::Gather>(data, position, lanes, selected);
    const __m256i values = _mm256_set1_epi32(2 * rest);
    const __m256i firstHalf = _mm256_cmpgt_epi32(values, lane);
    const __m256i secondHalf =
        _mm256_cmpgt_epi32(values, _mm256_add_epi32(lane, _mm256_set1_epi32(8)));
    const FramePairs pairs = Spread(s);
    _mm256_maskstore_ps(destination, firstHalf,
                        _mm256_add_ps(_mm256_maskload_ps(destination, firstHalf),
                                      _mm256_mul_ps(pairs.first, gains)));
    _mm256_maskstore_ps(destination + 8, secondHalf,
                        _mm256_add_ps(_mm256_maskload_ps(destination + 8, secondHalf),
                                      _mm256_mul_ps(pairs.second, gains)));
    return position + static_cast<uint64_t>(rest) * delta;
}

// The gains still advance frame by frame in single precision (g, g + step, (g + step) + step, …)
// exactly as the scalar loop adds them; only the products and sums go eight at a time.
__attribute__((target("avx2"))) uint64_t MixRampAvx2(float* destination, int32_t n,
                                                     const int16_t* data, uint64_t position,
                                                     uint64_t delta, float& leftGain,
                                                     float& rightGain, float leftStep,
                                                     float rightStep) {
    const Lanes lanes = MakeLanes(delta);
    float left = leftGain;
    float right = rightGain;
    const uint64_t advance = 8 * delta;
    int32_t done = 0;
    alignas(32) float gains[16];  // (left, right) per frame
    for (; done + 8 <= n; done += 8) {
        for (int k = 0; k < 8; ++k) {
            gains[2 * k] = left;
            gains[2 * k + 1] = right;
            left += leftStep;
            right += rightStep;
        }
        const __m256 s = delta <= kTwoSteps ? InterpolateNearby8(data, position, delta, lanes)
                                            : Interpolate8<Fetch::Gather>(data, position, lanes);
        Add8(destination, s, _mm256_load_ps(gains), _mm256_load_ps(gains + 8));
        destination += 16;
        position += advance;
    }
    for (; done < n; ++done) {
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

const bool hasAvx2 = __builtin_cpu_supports("avx2");
#endif

}  // namespace

uint64_t MixConstant(float* destination, int32_t n, const int16_t* data, uint64_t position,
                     uint64_t delta, float leftGain, float rightGain) {
#if defined(__x86_64__)
    if (hasAvx2 && n >= 1) {
        return MixConstantAvx2(destination, n, data, position, delta, leftGain, rightGain);
    }
#endif
    return MixConstantScalar(destination, n, data, position, delta, leftGain, rightGain);
}

uint64_t MixRamp(float* destination, int32_t n, const int16_t* data, uint64_t position,
                 uint64_t delta, float& leftGain, float& rightGain, float leftStep,
                 float rightStep) {
#if defined(__x86_64__)
    if (hasAvx2 && n >= 8) {
        return MixRampAvx2(destination, n, data, position, delta, leftGain, rightGain, leftStep,
                           rightStep);
    }
#endif
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
