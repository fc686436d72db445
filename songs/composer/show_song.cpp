// The show song: A minor, speed 4 at 125 BPM (a row is 80 ms, 16 rows make a bar, a pattern four
// bars). Intro that builds for 25 s, a drum-and-bass main part, a breakdown, a return and a
// closing section, laid out against the scene timings of the show.
#include <array>

#include "pattern_tools.h"
#include "show_instruments.h"
#include "songs.h"

namespace {

enum Channel : int {
    kChKick = 0,
    kChSnare,
    kChHat,
    kChPerc,
    kChBass,
    kChLayer,
    kChPad1,
    kChPad2,
    kChPad3,
    kChArp,
    kChLead,
    kChEcho,
    kChannels,
};

constexpr int kC4 = 60;  // MIDI middle C; drums are tuned to play at their own rate there

struct Chord {
    int bass;                // root, octave 2
    std::array<int, 3> pad;  // close voicing around middle C
    int arpRoot;             // root for the arpeggio channel
    uint8_t arp;             // arpeggio effect parameter: semitones of third and fifth
};

constexpr Chord kAm{45, {57, 60, 64}, 69, 0x37};
constexpr Chord kF{41, {57, 60, 65}, 65, 0x47};
constexpr Chord kC{48, {55, 60, 64}, 72, 0x47};
constexpr Chord kG{43, {55, 59, 62}, 67, 0x47};
constexpr Chord kDm{38, {57, 62, 65}, 74, 0x37};
constexpr Chord kE{40, {56, 59, 64}, 64, 0x47};
constexpr Chord kEm{40, {55, 59, 64}, 64, 0x37};

using Progression = std::array<Chord, 4>;
constexpr Progression kVerse{kAm, kF, kC, kG};
constexpr Progression kLift{kDm, kAm, kF, kE};
constexpr Progression kDrift{kF, kG, kEm, kAm};
constexpr Progression kHome{kF, kG, kAm, kAm};
constexpr Progression kCoda{kDm, kF, kG, kAm};

struct MelodyNote {
    int row;
    int note;
    int length;  // rows until the key is released
};

int Row(int bar, int step) {
    return bar * 16 + step;
}

// ---- drums -------------------------------------------------------------------------------

void Hats(XmPattern& p, int bar, bool sixteenths, int volume) {
    for (int step = 0; step < 16; step += sixteenths ? 1 : 2) {
        bool onBeat = step % 4 == 0;
        int v = step % 2 == 1 ? volume / 2 : (onBeat ? volume * 3 / 4 : volume);
        PutNote(p, Row(bar, step), kChHat, kC4, kInsHat, v);
        PutEffect(p, Row(bar, step), kChHat, kFxPanning, step % 4 == 2 ? 0x98 : 0x70);
    }
}

// Kick on the one and the and-of-three, snare on two and four: the two-step.
void TwoStep(XmPattern& p, int bar, bool busy) {
    PutNote(p, Row(bar, 0), kChKick, kC4, kInsKick, 64);
    PutNote(p, Row(bar, 10), kChKick, kC4, kInsKick, 60);
    if (busy && bar % 2 == 1) {
        PutNote(p, Row(bar, 7), kChKick, kC4, kInsKick, 40);
    }
    PutNote(p, Row(bar, 4), kChSnare, kC4, kInsSnare, 56);
    PutNote(p, Row(bar, 12), kChSnare, kC4, kInsSnare, 56);
    // Ghost notes pushed late by a note delay give the loop its swing.
    PutNote(p, Row(bar, 7), kChSnare, kC4, kInsSnare, 16);
    PutEffect(p, Row(bar, 7), kChSnare, kFxExtended, kExNoteDelay | 2);
    PutNote(p, Row(bar, 15), kChSnare, kC4, kInsSnare, 20);
    PutEffect(p, Row(bar, 15), kChSnare, kFxExtended, kExNoteDelay | 1);
    Hats(p, bar, busy, 40);
    PutNote(p, Row(bar, 14), kChPerc, kC4, kInsOpenHat, 24);
    PutEffect(p, Row(bar, 14), kChPerc, kFxExtended, kExNoteCut | 3);
    if (busy) {
        PutNote(p, Row(bar, 6), kChPerc, kC4, kInsOpenHat, 20);
        PutEffect(p, Row(bar, 6), kChPerc, kFxPanning, 0x60);
    }
}

void HalfTime(XmPattern& p, int bar, int hatVolume) {
    PutNote(p, Row(bar, 0), kChKick, kC4, kInsKick, 56);
    PutNote(p, Row(bar, 10), kChKick, kC4, kInsKick, 40);
    PutNote(p, Row(bar, 8), kChSnare, kC4, kInsClap, 40);
    if (hatVolume > 0) {
        Hats(p, bar, false, hatVolume);
    }
}

// Toms falling through the last beat, the snare doubled by a retrigger.
void Fill(XmPattern& p, int bar) {
    const int toms[4] = {55, 52, 48, 45};
    for (int i = 0; i < 4; ++i) {
        PutNote(p, Row(bar, 12 + i), kChPerc, toms[i], kInsTom, 44);
        PutEffect(p, Row(bar, 12 + i), kChPerc, 0, 0);
    }
    PutEffect(p, Row(bar, 12), kChSnare, kFxExtended, kExRetrigger | 2);
}

void Crash(XmPattern& p, int row, int volume) {
    PutNote(p, row, kChPerc, kC4, kInsCrash, volume);
    PutEffect(p, row, kChPerc, kFxPanning, 0x90);
}

// Low noise pitched up by a portamento while its volume swells: the riser before a drop.
void Riser(XmPattern& p, int fromRow, int toRow, uint8_t speed) {
    PutNote(p, fromRow, kChPerc, 36, kInsNoise, 0);
    for (int row = fromRow; row < toRow; ++row) {
        PutEffect(p, row, kChPerc, kFxPortaUp, speed);
        if (row > fromRow) {
            PutVolumeByte(p, row, kChPerc, 0x91);  // fine slide: one step per row
        }
    }
    PutNote(p, toRow, kChPerc, kKeyOff, 0);
}

// ---- harmony -----------------------------------------------------------------------------

void Pads(XmPattern& p, const Progression& chords, int instrument, int volume, bool release) {
    static const uint8_t kPan[3] = {0x50, 0x80, 0xB0};
    for (int bar = 0; bar < 4; ++bar) {
        for (int voice = 0; voice < 3; ++voice) {
            int channel = kChPad1 + voice;
            bool same = bar > 0 && chords[size_t(bar)].pad[size_t(voice)] ==
                                       chords[size_t(bar - 1)].pad[size_t(voice)];
            if (same) {
                continue;  // a held common tone keeps sounding across the change
            }
            PutNote(p, Row(bar, 0), channel, chords[size_t(bar)].pad[size_t(voice)], instrument,
                    volume);
            PutEffect(p, Row(bar, 0), channel, kFxPanning, kPan[voice]);
        }
    }
    if (release) {
        for (int voice = 0; voice < 3; ++voice) {
            PutNote(p, 62, kChPad1 + voice, kKeyOff, 0);
        }
    }
}

void RollingBass(XmPattern& p, const Progression& chords, bool glide) {
    static const int kSteps[7] = {0, 3, 6, 8, 10, 12, 14};
    static const int kOffset[7] = {0, 0, 12, 0, 0, 7, 12};
    for (int bar = 0; bar < 4; ++bar) {
        int root = chords[size_t(bar)].bass;
        for (int i = 0; i < 7; ++i) {
            int row = Row(bar, kSteps[i]);
            PutNote(p, row, kChBass, root + kOffset[i], kInsBass, i == 0 ? 44 : 38);
            if (kOffset[i] == 12 && i != 6) {
                PutEffect(p, row, kChBass, kFxExtended, kExNoteCut | 3);  // staccato octave
            }
        }
        if (glide && bar < 3) {
            // Slide from the octave into the next root instead of striking it.
            int next = Row(bar + 1, 0);
            PutNote(p, next, kChBass, chords[size_t(bar + 1)].bass, kInsBass, 44);
            PutEffect(p, next, kChBass, kFxTonePorta, 0x30);
        }
    }
}

void LongBass(XmPattern& p, const Progression& chords, int instrument, int volume) {
    for (int bar = 0; bar < 4; ++bar) {
        PutNote(p, Row(bar, 0), kChBass, chords[size_t(bar)].bass, instrument, volume);
        if (instrument == kInsBass) {
            PutNote(p, Row(bar, 10), kChBass, chords[size_t(bar)].bass, instrument, volume - 8);
            PutNote(p, Row(bar, 14), kChBass, kKeyOff, 0);
        }
    }
}

void Arpeggio(XmPattern& p, const Progression& chords, int startVolume, int endVolume, int every) {
    int count = 64 / every;
    for (int i = 0; i < count; ++i) {
        int row = i * every;
        const Chord& chord = chords[size_t(row / 16)];
        int volume = startVolume + (endVolume - startVolume) * i / (count - 1);
        int octave = (i % 4 == 3) ? 12 : 0;
        PutNote(p, row, kChArp, chord.arpRoot + octave, kInsArp, volume);
        for (int r = row; r < row + every; ++r) {
            PutEffect(p, r, kChArp, kFxArpeggio, chord.arp);
        }
    }
}

// Broken chords on the plucked string: up through the voicing and back.
// Under a lead the plucks stay in the pad's octave, out of the melody's way.
void Plucks(XmPattern& p, const Progression& chords, int volume, bool sixteenths, bool high) {
    static const int kOrder[8] = {0, 1, 2, 3, 4, 3, 2, 1};
    int every = sixteenths ? 1 : 2;
    for (int row = 0, i = 0; row < 64; row += every, ++i) {
        const Chord& chord = chords[size_t(row / 16)];
        int k = kOrder[i % 8];
        int note = k < 3 ? chord.pad[size_t(k)] : chord.pad[size_t(k - 3)] + 12;
        int accent = (row % 8 == 0) ? 6 : 0;
        PutNote(p, row, kChLayer, note + (high ? 12 : 0), kInsPluck, volume + accent);
    }
}

void Stabs(XmPattern& p, const Progression& chords) {
    for (int bar = 0; bar < 4; ++bar) {
        int root = chords[size_t(bar)].bass + 12;
        for (int step : {2, 6, 11}) {
            PutNote(p, Row(bar, step), kChLayer, root, kInsStab, step == 11 ? 26 : 32);
            PutEffect(p, Row(bar, step), kChLayer, kFxExtended, kExNoteCut | 3);
        }
    }
}

// ---- melody ------------------------------------------------------------------------------

void Melody(XmPattern& p, int channel, int instrument, int volume,
            const std::vector<MelodyNote>& notes, int delayRows, uint8_t panning) {
    for (size_t i = 0; i < notes.size(); ++i) {
        const MelodyNote& n = notes[i];
        int row = n.row + delayRows;
        if (row > 63) {
            break;
        }
        // Phrasing: the downbeat of a bar leans in, notes off the beat step back.
        int accent = n.row % 16 == 0 ? 4 : (n.row % 4 != 0 ? -4 : 0);
        PutNote(p, row, channel, n.note, instrument, volume + accent);
        if (panning != 0) {
            PutEffect(p, row, channel, kFxPanning, panning);
        } else if (n.length >= 6) {
            // Long notes bloom into a vibrato; the longest also die away under it.
            for (int r = row + 3; r < row + n.length && r < 64; ++r) {
                if (r == row + 3) {
                    PutEffect(p, r, channel, kFxVibrato, 0x62);
                } else if (n.length >= 8 && r >= row + 5) {
                    PutEffect(p, r, channel, kFxVibratoSlide, 0x01);
                } else {
                    PutEffect(p, r, channel, kFxVibrato, 0x00);
                }
            }
        }
        bool joined = i + 1 < notes.size() && notes[i + 1].row == n.row + n.length;
        if (!joined && row + n.length < 64) {
            PutNote(p, row + n.length, channel, kKeyOff, 0);
        }
    }
}

// A glide into a note: the row's note becomes the tone-portamento target.
void Glide(XmPattern& p, int row, int channel, int note, uint8_t speed) {
    XmCell& cell = CellAt(p, row, channel);
    cell.note = uint8_t(note - 11);
    cell.instrument = 0;
    cell.effect = kFxTonePorta;
    cell.param = speed;
}

const std::vector<MelodyNote> kCall{{0, 76, 6},  {6, 74, 2},  {8, 72, 4},  {12, 74, 2},
                                    {14, 76, 2}, {16, 77, 6}, {22, 76, 2}, {24, 72, 4},
                                    {28, 69, 4}, {32, 67, 4}, {36, 72, 4}, {40, 76, 6},
                                    {46, 72, 2}, {48, 74, 8}, {56, 71, 4}, {60, 74, 3}};
const std::vector<MelodyNote> kAnswer{{0, 76, 6},  {6, 74, 2},  {8, 72, 4},  {12, 71, 2},
                                      {14, 72, 2}, {16, 69, 8}, {24, 72, 4}, {28, 77, 4},
                                      {32, 76, 4}, {36, 79, 6}, {42, 76, 2}, {44, 74, 4},
                                      {48, 71, 4}, {52, 72, 4}, {56, 74, 8}};
const std::vector<MelodyNote> kLiftTune{
    {0, 81, 4},  {4, 77, 2},  {6, 74, 2},  {8, 81, 4},  {12, 79, 2}, {14, 77, 2},
    {16, 76, 6}, {22, 72, 2}, {24, 76, 4}, {28, 81, 4}, {32, 84, 6}, {38, 81, 2},
    {40, 77, 4}, {44, 81, 2}, {46, 84, 2}, {48, 83, 8}, {56, 80, 4}, {60, 76, 4}};
// The answer to the lift tune, a third or sixth below it.
const std::vector<MelodyNote> kLiftHarmony{
    {0, 77, 4},  {4, 74, 2},  {6, 69, 2},  {8, 77, 4},  {12, 76, 2}, {14, 74, 2},
    {16, 72, 6}, {22, 69, 2}, {24, 72, 4}, {28, 76, 4}, {32, 81, 6}, {38, 77, 2},
    {40, 72, 4}, {44, 77, 2}, {46, 81, 2}, {48, 80, 8}, {56, 76, 4}, {60, 71, 4}};
const std::vector<MelodyNote> kBellTune{{0, 81, 6},  {6, 79, 2},  {8, 77, 8},  {16, 79, 6},
                                        {22, 81, 2}, {24, 83, 8}, {32, 79, 6}, {38, 76, 2},
                                        {40, 71, 8}, {48, 72, 6}, {54, 71, 2}, {56, 69, 8}};
const std::vector<MelodyNote> kIntroBell{{32, 76, 4}, {36, 74, 4}, {40, 72, 8},
                                         {48, 71, 4}, {52, 72, 4}, {56, 74, 8}};
const std::vector<MelodyNote> kHomeTune{{0, 72, 6},  {6, 74, 2},  {8, 76, 8},  {16, 74, 6},
                                        {22, 72, 2}, {24, 71, 8}, {32, 72, 4}, {36, 76, 4},
                                        {40, 81, 8}, {48, 79, 6}, {54, 76, 2}, {56, 81, 8}};
const std::vector<MelodyNote> kHomeCounter{{0, 65, 16}, {16, 67, 16}, {32, 64, 16}, {48, 64, 16}};
const std::vector<MelodyNote> kCodaTune{{0, 77, 6},  {6, 76, 2},  {8, 74, 8},  {16, 72, 6},
                                        {22, 74, 2}, {24, 76, 8}, {32, 74, 4}, {36, 71, 4},
                                        {40, 74, 8}, {48, 69, 14}};

// ---- patterns ----------------------------------------------------------------------------

XmPattern IntroCalm() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kVerse, kInsPad, 15, false);
    LongBass(p, kVerse, kInsSub, 20);
    Plucks(p, kVerse, 10, false, true);
    Melody(p, kChLead, kInsBell, 22, kIntroBell, 0, 0);
    Melody(p, kChEcho, kInsBell, 10, kIntroBell, 3, 0xC0);
    PutNote(p, 0, kChPerc, 36, kInsNoise, 0);
    for (int row = 1; row < 32; ++row) {
        PutEffect(p, row, kChPerc, kFxPortaUp, 2);
        PutVolumeByte(p, row, kChPerc, row < 20 ? 0x91 : 0x81);  // fine swell, then ebb
    }
    PutNote(p, 32, kChPerc, kKeyOff, 0);
    return p;
}

