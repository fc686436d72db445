// Oscillators, filters and quantisation for the synthesised samples.
#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kTwoPi = 6.283185307179586;
}

uint32_t PrngNext(Prng& prng) {
    uint32_t x = prng.state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    prng.state = x;
    return x;
}

float PrngNoise(Prng& prng) {
    return float(int32_t(PrngNext(prng) >> 8) - 0x800000) / 8388608.0f;
}

Signal Additive(int length, double period, int harmonics,
                const std::function<float(int harmonic, int frame)>& amplitude) {
    Signal out(size_t(std::max(length, 0)), 0.0f);
    for (int t = 0; t < length; ++t) {
        double sum = 0.0;
        for (int h = 1; h <= harmonics; ++h) {
            float a = amplitude(h, t);
            if (a != 0.0f) {
                sum += a * std::sin(kTwoPi * h * t / period);
            }
        }
        out[size_t(t)] = float(sum);
    }
    return out;
}

float SawBandLimited(double phase, int harmonics) {
    double sum = 0.0;
    for (int h = 1; h <= harmonics; ++h) {
        sum += std::sin(kTwoPi * h * phase) / h;
    }
    return float(sum * 0.55);
}

void LowPass(Signal& signal, float coefficient) {
    float state = 0.0f;
    for (float& x : signal) {
        state += coefficient * (x - state);
        x = state;
    }
}

void HighPass(Signal& signal, float coefficient) {
    float low = 0.0f;
    for (float& x : signal) {
        low += coefficient * (x - low);
        x -= low;
    }
}

void Normalize(Signal& signal, float peak) {
    float maximum = 0.0f;
    for (float x : signal) {
        maximum = std::max(maximum, std::fabs(x));
    }
    if (maximum > 0.0f) {
        for (float& x : signal) {
            x *= peak / maximum;
        }
    }
}

void FadeOut(Signal& signal, int frames) {
    int size = int(signal.size());
    frames = std::min(frames, size);
    for (int i = 0; i < frames; ++i) {
        signal[size_t(size - frames + i)] *= float(frames - i) / float(frames);
    }
}

void Mix(Signal& into, const Signal& add, float gain) {
    if (into.size() < add.size()) {
        into.resize(add.size(), 0.0f);
    }
    for (size_t i = 0; i < add.size(); ++i) {
        into[i] += add[i] * gain;
    }
}

XmSample MakeSample(const char* name, const Signal& signal, bool sixteenBit) {
    XmSample sample;
    sample.name = name;
    sample.sixteenBit = sixteenBit;
    float scale = sixteenBit ? 32767.0f : 127.0f;
    sample.data.reserve(signal.size());
    for (float x : signal) {
        float value = std::clamp(std::nearbyint(x * scale), -scale - 1.0f, scale);
        sample.data.push_back(int16_t(value));
    }
    return sample;
}

void SetLoop(XmSample& sample, XmLoop loop, uint32_t start, uint32_t length) {
    sample.loop = loop;
    sample.loopStart = start;
    sample.loopLength = length;
}

int8_t RelativeNoteForPeriod(int period) {
    int8_t note = 0;
    for (int p = 32; p < period; p *= 2) {
        note = int8_t(note + 12);
    }
    return note;
}
