// Replay engine: tick and row sequencing, note starts, periods, frequencies and voice hand-off.
#include "music/replay.h"

#include <atomic>
#include <cmath>
#include <cstdlib>

#include "music/effects.h"
#include "music/player.h"
#include "music/replay_constants.h"

Instrument emptyInstrument = {};

namespace {

constexpr uint8_t kKeyOffNote = 255;
constexpr uint8_t kEffectKeyOff = 20;

// The pattern at an order position, or null when the position or its pattern number does not
// name a pattern in the table.
const Pattern* PatternAt(const Song* song, int32_t orderIndex) {
    if (orderIndex < 0 || orderIndex > 255 || !song->patterns) {
        return nullptr;
    }
    int32_t number = song->orders[orderIndex];
    if (number >= song->patternSlotCount) {
        return nullptr;
    }
    return &song->patterns[number];
}

// Cells of one row, or null when the pattern has none there.
const Cell* RowCells(const Song* song, int32_t orderIndex, int32_t row) {
    const Pattern* pattern = PatternAt(song, orderIndex);
    if (!pattern || !pattern->cells || song->channelCount <= 0 || row < 0 ||
        row >= pattern->rowCount) {
        return nullptr;
    }
    return pattern->cells + static_cast<size_t>(row) * song->channelCount;
}

// Amiga period table entry k: 2^((132 - k) / 12) × 13.375, truncated.
int32_t AmigaTablePeriod(int32_t k) {
    return static_cast<int32_t>(std::pow(2.0, (132 - k) * static_cast<double>(kTwelfth)) *
                                kAmigaBasePeriod);
}

// Entries 0..256: every note index 0..255 and its upper neighbour.
constexpr int32_t kAmigaTableSize = 257;
struct AmigaTable {
    int32_t periods[kAmigaTableSize];
};

AmigaTable BuildAmigaTable() {
    AmigaTable table{};
    for (int32_t k = 0; k < kAmigaTableSize; ++k) {
        table.periods[k] = AmigaTablePeriod(k);
    }
    return table;
}

const AmigaTable amigaTable = BuildAmigaTable();

// Frequency of 4608 - period + periodDelta = `units` linear units: 8363 Hz × 2^(units / 768).
int32_t LinearFrequency(int64_t units) {
    const double exponent = static_cast<double>(units) * static_cast<double>(kLinearOctaveFraction);
    const double frequency = kMiddleFrequency * std::pow(2.0, exponent);
    // A period far below the table (fine slides have no lower limit) must not overflow.
    if (!(frequency < 2147483647.0)) {
        return 2147483647;
    }
    return static_cast<int32_t>(frequency);
}

// LinearFrequency of every unit count the notes 0..255 with their vibrato, arpeggio and slides
// reach, filled on first use (0 = not yet; every entry is at least 5 Hz). Relaxed atomics, as
// players on several threads may fill the same entry with the same value.
constexpr int64_t kLinearTableLowest = -8192;
constexpr int64_t kLinearTableSize = 32768;
std::atomic<int32_t> linearFrequencies[kLinearTableSize];

bool IsPlayableNote(uint8_t note) {
    return note >= 1 && note <= 96;
}

int32_t ChannelsToPlay(const Song* song) {
    return song->channelCount > kMaxChannels ? kMaxChannels : song->channelCount;
}

void ReadChannelRow(Player& player, Channel& channel, const Cell& cell) {
    Song* song = player.song;
    uint8_t note = cell.note;
    // Notes 98-254 are not XM notes; they are played as an empty note field.
    if (note != kKeyOffNote && !IsPlayableNote(note)) {
        note = 0;
    }
    bool portamento = cell.effect == 3 || cell.effect == 5;
    if (cell.instrument != 0 && !portamento) {
        channel.instrument = static_cast<uint8_t>(cell.instrument - 1);
    }
    if (IsPlayableNote(note) && !portamento) {
        channel.note = static_cast<uint8_t>(note - 1);
    }
    Instrument* instrument = nullptr;
    Sample* sample = nullptr;
    ResolveInstrument(song, channel, &instrument, &sample);

    EffectContext context{&player, song,           &cell,          instrument,
                          sample,  channel.volume, channel.period, channel.panning};
    // The tremolo offset of the last tick stays in the volume when the tremolo ends.
    if (channel.lastEffect == 7 && cell.effect != 7) {
        channel.volume += channel.volumeDelta;
    }
    channel.lastEffect = cell.effect;
    channel.volumeDelta = 0;
    channel.updateFlags = 0;
    if (IsPlayableNote(note)) {
        channel.realNote = static_cast<uint8_t>(note - 1 + sample->relativeNote);
        channel.notePeriod = NotePeriod(song, channel.realNote, sample->finetune);
        if (!portamento) {
            channel.period = channel.notePeriod;
        }
        channel.updateFlags = kUpdateTrigger;
    }
    channel.periodDelta = 0;
    channel.updateFlags |= kUpdateFrequency | kUpdateVolume;
    if (cell.instrument != 0) {
        ResetChannel(channel, sample);
    }
    if (cell.volume != 0) {
        ApplyVolumeColumn(channel, cell.volume);
    }
    if (note == kKeyOffNote || cell.effect == kEffectKeyOff) {
        channel.keyOff = 1;
    }
    if (instrument->volumeType & 1) {
        if (!channel.volumeEnvelopeDone) {
            EnvelopeStep(channel, *instrument, EnvelopeKind::Volume);
        }
    } else if (channel.keyOff) {
        channel.volumeEnvelopeValue = 0;
    }
    if ((instrument->panningType & 1) && !channel.panningEnvelopeDone) {
        EnvelopeStep(channel, *instrument, EnvelopeKind::Panning);
    }
    if (channel.keyOff) {
        FadeoutStep(channel, *instrument);
    }
    if (cell.effect < kEffectCount) {
        effectTickZero[cell.effect](channel, context);
    }
    AutoVibratoStep(channel, *instrument);
    UpdateVoice(player, channel, sample);
}

void ContinueChannelRow(Player& player, Channel& channel, const Cell& cell) {
    Song* song = player.song;
    Instrument* instrument = nullptr;
    Sample* sample = nullptr;
    ResolveInstrument(song, channel, &instrument, &sample);
    EffectContext context{&player, song,           &cell,          instrument,
                          sample,  channel.volume, channel.period, channel.panning};
    channel.volumeDelta = 0;
    channel.periodDelta = 0;
    channel.updateFlags = 0;
    if ((instrument->volumeType & 1) && !channel.volumeEnvelopeDone) {
        EnvelopeStep(channel, *instrument, EnvelopeKind::Volume);
    }
    if ((instrument->panningType & 1) && !channel.panningEnvelopeDone) {
        EnvelopeStep(channel, *instrument, EnvelopeKind::Panning);
    }
    if (channel.keyOff) {
        FadeoutStep(channel, *instrument);
    }
    volumeColumnOtherTick[cell.volume >> 4](channel, context);
    if (cell.effect < kEffectCount) {
        effectOtherTick[cell.effect](channel, context);
    }
    AutoVibratoStep(channel, *instrument);
    UpdateVoice(player, channel, sample);
}

}  // namespace