XmPattern IntroPulse() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kVerse, kInsPad, 15, false);
    LongBass(p, kVerse, kInsBass, 34);
    Plucks(p, kVerse, 12, false, true);
    Arpeggio(p, kVerse, 6, 22, 2);
    for (int bar = 0; bar < 4; ++bar) {
        HalfTime(p, bar, bar < 2 ? 14 : 20);
    }
    Melody(p, kChLead, kInsBell, 26, kIntroBell, 0, 0);
    Melody(p, kChEcho, kInsBell, 12, kIntroBell, 3, 0xC0);
    return p;
}

XmPattern Build() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kVerse, kInsPad, 22, false);
    RollingBass(p, kVerse, false);
    Arpeggio(p, kVerse, 20, 30, 1);
    for (int row = 0; row < 64; row += 4) {
        PutNote(p, row, kChKick, kC4, kInsKick, row < 56 ? 54 : 60);
    }
    for (int bar = 0; bar < 4; ++bar) {
        Hats(p, bar, bar >= 2, 22);
    }
    // The snare roll speeds up: quarters, eighths, sixteenths, then retriggered thirty-seconds.
    for (int row = 0; row < 64; ++row) {
        int every = row < 16 ? 8 : (row < 32 ? 4 : (row < 48 ? 2 : 1));
        if (row % every == 0 && row >= 4) {
            PutNote(p, row, kChSnare, kC4, kInsSnare, 20 + row / 2);
            if (row >= 56) {
                PutEffect(p, row, kChSnare, kFxRetrig, 0x02);
            }
        }
    }
    Riser(p, 16, 63, 6);
    Stabs(p, kVerse);
    return p;
}

