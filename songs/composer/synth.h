// Sample synthesis building blocks: a seeded noise source, oscillators, filters and conversion of
// float signals (about -1..1) to 8- or 16-bit XM samples.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "xm_module.h"

using Signal = std::vector<float>;

// 32-bit xorshift generator; the composer's only source of randomness, so output is reproducible.
struct Prng {
    uint32_t state = 0x9E3779B9u;
};

uint32_t PrngNext(Prng& prng);
float PrngNoise(Prng& prng);  // uniform in -1..1

// Sum of sines: frame t gets the sum over h = 1..harmonics of amplitude(h, t) * sin(2 pi h t /
// period). Once the amplitudes stop changing, the signal repeats every `period` frames.
Signal Additive(int length, double period, int harmonics,
                const std::function<float(int harmonic, int frame)>& amplitude);

// Band-limited sawtooth value at phase (cycles) with the given number of harmonics.
float SawBandLimited(double phase, int harmonics);

void LowPass(Signal& signal, float coefficient);   // one pole, coefficient 0..1 (1 = open)
void HighPass(Signal& signal, float coefficient);  // one pole, coefficient 0..1
void Normalize(Signal& signal, float peak);        // scales so that max |x| = peak
void FadeOut(Signal& signal, int frames);          // linear fade over the last frames
void Mix(Signal& into, const Signal& add, float gain);

// Quantises a signal (|x| <= 1) to sample values; the loop fields are set by the caller.
XmSample MakeSample(const char* name, const Signal& signal, bool sixteenBit);
void SetLoop(XmSample& sample, XmLoop loop, uint32_t start, uint32_t length);

// Relative note that makes a sample whose C repeats every `period` frames play C-4 as middle C:
// 0 for 32 frames, 12 for 64, 24 for 128, 36 for 256.
int8_t RelativeNoteForPeriod(int period);