void ResolveInstrument(const Song* song, const Channel& channel, Instrument** instrument,
                       Sample** sample) {
    if (channel.instrument >= song->instrumentCount || !song->instruments) {
        *instrument = &emptyInstrument;
        *sample = &emptySample;
        return;
    }
    Instrument* resolved = &song->instruments[channel.instrument];
    *instrument = resolved;
    // A keymap entry of 16 or more names no slot: the silent sample plays.
    uint8_t slot = channel.note < 96 ? resolved->keymap[channel.note] : 16;
    *sample = slot < 16 && resolved->samples[slot] ? resolved->samples[slot] : &emptySample;
}

int32_t AmigaPeriod(int32_t noteIndex, int32_t finetune) {
    auto table = [](int32_t k) {
        return k >= 0 && k < kAmigaTableSize ? amigaTable.periods[k] : AmigaTablePeriod(k);
    };
    int32_t base = table(noteIndex);
    if (finetune < 0 && noteIndex != 0) {
        return base + (-finetune) * (table(noteIndex - 1) - base) / 128;
    }
    return base - finetune * (base - table(noteIndex + 1)) / 128;
}

int32_t NotePeriod(const Song* song, int32_t noteIndex, int32_t finetune) {
    if (song->flags & 1) {
        return kLinearTopPeriod - 64 * noteIndex - finetune / 2;
    }
    return AmigaPeriod(noteIndex, finetune);
}

int32_t PeriodFrequency(const Song* song, int32_t period, int32_t periodDelta) {
    if (song->flags & 1) {
        // 4608.0 - period + periodDelta is exact in double, so the integer sum indexes the table.
        const int64_t units = kLinearMiddlePeriod - static_cast<int64_t>(period) + periodDelta;
        const int64_t slot = units - kLinearTableLowest;
        if (slot < 0 || slot >= kLinearTableSize) {
            return LinearFrequency(units);
        }
        int32_t frequency = linearFrequencies[slot].load(std::memory_order_relaxed);
        if (frequency == 0) {
            frequency = LinearFrequency(units);
            linearFrequencies[slot].store(frequency, std::memory_order_relaxed);
        }
        return frequency;
    }
    int64_t sum = static_cast<int64_t>(period) + periodDelta;
    if (sum == 0) {
        return 0;
    }
    return static_cast<int32_t>(kAmigaClock / sum);
}