XmPattern MainCall() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kVerse, kInsPad, 16, false);
    RollingBass(p, kVerse, true);
    Stabs(p, kVerse);
    Arpeggio(p, kVerse, 16, 16, 2);
    for (int bar = 0; bar < 4; ++bar) {
        TwoStep(p, bar, false);
    }
    Crash(p, 0, 40);
    Melody(p, kChLead, kInsLead, 44, kCall, 0, 0);
    Melody(p, kChEcho, kInsLead, 15, kCall, 3, 0xC8);
    Glide(p, 48, kChLead, 74, 0x20);
    return p;
}

XmPattern MainAnswer() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kVerse, kInsPad, 16, false);
    RollingBass(p, kVerse, true);
    Plucks(p, kVerse, 22, false, false);
    for (int bar = 0; bar < 4; ++bar) {
        TwoStep(p, bar, bar == 3);
    }
    Fill(p, 3);
    Melody(p, kChLead, kInsLead, 44, kAnswer, 0, 0);
    Melody(p, kChEcho, kInsLead, 15, kAnswer, 3, 0xC8);
    Glide(p, 36, kChLead, 79, 0x14);
    return p;
}

XmPattern MainLift() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kLift, kInsPad, 16, false);
    RollingBass(p, kLift, false);
    Plucks(p, kLift, 16, true, false);
    Arpeggio(p, kLift, 18, 18, 2);
    for (int bar = 0; bar < 4; ++bar) {
        TwoStep(p, bar, true);
        PutNote(p, Row(bar, 4), kChPerc, kC4, kInsClap, 30);
    }
    Crash(p, 0, 40);
    Fill(p, 3);
    Melody(p, kChLead, kInsLead, 44, kLiftTune, 0, 0);
    Melody(p, kChEcho, kInsLead, 18, kLiftHarmony, 0, 0xC8);
    Glide(p, 32, kChLead, 84, 0x14);
    return p;
}

