// Effects, volume-column commands, envelopes, fadeout and auto-vibrato of the replay engine.
#pragma once

#include <cstdint>

#include "music/channel.h"
#include "music/song.h"

// What a tick action may need besides the channel: the song, the cell of the row being played
// and the instrument and sample resolved for the channel in this tick.
struct EffectContext {
    Song* song;
    const Cell* cell;
    Instrument* instrument;
    Sample* sample;
};

using EffectAction = void (*)(Channel& channel, const EffectContext& context);

constexpr int kEffectCount = 36;  // 0-9, then A = 10 ... Z = 35

// Tick-0 and other-tick actions indexed by effect number; entries never null.
extern const EffectAction effectTickZero[kEffectCount];
extern const EffectAction effectOtherTick[kEffectCount];

// Volume-column actions indexed by the high nibble of the volume byte.
extern const EffectAction volumeColumnOtherTick[16];

// Reset on an instrument number (and on a delayed note).
void ResetChannel(Channel& channel, Sample* sample);

// Tick-0 action of the volume byte.
void ApplyVolumeColumn(Channel& channel, uint8_t volumeByte);

// Which of the instrument's two envelopes an EnvelopeStep advances.
enum class EnvelopeKind { Volume, Panning };

// One tick of the volume or panning envelope. Sustain and loop indices beyond the point count are
// ignored, so no point past the envelope is ever read.
void EnvelopeStep(Channel& channel, const Instrument& instrument, EnvelopeKind kind);

// One tick of the fadeout after key-off.
void FadeoutStep(Channel& channel, const Instrument& instrument);

void VibratoStep(Channel& channel);
void TremoloStep(Channel& channel);
void TremorStep(Channel& channel);
void TonePortamentoStep(Channel& channel);

// Instrument vibrato; vibratoType values above 3 add no offset.
void AutoVibratoStep(Channel& channel, const Instrument& instrument);

// Vibrato and tremolo waveform value (0..256) for phase -32..31; shape 0 sine, 1 ramp, 2 square.
int32_t ModulatorWave(int32_t shape, int32_t phase);

// Auto-vibrato waveform value (-64..64) for phase 0..255 and type 0..3; 0 for other types.
int32_t AutoVibratoWave(int32_t type, int32_t phase);
