// Single-precision constants of the replay engine, kept exactly as the player's arithmetic uses
// them.
#pragma once

// 1/12 as a float: semitone exponent of the Amiga period table.
constexpr float kTwelfth = 0.083333336f;
// Amiga period of note index 132 at finetune 0 (2^0 x 13.375).
constexpr double kAmigaBasePeriod = 13.375;
// 1/768 as a float: linear periods count 768 units per octave.
constexpr float kLinearOctaveFraction = 0.0013020834f;
// 255 / 2^35 (exact as a float): volume x envelope x fadeout x global volume -> voice volume
// 0..127.
constexpr float kVoiceVolumeScale = 7.4214768e-09f;
// pi / 128 as a float: auto-vibrato sine phase per position unit.
constexpr float kAutoVibratoPhaseScale = 0.024543693f;

// Linear period 4608 plays at 8363 Hz; the Amiga clock gives 8362 Hz at period 1712.
constexpr int kLinearMiddlePeriod = 4608;
constexpr double kMiddleFrequency = 8363.0;
constexpr int kAmigaClock = 14317056;
constexpr int kLinearTopPeriod = 7680;
