// Helpers for writing notes and effects into patterns, with pitches as MIDI note numbers.
#pragma once

#include <cstdint>

#include "xm_module.h"

constexpr int kKeyOff = -1;  // note value that writes the XM key-off
constexpr int kNoVolume = -1;

// Effect numbers as XM stores them (letters count on from 10).
enum XmEffect : uint8_t {
    kFxArpeggio = 0x0,
    kFxPortaUp = 0x1,
    kFxPortaDown = 0x2,
    kFxTonePorta = 0x3,
    kFxVibrato = 0x4,
    kFxTonePortaSlide = 0x5,
    kFxVibratoSlide = 0x6,
    kFxTremolo = 0x7,
    kFxPanning = 0x8,
    kFxVolumeSlide = 0xA,
    kFxSetVolume = 0xC,
    kFxExtended = 0xE,
    kFxSpeed = 0xF,
    kFxKeyOff = 0x14,
    kFxPanningSlide = 0x19,
    kFxRetrig = 0x1B,
};

// Extended effects, the high nibble of the parameter of effect E.
enum XmExtended : uint8_t {
    kExRetrigger = 0x90,
    kExFineVolumeUp = 0xA0,
    kExFineVolumeDown = 0xB0,
    kExNoteCut = 0xC0,
    kExNoteDelay = 0xD0,
};

XmPattern NewPattern(int channelCount, int rowCount = 64);
XmCell& CellAt(XmPattern& pattern, int row, int channel);

// Writes a note (MIDI number, 0 for none, kKeyOff) with instrument and volume 0..64.
void PutNote(XmPattern& pattern, int row, int channel, int midiNote, int instrument,
             int volume = kNoVolume);
void PutEffect(XmPattern& pattern, int row, int channel, uint8_t effect, uint8_t param);
void PutVolumeByte(XmPattern& pattern, int row, int channel, uint8_t volumeByte);

// A volume envelope or panning envelope from (tick, value) pairs.
XmEnvelope Envelope(std::initializer_list<XmEnvelopePoint> points, int sustainPoint = -1,
                    int loopStart = -1, int loopEnd = -1);
