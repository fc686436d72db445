// The hidden-mode song: a chiptune loop in E minor / G major for the paddle game, speed 3 at
// 125 BPM (a row is 60 ms, eight rows a beat, a pattern two bars), four channels.
#include <array>

#include "pattern_tools.h"
#include "songs.h"
#include "voices.h"

namespace {

enum Channel : int { kChDrums = 0, kChBass, kChLead, kChArp, kChannels };

enum Instrument : int {
    kInsKick = 1,
    kInsSnare,
    kInsHat,
    kInsBass,
    kInsLead,
    kInsArp,
    kInsBell,
    kInsZap,
    kInsCrash,
    kInsFirstSilent,  // 10..13 hold one sample of length 0: text lines only
};

constexpr int kC4 = 60;

struct Chord {
    int bass;     // root, octave 2
    int arpRoot;  // root near middle C
    uint8_t arp;  // arpeggio effect parameter
};

constexpr Chord kEm{40, 64, 0x37};
constexpr Chord kC{36, 60, 0x47};
constexpr Chord kG{43, 67, 0x47};
constexpr Chord kD{38, 62, 0x47};
constexpr Chord kAm{45, 69, 0x37};
constexpr Chord kB{47, 71, 0x47};

struct MelodyNote {
    int row;
    int note;
    int length;
};

// ---- instruments -------------------------------------------------------------------------

XmInstrument Single(const char* name, XmSample sample) {
    XmInstrument instrument;
    instrument.name = name;
    sample.name = name;
    instrument.samples.push_back(std::move(sample));
    return instrument;
}

std::vector<XmInstrument> Instruments() {
    Prng prng;
    prng.state = 0xC0FFEE11u;
    std::vector<XmInstrument> set;
    set.push_back(Single("kick", SynthKick(prng, 200.0f, 49.0f, 0.25f)));
    set.push_back(Single("snare", SynthSnare(prng, 220.0f, 0.18f)));
    set.push_back(Single("hat", SynthHat(prng, 0.02f, 0.06f)));

    XmInstrument bass = Single("bass", SynthBass());
    bass.volumeEnvelope = Envelope({{0, 64}, {4, 48}, {16, 38}}, 2);
    bass.fadeout = 4096;
    set.push_back(bass);

    XmInstrument lead = Single("lead", SynthLead());
    lead.volumeEnvelope = Envelope({{0, 64}, {3, 54}, {14, 44}}, 2);
    lead.fadeout = 2000;
    lead.vibratoType = 0;
    lead.vibratoSweep = 24;
    lead.vibratoDepth = 6;
    lead.vibratoRate = 28;
    set.push_back(lead);

    // Chip arpeggio with a looping envelope that pulses it in time with the rows.
    XmInstrument arp = Single("arp", SynthPulse(0.125f, 10));
    arp.volumeEnvelope = Envelope({{0, 64}, {2, 40}, {5, 24}, {6, 48}, {11, 20}}, -1, 2, 4);
    arp.panningEnvelope = Envelope({{0, 32}, {48, 44}, {144, 20}, {192, 32}}, -1, 0, 3);
    arp.fadeout = 3000;
    set.push_back(arp);

    XmInstrument bell = Single("bell", SynthBell());
    bell.volumeEnvelope = Envelope({{0, 64}, {10, 36}, {50, 16}, {140, 0}});
    set.push_back(bell);

    set.push_back(Single("zap", SynthTom(320.0f, 120.0f)));
    set.push_back(Single("crash", SynthHat(prng, 0.12f, 0.4f)));

    for (const char* line : {"paddle loop", "by compose_songs", "E minor, speed 3", "have fun"}) {
        XmSample silent;
        silent.name = "(empty)";
        set.push_back(Single(line, silent));
    }
    return set;
}

// ---- writers -----------------------------------------------------------------------------

void Beat(XmPattern& p, bool busy, bool fill) {
    for (int row = 0; row < 64; row += 2) {
        int step = row % 32;
        if (step == 0 || step == 16 || (step == 22 && busy) || (step == 10 && row >= 32)) {
            PutNote(p, row, kChDrums, kC4, kInsKick, 64);
        } else if (step == 8 || step == 24) {
            PutNote(p, row, kChDrums, kC4, kInsSnare, 56);
        } else if (step % 4 == 0 || busy) {
            PutNote(p, row, kChDrums, kC4, kInsHat, step % 4 == 0 ? 36 : 22);
        }
    }
    if (fill) {
        for (int row = 48; row < 64; row += 2) {
            PutNote(p, row, kChDrums, row < 56 ? kC4 : kC4 + (row - 56), kInsSnare, 30 + row - 48);
        }
        PutEffect(p, 60, kChDrums, kFxRetrig, 0x01);  // thirty-second roll into the next loop
        PutEffect(p, 62, kChDrums, kFxRetrig, 0x01);
    }
}

void Bass(XmPattern& p, Chord first, Chord second, bool octaves) {
    const std::array<Chord, 2> chords{first, second};
    for (int row = 0; row < 64; row += 4) {
        const Chord& chord = chords[size_t(row / 32)];
        int step = row % 32;
        int note = chord.bass + ((octaves && step % 8 == 4) ? 12 : 0);
        PutNote(p, row, kChBass, note, kInsBass, step == 0 ? 50 : 42);
        if (step % 8 == 4) {
            PutEffect(p, row, kChBass, kFxExtended, kExNoteCut | 2);  // clipped off-beat
        }
    }
    // A slide down into the second chord's root.
    PutEffect(p, 28, kChBass, kFxPortaDown, 0x08);
}

void Arp(XmPattern& p, Chord first, Chord second, int volume) {
    const std::array<Chord, 2> chords{first, second};
    for (int row = 0; row < 64; row += 8) {
        const Chord& chord = chords[size_t(row / 32)];
        PutNote(p, row, kChArp, chord.arpRoot + 12, kInsArp, volume);
        PutEffect(p, row, kChArp, kFxArpeggio, chord.arp);
        for (int r = row + 1; r < row + 8; ++r) {
            PutEffect(p, r, kChArp, kFxArpeggio, chord.arp);
        }
    }
}

void Tune(XmPattern& p, int channel, int instrument, int volume,
          const std::vector<MelodyNote>& notes) {
    for (size_t i = 0; i < notes.size(); ++i) {
        const MelodyNote& n = notes[i];
        PutNote(p, n.row, channel, n.note, instrument, volume);
        if (n.length >= 8) {
            for (int r = n.row + 4; r < n.row + n.length && r < 64; ++r) {
                bool fading = n.length >= 12 && r >= n.row + 8;
                PutEffect(p, r, channel, fading ? kFxVibratoSlide : kFxVibrato,
                          fading ? 0x01 : (r == n.row + 4 ? 0x82 : 0x00));
            }
        }
        bool joined = i + 1 < notes.size() && notes[i + 1].row == n.row + n.length;
        if (!joined && n.row + n.length < 64) {
            PutNote(p, n.row + n.length, channel, kKeyOff, 0);
        }
    }
}

const std::vector<MelodyNote> kTuneA{{0, 71, 4},  {4, 76, 4},  {8, 79, 6},  {14, 78, 2},
                                     {16, 76, 4}, {20, 74, 4}, {24, 76, 8}, {32, 79, 4},
                                     {36, 76, 4}, {40, 72, 6}, {46, 74, 2}, {48, 76, 4},
                                     {52, 79, 4}, {56, 81, 4}, {60, 79, 4}};
const std::vector<MelodyNote> kTuneAnswer{
    {0, 83, 6},  {6, 81, 2},  {8, 79, 4},  {12, 74, 4}, {16, 79, 4}, {20, 81, 4}, {24, 83, 8},
    {32, 81, 6}, {38, 79, 2}, {40, 78, 4}, {44, 74, 4}, {48, 81, 4}, {52, 78, 4}, {56, 74, 8}};
const std::vector<MelodyNote> kTuneHome{{0, 83, 4},  {4, 86, 4},  {8, 83, 4},  {12, 79, 4},
                                        {16, 81, 4}, {20, 83, 4}, {24, 79, 8}, {32, 78, 6},
                                        {38, 76, 2}, {40, 74, 4}, {44, 78, 4}, {48, 74, 16}};
const std::vector<MelodyNote> kTuneB{{0, 79, 2},  {2, 79, 2},  {4, 81, 4},  {8, 79, 4},
                                     {12, 76, 4}, {16, 79, 8}, {24, 76, 4}, {28, 74, 4},
                                     {32, 78, 2}, {34, 78, 2}, {36, 79, 4}, {40, 81, 4},
                                     {44, 74, 4}, {48, 81, 8}, {56, 83, 4}, {60, 81, 4}};
const std::vector<MelodyNote> kTuneTurn{
    {0, 84, 6},  {6, 83, 2},  {8, 81, 4},  {12, 76, 4}, {16, 81, 8}, {24, 84, 4}, {28, 83, 4},
    {32, 83, 8}, {40, 81, 4}, {44, 78, 4}, {48, 75, 8}, {56, 78, 4}, {60, 83, 4}};

// ---- patterns ----------------------------------------------------------------------------

XmPattern Intro(Chord first, Chord second, bool withArp) {
    XmPattern p = NewPattern(kChannels);
    Beat(p, false, !withArp);
    Bass(p, first, second, false);
    if (withArp) {
        Arp(p, first, second, 28);
    } else {
        PutNote(p, 0, kChArp, 76, kInsBell, 30);
        PutNote(p, 32, kChArp, 72, kInsBell, 26);
    }
    if (!withArp) {
        PutNote(p, 0, kChLead, 40, kInsZap, 30);
        PutEffect(p, 0, kChLead, kFxPortaUp, 0x20);
    }
    return p;
}

XmPattern Verse(Chord first, Chord second, const std::vector<MelodyNote>& tune, bool busy) {
    XmPattern p = NewPattern(kChannels);
    Beat(p, busy, false);
    Bass(p, first, second, true);
    Arp(p, first, second, 30);
    Tune(p, kChLead, kInsLead, 48, tune);
    return p;
}

XmPattern Break() {
    XmPattern p = NewPattern(kChannels);
    Beat(p, true, true);
    PutNote(p, 0, kChDrums, kC4, kInsCrash, 36);
    Bass(p, kEm, kC, true);
    Arp(p, kEm, kC, 36);
    for (int row = 0; row < 64; row += 16) {
        PutEffect(p, row + 8, kChArp, kFxPanningSlide, row % 32 == 0 ? 0x40 : 0x04);
    }
    PutNote(p, 0, kChLead, 88, kInsBell, 26);
    PutNote(p, 12, kChLead, 83, kInsBell, 22);
    PutNote(p, 24, kChLead, 79, kInsBell, 20);
    PutNote(p, 32, kChLead, 84, kInsBell, 26);
    PutNote(p, 44, kChLead, 79, kInsBell, 22);
    PutNote(p, 56, kChLead, 76, kInsBell, 20);
    return p;
}

}  // namespace

XmModule ComposeHiddenSong() {
    XmModule song;
    song.name = "paddle";
    song.channelCount = kChannels;
    song.defaultTempo = 3;
    song.defaultBpm = 125;
    song.linearFrequencies = true;
    song.restartPosition = 2;
    song.patterns = {Intro(kEm, kC, false),
                     Intro(kG, kD, true),
                     Verse(kEm, kC, kTuneA, false),
                     Verse(kG, kD, kTuneAnswer, false),
                     Verse(kC, kD, kTuneB, true),
                     Verse(kAm, kB, kTuneTurn, true),
                     Break(),
                     Verse(kG, kD, kTuneHome, false)};
    song.orders = {0, 1, 2, 3, 2, 7, 4, 5, 4, 5, 6, 1, 2, 3, 2, 7, 4, 5, 6};
    song.instruments = Instruments();
    return song;
}
