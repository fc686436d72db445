// The replay engine: row and tick sequencing, note starts, periods and the hand-off to voices.
#pragma once

#include <cstdint>

#include "music/channel.h"
#include "music/song.h"

// Stands in for an instrument index at or beyond instrumentCount: no samples, no envelopes.
extern Instrument emptyInstrument;

struct Player;

// One tick of the player's song: row or tick processing, then the tick counter. Runs only on the
// rendering thread.
void ReplayTick(Player& player);

// Tick 0 of a row: reads the row's cells and starts notes.
void ProcessRow(Player& player);

// Every other tick of a row: continues the row's effects.
void ProcessTick(Player& player);

// Hands the channel's flagged changes (updateFlags) to its voice, with the player's song's global
// volume and output rate. `sample` is the sample resolved for the channel in this tick; never
// null.
void UpdateVoice(Player& player, Channel& channel, Sample* sample);

// Classic Amiga period of a note index 0..255 with a finetune -128..127.
int32_t AmigaPeriod(int32_t noteIndex, int32_t finetune);

// Period of a note index in the song's frequency mode (linear when bit 0 of flags is set).
int32_t NotePeriod(const Song* song, int32_t noteIndex, int32_t finetune);

// Frequency in Hz of a period sum (period + periodDelta); the sum must not be 0 in Amiga mode.
int32_t PeriodFrequency(const Song* song, int32_t period, int32_t periodDelta);

// Resolves the channel's instrument and the sample its note selects. Never returns null.
void ResolveInstrument(const Song* song, const Channel& channel, Instrument** instrument,
                       Sample** sample);
