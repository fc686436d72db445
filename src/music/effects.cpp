// Effect actions of the replay engine: tick-0 and other-tick tables indexed by effect number.
#include "music/effects.h"

#include "music/player.h"
#include "music/replay.h"

void NoEffect(Channel&, const EffectContext&) {}

void AdvanceVibratoPhase(Channel& channel) {
    channel.vibratoPosition = static_cast<int8_t>(channel.vibratoPosition + channel.vibratoSpeed);
    if (channel.vibratoPosition > 31) {
        channel.vibratoPosition = static_cast<int8_t>(channel.vibratoPosition - 64);
    }
}

namespace {

constexpr uint8_t kLowFlags = kUpdateFrequency | kUpdateVolume | kUpdatePanning | kUpdateTrigger;

int32_t ClampVolume(int32_t volume) {
    return volume < 0 ? 0 : (volume > 64 ? 64 : volume);
}

uint8_t ParamX(const EffectContext& context) {
    return context.cell->param >> 4;
}

uint8_t ParamY(const EffectContext& context) {
    return context.cell->param & 15;
}

// Effects 5, 6 and A on ticks after tick 0.
void VolumeSlide(Channel& channel) {
    uint8_t memory = channel.volumeSlideMemory;
    if (memory >> 4) {
        channel.volume += memory >> 4;
        if (channel.volume > 64) {
            channel.volume = 64;
        }
    } else if (memory & 15) {
        channel.volume -= memory & 15;
        if (channel.volume < 0) {
            channel.volume = 0;
        }
    }
    channel.updateFlags |= kUpdateVolume;
}

// --- tick 0 ---------------------------------------------------------------------------------

void PortaUpRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.portaUpMemory = context.cell->param;
    }
}

void PortaDownRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.portaDownMemory = context.cell->param;
    }
}

void TonePortaRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.portaSpeed = context.cell->param;
    }
    channel.portaTarget = channel.notePeriod;
    channel.updateFlags &= static_cast<uint8_t>(~(kUpdateTrigger | kUpdateFrequency));
}

void VibratoRow(Channel& channel, const EffectContext& context) {
    if (ParamX(context)) {
        channel.vibratoSpeed = ParamX(context);
    }
    if (ParamY(context)) {
        channel.vibratoDepth = ParamY(context);
    }
    VibratoStep(channel);
}

void TonePortaVolumeSlideRow(Channel& channel, const EffectContext& context) {
    channel.portaTarget = channel.notePeriod;
    if (context.cell->param) {
        channel.volumeSlideMemory = context.cell->param;
    }
    channel.updateFlags &= static_cast<uint8_t>(~(kUpdateTrigger | kUpdateFrequency));
}

void VibratoVolumeSlideRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.volumeSlideMemory = context.cell->param;
    }
    VibratoStep(channel);
}

void TremoloRow(Channel& channel, const EffectContext& context) {
    if (ParamX(context)) {
        channel.tremoloSpeed = ParamX(context);
    }
    if (ParamY(context)) {
        channel.tremoloDepth = ParamY(context);
    }
}

void SetPanningRow(Channel& channel, const EffectContext& context) {
    channel.panning = context.cell->param;
    channel.updateFlags |= kUpdatePanning;
}

void SampleOffsetRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.sampleOffset = context.cell->param;
    }
    uint32_t start = 256u * static_cast<uint32_t>(channel.sampleOffset);
    const Sample* sample = context.sample;
    if (start < sample->loopStart + sample->loopLength) {
        if (channel.voice) {
            channel.voice->startOffset = start;
        }
    } else {
        channel.updateFlags &= static_cast<uint8_t>(~kUpdateTrigger);
        channel.updateFlags |= kUpdateRewind;
    }
}

void VolumeSlideRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.volumeSlideMemory = context.cell->param;
    }
}

void PositionJumpRow(Channel&, const EffectContext& context) {
    Song* song = context.song;
    uint8_t target = context.cell->param;
    song->nextOrderIndex = target >= static_cast<int16_t>(song->songLength) ? 0 : target;
    song->nextRow = 0;
    context.player->rowJumped = true;
}

void SetVolumeRow(Channel& channel, const EffectContext& context) {
    channel.volume = context.cell->param;  // deliberately not limited to 64
    channel.updateFlags |= kUpdateVolume;
}

