// MixVoices: adds voices 0..63 into the float mix, chunk by chunk between loop boundaries and ramp
// ends, so that the per-frame loops test nothing; ConvertToPcm16 turns a mix into clipped PCM.
#include "music/mixer.h"

#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "music/mix_kernels.h"
#include "music/player.h"
#include "music/song.h"

namespace {

constexpr uint64_t kOne = 1ull << 32;  // 1.0 in 32.32 fixed point

// Length of a volume ramp in output frames and its reciprocal, as the player's device set them.
struct Ramp {
    int32_t length;
    float lengthReciprocal;
};

uint64_t Position(const Voice& voice) {
    return (static_cast<uint64_t>(voice.position) << 32) | voice.positionFraction;
}

void StorePosition(Voice& voice, uint64_t position) {
    voice.position = static_cast<uint32_t>(position >> 32);
    voice.positionFraction = static_cast<uint32_t>(position);
}

// Frames until the position passes the loop boundary in the direction of travel: the first frame
// count after which a forward voice is at or past the loop end, or a backward voice at or before
// the loop start. Exact in 64 bits, so that a chunk never stops short of the boundary (which
// would stall) nor runs past the readable data, whatever the step.
// Only whether the boundary falls within `limit` frames matters to the caller, so a boundary
// farther away (the usual case) is recognised by one multiplication instead of a division, and
// reported as UINT64_MAX.
uint64_t FramesToBoundary(bool backward, uint64_t position, uint64_t step, uint64_t loopStart,
                          uint64_t loopEnd, uint64_t limit) {
    uint64_t distance;
    if (backward) {
        if (position <= (loopStart << 32)) {
            return 0;
        }
        distance = position - (loopStart << 32);
    } else {
        if (position >= (loopEnd << 32)) {
            return 0;
        }
        distance = (loopEnd << 32) - position;
    }
    uint64_t reach;
    if (!__builtin_mul_overflow(step, limit, &reach) && reach < distance) {
        return UINT64_MAX;
    }
    return distance / step + (distance % step != 0 ? 1 : 0);
}

// Ping-pong: mirrors the position about the boundary it passed, then about whichever boundary it
// still lies beyond, until it is inside [loopStart, loopEnd). Two mirrors are a shift by twice
// the loop length, so far-off positions are first brought near in one step.
void Reflect(Voice& voice, int64_t loopStart, int64_t loopEnd) {
    const int64_t start = loopStart * static_cast<int64_t>(kOne);
    const int64_t end = loopEnd * static_cast<int64_t>(kOne);
    const int64_t period = 2 * (end - start);
    int64_t x = static_cast<int64_t>(Position(voice));
    if (voice.direction == 2) {
        x = 2 * start - 1 - x;
        voice.direction = 1;
    } else {
        x = 2 * end - 1 - x;
        voice.direction = 2;
    }
    if (x >= end + period) {
        x -= (x - end) / period * period;
    } else if (x < start - period) {
        x += (start - x) / period * period;
    }
    for (;;) {
        if (x >= end) {
            x = 2 * end - 1 - x;
            voice.direction = 2;
        } else if (x < start) {
            x = 2 * start - 1 - x;
            voice.direction = 1;
        } else {
            break;
        }
    }
    StorePosition(voice, static_cast<uint64_t>(x));
}

// Sets up or continues the volume ramp for the next chunk (see Voice); true when one runs.
bool PrepareRamp(Voice& voice, const Ramp& ramp) {
    if (voice.rampRemaining != 0 && voice.leftLevel == voice.rampLeftTarget &&
        voice.rightLevel == voice.rampRightTarget) {
        return true;
    }
    voice.rampLeftTarget = voice.leftLevel;
    voice.rampRightTarget = voice.rightLevel;
    const int32_t currentLeft = voice.rampLeft >> 8;
    const int32_t currentRight = voice.rampRight >> 8;
    bool ramping = false;
    voice.rampLeftStep = 0.0f;
    voice.rampRightStep = 0.0f;
    if (voice.leftLevel != currentLeft) {
        voice.rampLeftStep = static_cast<float>(voice.leftLevel - currentLeft) * kLevelToGain *
                             ramp.lengthReciprocal;
        ramping = true;
    }
    if (voice.rightLevel != currentRight) {
        voice.rampRightStep = static_cast<float>(voice.rightLevel - currentRight) * kLevelToGain *
                              ramp.lengthReciprocal;
        ramping = true;
    }
    voice.rampRemaining = ramping ? ramp.length : 0;
    return ramping && ramp.length > 0;
}

void MixVoice(Voice& voice, const Ramp& ramp, float* destination, int32_t count) {
    int32_t framesLeft = count;
    while (framesLeft > 0 && voice.sample != nullptr) {
        const Sample& sample = *voice.sample;
        const uint64_t loopStart = sample.loopStart;
        const uint64_t loopEnd = loopStart + sample.loopLength;
        const uint64_t step = (static_cast<uint64_t>(voice.stepInteger) << 32) | voice.stepFraction;
        uint64_t position = Position(voice);
        // Only ping-pong loops run backward; a stray direction elsewhere would never end.
        const bool backward = voice.direction == 2 && sample.loopMode == 4;

        int32_t frames = framesLeft;
        bool boundary = false;
        const uint64_t toBoundary = step == 0
                                        ? UINT64_MAX
                                        : FramesToBoundary(backward, position, step, loopStart,
                                                           loopEnd, static_cast<uint64_t>(frames));
        if (toBoundary <= static_cast<uint64_t>(frames)) {
            frames = static_cast<int32_t>(toBoundary);
            boundary = true;
        }
        const bool ramping = PrepareRamp(voice, ramp);
        if (ramping && frames > voice.rampRemaining) {
            frames = voice.rampRemaining;
            boundary = false;
        }

        if (frames > 0) {
            const uint64_t delta = backward ? 0 - step : step;
            if (ramping) {
                float leftGain = static_cast<float>(voice.rampLeft) / 256.0f / 255.0f;
                float rightGain = static_cast<float>(voice.rampRight) / 256.0f / 255.0f;
                position = MixRamp(destination, frames, sample.data, position, delta, leftGain,
                                   rightGain, voice.rampLeftStep, voice.rampRightStep);
                voice.rampLeft = static_cast<int32_t>(std::lrint(leftGain * 255.0f * 256.0f));
                voice.rampRight = static_cast<int32_t>(std::lrint(rightGain * 255.0f * 256.0f));
                voice.rampRemaining -= frames;
                if (voice.rampRemaining == 0) {
                    voice.rampLeftStep = 0.0f;
                    voice.rampRightStep = 0.0f;
                    voice.rampLeft = voice.leftLevel * 256;
                    voice.rampRight = voice.rightLevel * 256;
                }
            } else if (voice.leftLevel == 0 && voice.rightLevel == 0) {
                // A faded-out voice runs on silently: adding s × 0 would change no PCM value,
                // so only its position moves (the same 64-bit sum as frame by frame).
                position += static_cast<uint64_t>(frames) * delta;
            } else {
                position = MixConstant(destination, frames, sample.data, position, delta,
                                       static_cast<float>(voice.leftLevel) / 255.0f,
                                       static_cast<float>(voice.rightLevel) / 255.0f);
            }
            StorePosition(voice, position);
            destination += 2 * frames;
            framesLeft -= frames;
        }

        if (!boundary) {
            continue;  // a ramp ended; the rest of the call continues at its target gains
        }
        if (sample.loopMode == 2 && sample.loopLength > 0) {
            if (voice.position >= loopEnd) {
                voice.position = static_cast<uint32_t>(loopStart + (voice.position - loopStart) %
                                                                       sample.loopLength);
            }
        } else if (sample.loopMode == 4 && sample.loopLength > 0) {
            Reflect(voice, static_cast<int64_t>(loopStart), static_cast<int64_t>(loopEnd));
        } else {
            voice.sample = nullptr;
            voice.position = 0;
            voice.positionFraction = 0;
        }
    }
}

#if defined(__x86_64__)
const bool hasAvx2 = __builtin_cpu_supports("avx2");

// As the SSE2 loop below, sixteen values at a time; returns how many it converted.
__attribute__((target("avx2"))) int32_t ConvertToPcm16Avx2(int16_t* destination,
                                                           const float* source, int32_t values) {
    const __m256 low = _mm256_set1_ps(-32768.0f);
    const __m256 high = _mm256_set1_ps(32767.0f);
    int32_t i = 0;
    for (; i + 16 <= values; i += 16) {
        const __m256 a = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(source + i), low), high);
        const __m256 b = _mm256_min_ps(_mm256_max_ps(_mm256_loadu_ps(source + i + 8), low), high);
        // packs works per 128-bit lane (a0-3 b0-3 | a4-7 b4-7); the permute restores the order.
        const __m256i packed = _mm256_packs_epi32(_mm256_cvtps_epi32(a), _mm256_cvtps_epi32(b));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination + i),
                            _mm256_permute4x64_epi64(packed, 0xD8));
    }
    return i;
}
#endif

}  // namespace

