// Effects, volume-column commands, envelopes, fadeout and auto-vibrato of the replay engine.
#pragma once

#include <cstdint>

#include "music/channel.h"
#include "music/song.h"

// What a tick action may need besides the channel: the song, the cell of the row being played
// and the instrument and sample resolved for the channel in this tick.
// savedVolume, savedPeriod and savedPanning are the channel's values before the row was read,
// which a delayed note restores on tick 0.
struct Player;

struct EffectContext {
    Player* player;  // for the row-jump flag and the output rate
    Song* song;
    const Cell* cell;
    Instrument* instrument;
    Sample* sample;
    int32_t savedVolume;
    int32_t savedPeriod;
    int32_t savedPanning;
};

using EffectAction = void (*)(Channel& channel, const EffectContext& context);

constexpr int kEffectCount = 36;  // 0-9, then A = 10 ... Z = 35

// Tick-0 and other-tick actions indexed by effect number; entries never null.
extern const EffectAction effectTickZero[kEffectCount];
extern const EffectAction effectOtherTick[kEffectCount];

// Other-tick actions of the volume byte, indexed by its high nibble.
extern const EffectAction volumeColumnOtherTick[16];

// The set-envelope-position effect (Lxx) on the volume envelope.
void SetEnvelopePosition(Channel& channel, const Instrument& instrument, uint8_t position);

// The action of an effect that does nothing on that tick.
void NoEffect(Channel& channel, const EffectContext& context);

// Vibrato phase advance: 8-bit signed add, wrapped back into -32..31.
void AdvanceVibratoPhase(Channel& channel);

// Slides limit only the side they move toward, so a set volume above 64 survives a slide down.
inline int32_t SlideVolumeDown(int32_t volume, int32_t amount) {
    return volume - amount < 0 ? 0 : volume - amount;
}

inline int32_t SlideVolumeUp(int32_t volume, int32_t amount) {
    return volume + amount > 64 ? 64 : volume + amount;
}

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