XmPattern Breakdown() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kDrift, kInsChoir, 17, true);
    LongBass(p, kDrift, kInsSub, 28);
    Plucks(p, kDrift, 14, false, true);
    Melody(p, kChLead, kInsBell, 28, kBellTune, 0, 0);
    Melody(p, kChEcho, kInsBell, 13, kBellTune, 3, 0xC0);
    for (int row = 2; row < 64; row += 4) {
        PutNote(p, row, kChHat, kC4, kInsHat, 10);
    }
    return p;
}

XmPattern Rebuild() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kDrift, kInsPad, 18, false);
    Plucks(p, kDrift, 18, false, true);
    Arpeggio(p, kDrift, 4, 24, 2);
    for (int row = 16; row < 64; row += 4) {
        PutNote(p, row, kChKick, kC4, kInsKick, 30 + row / 3);
    }
    for (int bar = 2; bar < 4; ++bar) {
        for (int step = 0; step < 16; step += 2) {
            PutNote(p, Row(bar, step), kChBass, kDrift[size_t(bar)].bass + (step % 4 == 2 ? 12 : 0),
                    kInsBass, 36);
        }
    }
    for (int row = 48; row < 64; ++row) {
        PutNote(p, row, kChSnare, kC4, kInsSnare, 18 + (row - 48) * 2);
        if (row >= 60) {
            PutEffect(p, row, kChSnare, kFxRetrig, 0x92);  // retrigger with rising volume
        }
    }
    Riser(p, 24, 63, 5);
    Melody(p, kChLead, kInsBell, 24, kBellTune, 0, 0);
    return p;
}