void PatternBreakRow(Channel&, const EffectContext& context) {
    Song* song = context.song;
    int32_t target = 10 * ParamX(context) + ParamY(context);
    song->nextRow = target > 63 ? 0 : target;
    if (!context.player->rowJumped) {
        song->nextOrderIndex = song->orderIndex + 1;
    }
    if (song->nextOrderIndex >= static_cast<int16_t>(song->songLength)) {
        song->nextOrderIndex = 0;
    }
}

void SpeedRow(Channel&, const EffectContext& context) {
    uint8_t value = context.cell->param;
    if (value < 32) {
        context.song->speed = value;
    } else {
        SetBpm(context.song, value, context.player->outputRate);
    }
}

void GlobalVolumeRow(Channel& channel, const EffectContext& context) {
    context.song->globalVolume = context.cell->param > 64 ? 64 : context.cell->param;
    channel.updateFlags |= kUpdateVolume;
}

void GlobalVolumeSlideRow(Channel&, const EffectContext& context) {
    if (context.cell->param) {
        context.song->globalVolumeSlide = context.cell->param;
    }
}

void EnvelopePositionRow(Channel& channel, const EffectContext& context) {
    SetEnvelopePosition(channel, *context.instrument, context.cell->param);
}

void PanningSlideRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.panningSlideMemory = context.cell->param;
        channel.updateFlags |= kUpdatePanning;
    }
}

void MultiRetrigRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.retrigVolumeMode = ParamX(context);
        channel.retrigInterval = ParamY(context);
    }
}

void TremorRow(Channel& channel, const EffectContext& context) {
    if (context.cell->param) {
        channel.tremorOnTicks = static_cast<uint8_t>(ParamX(context) + 1);
        channel.tremorOffTicks = static_cast<uint8_t>(ParamY(context) + 1);
    }
    TremorStep(channel);
}

void ExtraFinePortaRow(Channel& channel, const EffectContext& context) {
    uint8_t y = ParamY(context);
    if (ParamX(context) == 1) {
        if (y) {
            channel.extraFineUpMemory = y;
        }
        channel.period -= channel.extraFineUpMemory;
    } else if (ParamX(context) == 2) {
        if (y) {
            channel.extraFineDownMemory = y;
        }
        channel.period += channel.extraFineDownMemory;
    }
}

void PatternLoopRow(Channel& channel, Song* song, uint8_t y) {
    if (y == 0) {
        channel.loopRow = song->row;
        return;
    }
    if (channel.loopCount == 0) {
        channel.loopCount = y;
    } else {
        channel.loopCount -= 1;
    }
    if (channel.loopCount != 0) {
        song->row = channel.loopRow - 1;  // the row advance after this row lands on loopRow
    }
}

void ExtendedRow(Channel& channel, const EffectContext& context) {
    uint8_t y = ParamY(context);
    switch (ParamX(context)) {
        case 0x1:
            if (y) {
                channel.finePortaUpMemory = y;
            }
            channel.period -= 4 * channel.finePortaUpMemory;
            break;
        case 0x2:
            if (y) {
                channel.finePortaDownMemory = y;
            }
            channel.period += 4 * channel.finePortaDownMemory;
            break;
        case 0x4:
            channel.waveControl = static_cast<uint8_t>((channel.waveControl & 0xF0) | y);
            break;
        case 0x5:
            // Changes the sample record itself, for every later note; the shared silent sample
            // stays untouched.
            if (context.sample != &emptySample) {
                context.sample->finetune = static_cast<int8_t>(y);
            }
            break;
        case 0x6:
            PatternLoopRow(channel, context.song, y);
            break;
        case 0x7:
            channel.waveControl = static_cast<uint8_t>((channel.waveControl & 0x0F) | (y << 4));
            break;
        case 0x8:
            channel.panning = 16 * y;
            channel.updateFlags |= kUpdatePanning;
            break;
        case 0xA:
            if (y) {
                channel.fineVolumeSlideMemory = y;
            }
            channel.volume += channel.fineVolumeSlideMemory;
            if (channel.volume > 64) {
                channel.volume = 64;
            }
            channel.updateFlags |= kUpdateVolume;
            break;
        case 0xB:
            if (y) {
                channel.fineVolumeSlideMemory = y;
            }
            channel.volume -= channel.fineVolumeSlideMemory;
            if (channel.volume < 0) {
                channel.volume = 0;
            }
            channel.updateFlags |= kUpdateVolume;
            break;
        case 0xD:
            // The delayed note is not heard yet: back to the sound of the previous row.
            channel.volume = context.savedVolume;
            channel.period = context.savedPeriod;
            channel.panning = context.savedPanning;
            channel.updateFlags &= static_cast<uint8_t>(~kLowFlags);
            break;
        case 0xE:
            context.song->patternDelay = context.song->speed * y;
            break;
        default:
            break;
    }
}

