// The cell's volume byte: its tick-0 action and its other-tick actions by high nibble.
#include "music/effects.h"

namespace {

void VolumeColumnSlideDown(Channel& channel, const EffectContext& context) {
    channel.volume = SlideVolumeDown(channel.volume, context.cell->volume & 15);
    channel.updateFlags |= kUpdateVolume;
}

void VolumeColumnSlideUp(Channel& channel, const EffectContext& context) {
    channel.volume = SlideVolumeUp(channel.volume, context.cell->volume & 15);
    channel.updateFlags |= kUpdateVolume;
}

void VolumeColumnVibrato(Channel& channel, const EffectContext& context) {
    channel.vibratoDepth = context.cell->volume & 15;
    VibratoStep(channel);
    AdvanceVibratoPhase(channel);
}

// The volume byte's panning slides are deliberately not limited; the voice clamps.
void VolumeColumnPanLeft(Channel& channel, const EffectContext& context) {
    channel.panning -= context.cell->volume & 15;
    channel.updateFlags |= kUpdatePanning;
}

void VolumeColumnPanRight(Channel& channel, const EffectContext& context) {
    channel.panning += context.cell->volume & 15;
    channel.updateFlags |= kUpdatePanning;
}

void VolumeColumnTonePorta(Channel& channel, const EffectContext&) {
    TonePortamentoStep(channel);
}

}  // namespace

const EffectAction volumeColumnOtherTick[16] = {
    NoEffect,               // 0x00
    NoEffect,               // 0x10-0x50 set volume
    NoEffect,               //
    NoEffect,               //
    NoEffect,               //
    NoEffect,               //
    VolumeColumnSlideDown,  // 0x60
    VolumeColumnSlideUp,    // 0x70
    NoEffect,               // 0x80 fine slide down
    NoEffect,               // 0x90 fine slide up
    NoEffect,               // 0xA0 vibrato speed
    VolumeColumnVibrato,    // 0xB0
    NoEffect,               // 0xC0 set panning
    VolumeColumnPanLeft,    // 0xD0
    VolumeColumnPanRight,   // 0xE0
    VolumeColumnTonePorta,  // 0xF0
};

void ApplyVolumeColumn(Channel& channel, uint8_t volumeByte) {
    uint8_t y = volumeByte & 15;
    if (volumeByte >= 0x10 && volumeByte <= 0x50) {
        channel.volume = volumeByte - 16;
        channel.updateFlags |= kUpdateVolume;
        return;
    }
    switch (volumeByte >> 4) {
        case 0x6:
        case 0x8:
            channel.volume = SlideVolumeDown(channel.volume, y);
            channel.updateFlags |= kUpdateVolume;
            break;
        case 0x7:
        case 0x9:
            channel.volume = SlideVolumeUp(channel.volume, y);
            channel.updateFlags |= kUpdateVolume;
            break;
        case 0xA:
            channel.vibratoSpeed = y;
            break;
        case 0xB:
            channel.vibratoDepth = y;
            break;
        case 0xC:
            channel.panning = 16 * y;
            channel.updateFlags |= kUpdatePanning;
            break;
        case 0xD:
            channel.panning -= y;
            channel.updateFlags |= kUpdatePanning;
            break;
        case 0xE:
            channel.panning += y;
            channel.updateFlags |= kUpdatePanning;
            break;
        case 0xF:
            if (y) {
                channel.portaSpeed = static_cast<uint8_t>(16 * y);
            }
            channel.portaTarget = channel.notePeriod;
            channel.updateFlags &= static_cast<uint8_t>(~kUpdateTrigger);
            break;
        default:
            break;
    }
}
