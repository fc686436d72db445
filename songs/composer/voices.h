// The synthesised voices shared by both songs. Drums are pitched so that C-4 plays them at the
// rate they were made for; tonal voices are tuned so that C-4 sounds middle C.
#pragma once

#include "synth.h"

// Playback rate of C-4 for relative notes 0, 12 and 24 (Hz).
constexpr double kRateAtC4 = 8363.0;

XmSample SynthKick(Prng& prng, float startHz, float endHz, float seconds);
XmSample SynthSnare(Prng& prng, float toneHz, float seconds);
XmSample SynthHat(Prng& prng, float decaySeconds, float seconds);
XmSample SynthClap(Prng& prng);
XmSample SynthCrash(Prng& prng);
XmSample SynthTom(float startHz, float endHz);
XmSample SynthNoiseLoop(Prng& prng);

XmSample SynthBass();                            // filtered saw, bright attack, forward loop
XmSample SynthSubBass();                         // near-sine, forward loop
XmSample SynthPad();                             // 16-bit detuned saws, ping-pong loop
XmSample SynthPluck();                           // 16-bit plucked string, no loop
XmSample SynthLead();                            // pulse-width-modulated square, forward loop
XmSample SynthPulse(float duty, int harmonics);  // chip pulse, forward loop
XmSample SynthBell();                            // inharmonic partials, forward loop on the tail
XmSample SynthChoir();                           // formant voices, ping-pong loop
XmSample SynthStab();                            // power chord of saws, no loop