void UpdateVoice(Player& player, Channel& channel, Sample* sample) {
    const Song* song = player.song;
    const int32_t outputRate = player.outputRate;
    Voice* v = channel.voice;
    if (!v) {
        return;
    }
    uint8_t flags = channel.updateFlags;
    if (channel.period + channel.periodDelta == 0) {
        flags &= static_cast<uint8_t>(~kUpdateFrequency);
    }
    if (flags & kUpdateTrigger) {
        if (v->sample) {
            // The sounding note fades out on the partner voice's twin while the new one starts.
            int32_t partnerIndex = v->index < 32 ? v->index + 32 : v->index - 32;
            Voice* w = &player.voices[partnerIndex];
            *w = *v;
            w->index = partnerIndex;
            v->volume = 0;
            v->leftLevel = 0;
            v->rightLevel = 0;
            channel.voice = w;
            v = w;
        }
        v->sample = sample;
        if (v->startOffset >= sample->loopStart + sample->loopLength) {
            v->startOffset = 0;
        }
        v->position = v->startOffset;
        v->positionFraction = 0;
        v->direction = 1;
        v->startOffset = 0;
        v->rampLeft = 0;
        v->rampRight = 0;
        v->rampRemaining = 0;
    }
    if (flags & kUpdateVolume) {
        double product = static_cast<double>(channel.volume + channel.volumeDelta) *
                         channel.volumeEnvelopeValue * channel.fadeoutVolume * song->globalVolume;
        int32_t volume = static_cast<int32_t>(product * static_cast<double>(kVoiceVolumeScale));
        v->volume = volume;
        v->leftLevel = volume * v->panning / 255;
        v->rightLevel = (255 - v->panning) * volume / 255;
    }
    if (flags & kUpdatePanning) {
        int32_t distance = 128 - std::abs(channel.panning - 128);
        int32_t pan = distance / 32 * (channel.panningEnvelopeValue - 32) + channel.panning;
        pan = pan < 0 ? 0 : (pan > 255 ? 255 : pan);
        v->panning = pan;
        v->leftLevel = v->volume * pan / 255;
        v->rightLevel = (255 - pan) * v->volume / 255;
    }
    if (flags & kUpdateFrequency) {
        int64_t frequency = PeriodFrequency(song, channel.period, channel.periodDelta);
        if (frequency < 100) {
            frequency = 100;
        }
        // The mixer takes steps below 256 samples per frame; higher pitches are held just below.
        int64_t highest = 256 * static_cast<int64_t>(outputRate) - 1;
        if (frequency > highest) {
            frequency = highest;
        }
        // The step depends on the frequency alone; most ticks hand over the same one again.
        if (outputRate > 0 && frequency != v->stepFrequency) {
            v->stepInteger = static_cast<uint32_t>(frequency / outputRate);
            v->stepFraction = static_cast<uint32_t>(((frequency % outputRate) << 32) / outputRate);
            v->stepFrequency = static_cast<int32_t>(frequency);
        }
    }
    if (flags & kUpdateRewind) {
        v->position = 0;
        v->positionFraction = 0;
        v->startOffset = 0;
    }
}

void ProcessRow(Player& player) {
    Song* song = player.song;
    song->nextOrderIndex = -1;
    song->nextRow = -1;
    player.rowJumped = false;
    // A row beyond the pattern (a break or loop target taken from a longer pattern) plays the
    // pattern from its first row.
    const Pattern* pattern = PatternAt(song, song->orderIndex);
    if (pattern && (song->row < 0 || song->row >= pattern->rowCount)) {
        song->row = 0;
    }
    player.processedRow = ProcessedRow{song, song->orderIndex, song->row};
    const Cell* cells = RowCells(song, song->orderIndex, song->row);
    if (!cells) {
        return;
    }
    int32_t count = ChannelsToPlay(song);
    for (int32_t c = 0; c < count; ++c) {
        ReadChannelRow(player, player.channels[c], cells[c]);
    }
}

void ProcessTick(Player& player) {
    const Song* song = player.song;
    const ProcessedRow& processedRow = player.processedRow;
    if (processedRow.song != song) {
        return;
    }
    const Cell* cells = RowCells(song, processedRow.orderIndex, processedRow.row);
    if (!cells) {
        return;
    }
    int32_t count = ChannelsToPlay(song);
    for (int32_t c = 0; c < count; ++c) {
        ContinueChannelRow(player, player.channels[c], cells[c]);
    }
}

void ReplayTick(Player& player) {
    Song* song = player.song;
    if (song->tick != 0) {
        ProcessTick(player);
    } else {
        if (song->nextOrderIndex >= 0) {
            song->orderIndex = song->nextOrderIndex;
        }
        if (song->nextRow >= 0) {
            song->row = song->nextRow;
        }
        ProcessRow(player);
        if (song->nextRow == -1) {
            song->nextRow = song->row + 1;
            const Pattern* pattern = PatternAt(song, song->orderIndex);
            if (!pattern || song->nextRow >= pattern->rowCount) {
                song->nextOrderIndex = song->orderIndex + 1;
                if (song->nextOrderIndex >= static_cast<int16_t>(song->songLength)) {
                    song->nextOrderIndex = static_cast<int16_t>(song->restartPosition);
                }
                // A restart position outside the order list starts the song over.
                if (song->nextOrderIndex < 0 ||
                    song->nextOrderIndex >= static_cast<int16_t>(song->songLength)) {
                    song->nextOrderIndex = 0;
                }
                song->nextRow = 0;
            }
        }
    }
    song->tick += 1;
    if (song->tick >= song->speed + song->patternDelay) {
        song->patternDelay = 0;
        song->tick = 0;
    }
}
