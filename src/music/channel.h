// Replay state of one song channel and the table of the 32 channels.
#pragma once

#include <cstdint>

struct Voice;

// Bits of Channel::updateFlags: what UpdateVoice hands to the voice at the end of a tick.
constexpr uint8_t kUpdateFrequency = 0x01;
constexpr uint8_t kUpdateVolume = 0x02;
constexpr uint8_t kUpdatePanning = 0x04;
constexpr uint8_t kUpdateTrigger = 0x08;
constexpr uint8_t kUpdateRewind = 0x20;

struct Channel {
    uint8_t note;         // note index 0..95 of the last note
    uint8_t updateFlags;  // kUpdate* bits, cleared at the start of every tick
    Voice* voice;         // voice c or c + 32
    int32_t period;       // without this tick's offsets
    int32_t volume;       // 0..64 (set volume can exceed it)
    int32_t panning;      // 0..255 (volume-column slides can leave it)
    int32_t volumeDelta;  // this tick's offset (tremolo, tremor)
    int32_t periodDelta;  // this tick's offset (arpeggio, vibrato, auto-vibrato)
    int32_t volumeEnvelopeTick;
    int32_t volumeEnvelopePoint;
    int32_t volumeEnvelopeFixed;  // 16.16
    int32_t volumeEnvelopeValue;  // 0..64
    int32_t volumeEnvelopeStep;   // 16.16 per tick
    uint8_t volumeEnvelopeDone;
    int32_t panningEnvelopeTick;
    int32_t panningEnvelopePoint;
    int32_t panningEnvelopeFixed;
    int32_t panningEnvelopeValue;  // 0..64, 32 = centre
    int32_t panningEnvelopeStep;
    uint8_t panningEnvelopeDone;
    int32_t fadeoutVolume;        // 65536 down to 0
    int32_t autoVibratoPosition;  // 0..255
    int32_t autoVibratoSweep;
    uint8_t keyOff;
    uint8_t instrument;  // cell instrument - 1
    uint8_t realNote;    // note + relativeNote, 8 bits
    int32_t notePeriod;
    uint8_t lastEffect;
    int32_t sampleOffset;
    uint8_t portaDownMemory;
    uint8_t portaUpMemory;
    uint8_t extraFineDownMemory;
    uint8_t extraFineUpMemory;
    uint8_t volumeSlideMemory;
    uint8_t panningSlideMemory;
    uint8_t retrigVolumeMode;
    uint8_t retrigInterval;
    int32_t portaTarget;
    uint8_t portaSpeed;
    int8_t vibratoPosition;  // -32..31
    uint8_t vibratoSpeed;
    uint8_t vibratoDepth;    // 0..15
    int8_t tremoloPosition;  // -32..31
    uint8_t tremoloSpeed;
    uint8_t tremoloDepth;
    uint8_t tremorCounter;
    uint8_t tremorOnTicks;
    uint8_t tremorOffTicks;
    int32_t loopRow;
    int32_t loopCount;
    uint8_t waveControl;  // low nibble vibrato waveform, high nibble tremolo waveform
    uint8_t fineVolumeSlideMemory;
    uint8_t finePortaUpMemory;
    uint8_t finePortaDownMemory;
};

constexpr int kMaxChannels = 32;