XmPattern Home() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kHome, kInsPad, 18, false);
    LongBass(p, kHome, kInsBass, 40);
    Plucks(p, kHome, 16, false, false);
    for (int bar = 0; bar < 4; ++bar) {
        HalfTime(p, bar, 18);
    }
    Melody(p, kChLead, kInsLead, 34, kHomeTune, 0, 0);
    Glide(p, 40, kChLead, 81, 0x18);
    Melody(p, kChEcho, kInsChoir, 24, kHomeCounter, 0, 0xB0);
    return p;
}

XmPattern Coda() {
    XmPattern p = NewPattern(kChannels);
    Pads(p, kCoda, kInsPad, 16, true);
    LongBass(p, kCoda, kInsSub, 30);
    Plucks(p, kCoda, 16, false, true);
    for (int bar = 0; bar < 3; ++bar) {
        HalfTime(p, bar, 14);
    }
    PutNote(p, 48, kChKick, kC4, kInsKick, 56);
    Crash(p, 48, 34);
    Melody(p, kChLead, kInsLead, 32, kCodaTune, 0, 0);
    Melody(p, kChEcho, kInsBell, 14, kCodaTune, 3, 0xC0);
    // Let the last chord thin out: the plucks stop and the arpeggio fades away.
    for (int row = 48; row < 64; ++row) {
        CellAt(p, row, kChLayer) = XmCell{};
    }
    PutNote(p, 48, kChLayer, 81, kInsPluck, 24);
    PutNote(p, 48, kChArp, 69, kInsArp, 20);
    PutEffect(p, 48, kChArp, kFxArpeggio, 0x37);
    for (int row = 49; row < 64; ++row) {
        PutEffect(p, row, kChArp, kFxVolumeSlide, 0x01);
    }
    return p;
}

}  // namespace

XmModule ComposeShowSong() {
    XmModule song;
    song.name = "show";
    song.channelCount = kChannels;
    song.defaultTempo = 4;
    song.defaultBpm = 125;
    song.linearFrequencies = true;
    song.restartPosition = 0;
    song.patterns = {IntroCalm(), IntroPulse(), Build(),   MainCall(), MainAnswer(),
                     MainLift(),  Breakdown(),  Rebuild(), Home(),     Coda()};
    // 0-4 intro (the noise sphere), 5-11 main part (rings, tubes, box fields, bursts), 12-13
    // breakdown (word spheres), 14-19 return (greetings, core, orrery), 20-25 closing titles.
    song.orders = {0, 6, 1, 1, 2, 3, 4, 3, 4, 5, 5, 4, 6, 7, 3, 4, 5, 3, 4, 5, 8, 8, 6, 8, 9, 0};
    song.instruments = ShowInstruments();
    return song;
}