void MixVoices(Player& player, float* destination, int32_t count) {
    if (count < 1 || destination == nullptr) {
        return;
    }
    const Ramp ramp{player.rampLength, player.rampLengthReciprocal};
    for (Voice& voice : player.voices) {
        if (voice.sample != nullptr) {
            MixVoice(voice, ramp, destination, count);
        }
    }
}

void ConvertToPcm16(int16_t* destination, const float* source, int32_t frames) {
    if (frames <= 0 || destination == nullptr || source == nullptr) {
        return;
    }
    const int32_t values = 2 * frames;
    int32_t i = 0;
#if defined(__x86_64__)
    if (hasAvx2) {
        i = ConvertToPcm16Avx2(destination, source, values);
    }
#endif
#if defined(__SSE2__)
    // Clamp in float, round with the default (nearest, halves to even) mode, pack.
    const __m128 low = _mm_set1_ps(-32768.0f);
    const __m128 high = _mm_set1_ps(32767.0f);
    for (; i + 8 <= values; i += 8) {
        const __m128 a = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i), low), high);
        const __m128 b = _mm_min_ps(_mm_max_ps(_mm_loadu_ps(source + i + 4), low), high);
        const __m128i packed = _mm_packs_epi32(_mm_cvtps_epi32(a), _mm_cvtps_epi32(b));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(destination + i), packed);
    }
#endif
    for (; i < values; ++i) {
        float value = source[i];
        value = value < -32768.0f ? -32768.0f : value;
        value = value > 32767.0f ? 32767.0f : value;
        // Nearest integer with halves to the even neighbour (the default rounding mode).
        destination[i] = static_cast<int16_t>(std::lrint(value));
    }
}
