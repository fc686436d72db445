// Recipes for every synthesised sample: drums from noise and swept sines, tonal voices by
// additive synthesis with loops that span whole periods.
#include "voices.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kRate12 = kRateAtC4 * 2.0;  // relative note 12
constexpr double kRate24 = kRateAtC4 * 4.0;  // relative note 24
constexpr int8_t kFinetune = 3;  // lifts the 32-frame C (261.34 Hz) onto middle C (261.63 Hz)

int Frames(double seconds, double rate) {
    return int(seconds * rate);
}

Signal Zeros(int length) {
    return Signal(static_cast<size_t>(length), 0.0f);
}

XmSample Tonal(XmSample sample, int period) {
    sample.relativeNote = RelativeNoteForPeriod(period);
    sample.finetune = kFinetune;
    return sample;
}

// Six detuned square waves: the metallic core of hats and cymbals.
float Metal(double t) {
    static const double kHz[6] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    float sum = 0.0f;
    for (double hz : kHz) {
        sum += std::sin(kTwoPi * hz * 1.7 * t) >= 0.0 ? 1.0f : -1.0f;
    }
    return sum / 6.0f;
}

}  // namespace

XmSample SynthKick(Prng& prng, float startHz, float endHz, float seconds) {
    int length = Frames(seconds, kRate12);
    Signal s = Zeros(length);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = i / kRate12;
        double hz = endHz + (startHz - endHz) * std::exp(-t / 0.04);
        phase += hz / kRate12;
        double body = std::sin(kTwoPi * phase) * std::exp(-t / (seconds * 0.4));
        double click = i < 40 ? PrngNoise(prng) * 0.4 * (1.0 - i / 40.0) : 0.0;
        s[size_t(i)] = float(std::tanh(1.6 * body) + click);
    }
    FadeOut(s, length / 8);
    Normalize(s, 0.98f);
    XmSample sample = MakeSample("kick", s, false);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthSnare(Prng& prng, float toneHz, float seconds) {
    int length = Frames(seconds, kRate12);
    Signal tone = Zeros(length), noise = Zeros(length);
    for (int i = 0; i < length; ++i) {
        double t = i / kRate12;
        double hz = toneHz * (1.0 + 0.5 * std::exp(-t / 0.01));
        tone[size_t(i)] =
            float((std::sin(kTwoPi * hz * t) + 0.5 * std::sin(kTwoPi * hz * 1.8 * t)) *
                  std::exp(-t / 0.045));
        noise[size_t(i)] = PrngNoise(prng) * float(std::exp(-t / (seconds * 0.35)));
    }
    HighPass(noise, 0.12f);
    LowPass(noise, 0.7f);
    Mix(tone, noise, 1.3f);
    for (float& x : tone) {
        x = std::tanh(1.8f * x);  // drive: a fuller body for the same peak
    }
    FadeOut(tone, length / 6);
    Normalize(tone, 0.95f);
    XmSample sample = MakeSample("snare", tone, false);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthHat(Prng& prng, float decaySeconds, float seconds) {
    int length = Frames(seconds, kRate24);
    Signal s = Zeros(length);
    for (int i = 0; i < length; ++i) {
        double t = i / kRate24;
        s[size_t(i)] =
            (0.65f * PrngNoise(prng) + 0.35f * Metal(t)) * float(std::exp(-t / decaySeconds));
    }
    HighPass(s, 0.55f);
    HighPass(s, 0.35f);
    Normalize(s, 1.0f);
    for (float& x : s) {
        x = std::tanh(2.0f * x);
    }
    FadeOut(s, length / 5);
    Normalize(s, 0.9f);
    XmSample sample = MakeSample("hat", s, false);
    sample.relativeNote = 24;
    return sample;
}

XmSample SynthClap(Prng& prng) {
    int length = Frames(0.28, kRate12);
    Signal s = Zeros(length);
    for (int i = 0; i < length; ++i) {
        double t = i / kRate12;
        double burst = 0.0;
        for (int k = 0; k < 3; ++k) {
            double start = k * 0.011;
            if (t >= start) {
                burst = std::max(burst, std::exp(-(t - start) / 0.004));
            }
        }
        double tail = t >= 0.022 ? 0.7 * std::exp(-(t - 0.022) / 0.07) : 0.0;
        s[size_t(i)] = PrngNoise(prng) * float(std::max(burst, tail));
    }
    LowPass(s, 0.45f);
    HighPass(s, 0.18f);
    FadeOut(s, length / 6);
    Normalize(s, 0.95f);
    XmSample sample = MakeSample("clap", s, false);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthCrash(Prng& prng) {
    int length = Frames(1.3, kRate12);
    Signal s = Zeros(length);
    for (int i = 0; i < length; ++i) {
        double t = i / kRate12;
        double env = std::exp(-t / 0.38) * (1.0 - std::exp(-t / 0.002));
        s[size_t(i)] = (0.7f * PrngNoise(prng) + 0.3f * Metal(t * 1.3)) * float(env);
    }
    HighPass(s, 0.3f);
    FadeOut(s, length / 3);
    Normalize(s, 0.9f);
    XmSample sample = MakeSample("crash", s, false);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthTom(float startHz, float endHz) {
    int length = Frames(0.35, kRate12);
    Signal s = Zeros(length);
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        double t = i / kRate12;
        phase += (endHz + (startHz - endHz) * std::exp(-t / 0.06)) / kRate12;
        s[size_t(i)] = float(std::sin(kTwoPi * phase) * std::exp(-t / 0.1));
    }
    FadeOut(s, length / 6);
    Normalize(s, 0.95f);
    XmSample sample = MakeSample("tom", s, false);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthNoiseLoop(Prng& prng) {
    Signal s = Zeros(4096);
    for (float& x : s) {
        x = PrngNoise(prng);
    }
    LowPass(s, 0.6f);
    Normalize(s, 0.9f);
    XmSample sample = MakeSample("noise", s, false);
    SetLoop(sample, XmLoop::forward, 0, 4096);
    sample.relativeNote = 12;
    return sample;
}

XmSample SynthBass() {
    constexpr int kPeriod = 256;
    static constexpr int kAttack = kPeriod * 8;
    constexpr int kLoop = kPeriod * 4;
    Signal s = Additive(kAttack + kLoop, kPeriod, 100, [](int h, int t) {
        double cutoff = 5.0 + 28.0 * std::exp(-std::min(t, kAttack) / 500.0);
        double rolloff = 1.0 / std::sqrt(1.0 + std::pow(h / cutoff, 4.0));
        return float((h == 1 ? 1.6 : 1.0) / h * rolloff);
    });
    Normalize(s, 0.97f);
    XmSample sample = Tonal(MakeSample("bass", s, false), kPeriod);
    SetLoop(sample, XmLoop::forward, kAttack, kLoop);
    return sample;
}

XmSample SynthSubBass() {
    constexpr int kPeriod = 256;
    Signal s = Additive(kPeriod * 2, kPeriod, 3,
                        [](int h, int) { return h == 1 ? 1.0f : (h == 2 ? 0.18f : 0.06f); });
    Normalize(s, 0.97f);
    XmSample sample = Tonal(MakeSample("sub", s, false), kPeriod);
    SetLoop(sample, XmLoop::forward, 0, kPeriod * 2);
    return sample;
}

XmSample SynthPad() {
    constexpr int kPeriod = 128;
    constexpr int kLength = kPeriod * 96;
    static const double kDetune[3] = {1.0, 1.0068, 0.9935};
    static const double kPhase[3] = {0.0, 0.37, 0.71};
    Signal s = Zeros(kLength);
    for (int voice = 0; voice < 3; ++voice) {
        for (int h = 1; h <= 40; ++h) {
            double amplitude = 1.0 / h / (1.0 + (h / 7.0) * (h / 7.0));
            double cycles = kDetune[voice] * h / kPeriod;
            for (int t = 0; t < kLength; ++t) {
                s[size_t(t)] +=
                    float(amplitude * std::sin(kTwoPi * (cycles * t + kPhase[voice] * h)));
            }
        }
    }
    Normalize(s, 0.95f);
    XmSample sample = Tonal(MakeSample("pad", s, true), kPeriod);
    SetLoop(sample, XmLoop::pingPong, 0, kLength);
    return sample;
}

XmSample SynthPluck() {
    constexpr int kPeriod = 128;
    constexpr int kLength = 14000;
    Signal s = Additive(kLength, kPeriod, 40, [](int h, int t) {
        double decay = std::exp(-t * (0.00011 + 0.000025 * h * h));
        return float(decay / std::pow(h, 1.1) * (h % 2 == 0 ? 0.7 : 1.0));
    });
    FadeOut(s, 3000);
    Normalize(s, 0.95f);
    return Tonal(MakeSample("pluck", s, true), kPeriod);
}

XmSample SynthLead() {
    constexpr int kPeriod = 64;
    constexpr int kLength = kPeriod * 64;
    Signal s = Zeros(kLength);
    for (int t = 0; t < kLength; ++t) {
        double phase = double(t) / kPeriod;
        double width = 0.5 + 0.32 * std::sin(kTwoPi * t / kLength);
        s[size_t(t)] = SawBandLimited(phase, 24) - SawBandLimited(phase - width, 24) +
                       0.3f * SawBandLimited(phase * 2.0, 12);
    }
    Normalize(s, 0.95f);
    XmSample sample = Tonal(MakeSample("lead", s, false), kPeriod);
    SetLoop(sample, XmLoop::forward, 0, kLength);
    return sample;
}

XmSample SynthPulse(float duty, int harmonics) {
    constexpr int kPeriod = 32;
    constexpr int kLength = kPeriod * 8;
    Signal s = Zeros(kLength);
    for (int t = 0; t < kLength; ++t) {
        double phase = double(t) / kPeriod;
        s[size_t(t)] = SawBandLimited(phase, harmonics) - SawBandLimited(phase - duty, harmonics);
    }
    Normalize(s, 0.9f);
    XmSample sample = Tonal(MakeSample("pulse", s, false), kPeriod);
    SetLoop(sample, XmLoop::forward, 0, kLength);
    return sample;
}

XmSample SynthBell() {
    constexpr int kPeriod = 64;
    constexpr int kLoop = kPeriod * 32;  // partials below have whole cycles in this span
    constexpr int kAttack = kLoop * 5;
    static const int kCycles[5] = {32, 64, 88, 130, 173};  // ratios 1, 2, 2.75, 4.06, 5.4
    static const double kLevel[5] = {1.0, 0.55, 0.45, 0.25, 0.18};
    static const double kDecay[5] = {9000.0, 4000.0, 2500.0, 1200.0, 700.0};
    Signal s = Zeros(kAttack + kLoop);
    for (int k = 0; k < 5; ++k) {
        for (int t = 0; t < kAttack + kLoop; ++t) {
            double env = std::exp(-std::min(t, kAttack) / kDecay[k]);
            s[size_t(t)] += float(kLevel[k] * env * std::sin(kTwoPi * kCycles[k] * t / kLoop));
        }
    }
    Normalize(s, 0.95f);
    XmSample sample = Tonal(MakeSample("bell", s, false), kPeriod);
    SetLoop(sample, XmLoop::forward, kAttack, kLoop);
    return sample;
}

XmSample SynthChoir() {
    constexpr int kPeriod = 128;
    constexpr int kLength = kPeriod * 48;
    static const double kFormantHz[3] = {730.0, 1090.0, 2440.0};
    static const double kFormantLevel[3] = {1.0, 0.5, 0.2};
    static const double kDetune[3] = {1.0, 1.005, 0.994};
    const double baseHz = 261.63;
    Signal s = Zeros(kLength);
    for (int voice = 0; voice < 3; ++voice) {
        for (int h = 1; h <= 40; ++h) {
            double hz = h * baseHz;
            double level = 0.0;
            for (int f = 0; f < 3; ++f) {
                double d = (hz - kFormantHz[f]) / (120.0 + 0.1 * kFormantHz[f]);
                level += kFormantLevel[f] * std::exp(-d * d);
            }
            level = level / std::sqrt(double(h)) + 0.3 / h;
            for (int t = 0; t < kLength; ++t) {
                s[size_t(t)] += float(
                    level * std::sin(kTwoPi * kDetune[voice] * h * t / kPeriod + voice * 1.9 * h));
            }
        }
    }
    Normalize(s, 0.95f);
    XmSample sample = Tonal(MakeSample("choir", s, false), kPeriod);
    SetLoop(sample, XmLoop::pingPong, kPeriod * 2, kLength - kPeriod * 2);
    return sample;
}

XmSample SynthStab() {
    constexpr int kPeriod = 64;
    int length = Frames(0.4, kRate12);
    static const double kRatio[3] = {1.0, 1.498307, 2.0};  // root, fifth, octave: fits any chord
    Signal s = Zeros(length);
    for (int i = 0; i < length; ++i) {
        double t = double(i) / kPeriod;
        float sum = 0.0f;
        for (double ratio : kRatio) {
            sum += SawBandLimited(t * ratio, 18);
        }
        s[size_t(i)] = sum * float(std::exp(-i / 2500.0));
    }
    LowPass(s, 0.5f);
    FadeOut(s, length / 4);
    Normalize(s, 0.95f);
    return Tonal(MakeSample("stab", s, false), kPeriod);
}