// --- other ticks ----------------------------------------------------------------------------

void ArpeggioTick(Channel& channel, const EffectContext& context) {
    if (context.cell->param == 0) {
        return;
    }
    int32_t phase = context.song->tick % 3;
    int32_t semitones = phase == 1 ? ParamX(context) : (phase == 2 ? ParamY(context) : 0);
    if (semitones != 0) {
        if (context.song->flags & 1) {
            channel.periodDelta = 64 * semitones;
        } else {
            int32_t finetune = context.sample->finetune;
            channel.periodDelta = AmigaPeriod(channel.realNote + semitones, finetune) -
                                  AmigaPeriod(channel.realNote, finetune);
        }
    }
    channel.updateFlags |= kUpdateFrequency;
}

void PortaUpTick(Channel& channel, const EffectContext&) {
    channel.period -= 4 * channel.portaUpMemory;
    if (channel.period < 56) {
        channel.period = 56;
    }
    channel.updateFlags |= kUpdateFrequency;
}

void PortaDownTick(Channel& channel, const EffectContext&) {
    channel.period += 4 * channel.portaDownMemory;
    channel.updateFlags |= kUpdateFrequency;
}

void TonePortaTick(Channel& channel, const EffectContext&) {
    TonePortamentoStep(channel);
}

void VibratoTick(Channel& channel, const EffectContext&) {
    VibratoStep(channel);
    AdvanceVibratoPhase(channel);
}

void TonePortaVolumeSlideTick(Channel& channel, const EffectContext&) {
    TonePortamentoStep(channel);
    VolumeSlide(channel);
}

void VibratoVolumeSlideTick(Channel& channel, const EffectContext&) {
    VibratoStep(channel);
    AdvanceVibratoPhase(channel);
    VolumeSlide(channel);
}

void TremoloTick(Channel& channel, const EffectContext&) {
    TremoloStep(channel);
}

void VolumeSlideTick(Channel& channel, const EffectContext&) {
    VolumeSlide(channel);
}

void GlobalVolumeSlideTick(Channel&, const EffectContext& context) {
    Song* song = context.song;
    uint8_t up = song->globalVolumeSlide >> 4;
    uint8_t down = song->globalVolumeSlide & 15;
    if (up) {
        song->globalVolume = song->globalVolume + up > 64 ? 64 : song->globalVolume + up;
    } else if (down) {
        song->globalVolume = song->globalVolume - down < 0 ? 0 : song->globalVolume - down;
    }
}

void PanningSlideTick(Channel& channel, const EffectContext&) {
    uint8_t right = channel.panningSlideMemory >> 4;
    uint8_t left = channel.panningSlideMemory & 15;
    if (right) {
        channel.panning = channel.panning + right > 255 ? 255 : channel.panning + right;
    } else if (left) {
        channel.panning = channel.panning - left < 0 ? 0 : channel.panning - left;
    }
    channel.updateFlags |= kUpdatePanning;
}

void MultiRetrigTick(Channel& channel, const EffectContext& context) {
    if (channel.retrigInterval == 0 || context.song->tick % channel.retrigInterval != 0) {
        return;
    }
    int32_t volume = channel.volume;
    uint8_t mode = channel.retrigVolumeMode;
    if (mode == 0) {
        channel.updateFlags |= kUpdateTrigger;
        return;
    }
    if (mode >= 1 && mode <= 5) {
        volume -= 1 << (mode - 1);
    } else if (mode == 6) {
        volume = 2 * volume / 3;
    } else if (mode == 7) {
        volume >>= 1;
    } else if (mode >= 9 && mode <= 13) {
        volume += 1 << (mode - 9);
    } else if (mode == 14) {
        volume = 3 * volume / 2;
    } else if (mode == 15) {
        volume *= 2;
    }
    channel.volume = ClampVolume(volume);
    channel.updateFlags |= kUpdateVolume | kUpdateTrigger;
}

