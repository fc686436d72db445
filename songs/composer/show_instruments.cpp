// The show song's instrument set: synthesised samples with their envelopes, fadeouts and
// auto-vibrato settings.
#include "show_instruments.h"

#include "pattern_tools.h"
#include "voices.h"

namespace {

XmInstrument Single(const char* name, XmSample sample) {
    XmInstrument instrument;
    instrument.name = name;
    sample.name = name;
    instrument.samples.push_back(std::move(sample));
    return instrument;
}

XmInstrument Empty(const char* name) {
    XmInstrument instrument;
    instrument.name = name;
    return instrument;
}

}  // namespace

std::vector<XmInstrument> ShowInstruments() {
    Prng prng;
    prng.state = 0x5EED1234u;
    std::vector<XmInstrument> set;
    set.push_back(Single("kick", SynthKick(prng, 170.0f, 55.0f, 0.32f)));
    set.push_back(Single("snare", SynthSnare(prng, 190.0f, 0.24f)));
    set.push_back(Single("closed hat", SynthHat(prng, 0.016f, 0.07f)));
    set.push_back(Single("open hat", SynthHat(prng, 0.1f, 0.3f)));
    set.push_back(Single("clap", SynthClap(prng)));
    set.push_back(Single("crash", SynthCrash(prng)));
    set.push_back(Single("tom", SynthTom(190.0f, 95.0f)));
    set.push_back(Single("noise sweep", SynthNoiseLoop(prng)));

    XmInstrument bass = Single("bass", SynthBass());
    bass.volumeEnvelope = Envelope({{0, 64}, {6, 50}, {24, 42}}, 2);
    bass.fadeout = 2048;
    set.push_back(bass);

    XmInstrument sub = Single("sub bass", SynthSubBass());
    sub.volumeEnvelope = Envelope({{0, 64}, {12, 56}}, 1);
    sub.fadeout = 768;
    set.push_back(sub);

    // Slow swell that holds while the key is down, then a long fadeout; the panning drifts in a
    // slow loop so stacked pad voices do not sit on one spot.
    XmInstrument pad = Single("pad", SynthPad());
    pad.volumeEnvelope = Envelope({{0, 0}, {20, 40}, {44, 58}, {90, 52}}, 3);
    pad.panningEnvelope = Envelope({{0, 32}, {80, 38}, {240, 26}, {320, 32}}, -1, 0, 3);
    pad.fadeout = 360;
    set.push_back(pad);

    set.push_back(Single("pluck", SynthPluck()));

    XmInstrument lead = Single("lead", SynthLead());
    lead.volumeEnvelope = Envelope({{0, 64}, {4, 56}, {18, 46}}, 2);
    lead.fadeout = 1400;
    lead.vibratoType = 0;
    lead.vibratoSweep = 40;
    lead.vibratoDepth = 5;
    lead.vibratoRate = 22;
    set.push_back(lead);

    // Short blips that wander across the stereo field on a looping panning envelope.
    XmInstrument arp = Single("arp", SynthPulse(0.25f, 12));
    arp.volumeEnvelope = Envelope({{0, 64}, {3, 46}, {10, 26}, {26, 10}, {60, 0}});
    arp.panningEnvelope = Envelope({{0, 32}, {24, 46}, {72, 18}, {96, 32}}, -1, 0, 3);
    set.push_back(arp);

    XmInstrument bell = Single("bell", SynthBell());
    bell.volumeEnvelope = Envelope({{0, 64}, {12, 42}, {60, 22}, {200, 0}});
    set.push_back(bell);

    XmInstrument choir = Single("choir", SynthChoir());
    choir.volumeEnvelope = Envelope({{0, 0}, {36, 46}, {80, 60}}, 2);
    choir.fadeout = 300;
    choir.vibratoType = 0;
    choir.vibratoSweep = 90;
    choir.vibratoDepth = 4;
    choir.vibratoRate = 14;
    set.push_back(choir);

    set.push_back(Single("stab", SynthStab()));

    for (const char* line :
         {"----------------------", "  the show song", "  A minor, speed 4", "  all sounds made by",
          "  compose_songs from", "  noise, sines and", "  additive waves", "  no samples sampled",
          "----------------------"}) {
        set.push_back(Empty(line));
    }
    return set;
}