void TremorTick(Channel& channel, const EffectContext&) {
    TremorStep(channel);
}

void ExtendedTick(Channel& channel, const EffectContext& context) {
    uint8_t y = ParamY(context);
    int32_t tick = context.song->tick;
    switch (ParamX(context)) {
        case 0x9:
            if (y != 0 && tick % y == 0) {
                channel.updateFlags |= kUpdateTrigger | kUpdateVolume | kUpdateFrequency;
            }
            break;
        case 0xC:
            if (tick == y) {
                channel.volume = 0;
                channel.updateFlags |= kUpdateVolume;
            }
            break;
        case 0xD:
            if (tick == y) {
                ResetChannel(channel, context.sample);
                channel.period = channel.notePeriod;
                channel.updateFlags |= kUpdateFrequency;
                if (context.cell->volume != 0) {
                    ApplyVolumeColumn(channel, context.cell->volume);
                }
                channel.updateFlags |= kUpdateTrigger;
            } else {
                channel.updateFlags &= static_cast<uint8_t>(~kLowFlags);
            }
            break;
        default:
            break;
    }
}

}  // namespace

// Index: 0-9, A = 10 ... Z = 35.
const EffectAction effectTickZero[kEffectCount] = {
    NoEffect,                 // 0 arpeggio
    PortaUpRow,               // 1
    PortaDownRow,             // 2
    TonePortaRow,             // 3
    VibratoRow,               // 4
    TonePortaVolumeSlideRow,  // 5
    VibratoVolumeSlideRow,    // 6
    TremoloRow,               // 7
    SetPanningRow,            // 8
    SampleOffsetRow,          // 9
    VolumeSlideRow,           // A
    PositionJumpRow,          // B
    SetVolumeRow,             // C
    PatternBreakRow,          // D
    ExtendedRow,              // E
    SpeedRow,                 // F
    GlobalVolumeRow,          // G
    GlobalVolumeSlideRow,     // H
    NoEffect,                 // I
    NoEffect,                 // J
    NoEffect,                 // K key off: handled by the row reader
    EnvelopePositionRow,      // L
    NoEffect,                 // M
    NoEffect,                 // N
    NoEffect,                 // O
    PanningSlideRow,          // P
    NoEffect,                 // Q
    MultiRetrigRow,           // R
    NoEffect,                 // S
    TremorRow,                // T
    NoEffect,                 // U
    NoEffect,                 // V
    NoEffect,                 // W
    ExtraFinePortaRow,        // X
    NoEffect,                 // Y
    NoEffect,                 // Z
};

const EffectAction effectOtherTick[kEffectCount] = {
    ArpeggioTick,              // 0
    PortaUpTick,               // 1
    PortaDownTick,             // 2
    TonePortaTick,             // 3
    VibratoTick,               // 4
    TonePortaVolumeSlideTick,  // 5
    VibratoVolumeSlideTick,    // 6
    TremoloTick,               // 7
    NoEffect,                  // 8
    NoEffect,                  // 9
    VolumeSlideTick,           // A
    NoEffect,                  // B
    NoEffect,                  // C
    NoEffect,                  // D
    ExtendedTick,              // E
    NoEffect,                  // F
    NoEffect,                  // G
    GlobalVolumeSlideTick,     // H
    NoEffect,                  // I
    NoEffect,                  // J
    NoEffect,                  // K
    NoEffect,                  // L
    NoEffect,                  // M
    NoEffect,                  // N
    NoEffect,                  // O
    PanningSlideTick,          // P
    NoEffect,                  // Q
    MultiRetrigTick,           // R
    NoEffect,                  // S
    TremorTick,                // T
    NoEffect,                  // U
    NoEffect,                  // V
    NoEffect,                  // W
    NoEffect,                  // X
    NoEffect,                  // Y
    NoEffect,                  // Z
};
