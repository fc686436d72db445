// Vibrato, tremolo, tremor and tone portamento steps and their waveform table.
#include <cmath>
#include <numbers>

#include "music/effects.h"

namespace {

// Waveform values for phases -32..31, indexed by phase + 32.
struct WaveTables {
    int32_t sine[64];
    int32_t ramp[64];
};

WaveTables BuildWaveTables() {
    WaveTables tables{};
    for (int32_t p = -32; p < 32; ++p) {
        tables.sine[p + 32] =
            static_cast<int32_t>(std::fabs(std::sin(p * std::numbers::pi / 32.0)) * 256.0);
        tables.ramp[p + 32] = p >= 0 ? 8 * p : 255 - ((8 * p) & 255);
    }
    return tables;
}

const WaveTables waveTables = BuildWaveTables();

}  // namespace

int32_t ModulatorWave(int32_t shape, int32_t phase) {
    int32_t index = (phase + 32) & 63;
    if (shape == 0) {
        return waveTables.sine[index];
    }
    if (shape == 1) {
        return waveTables.ramp[index];
    }
    return 255;
}

void VibratoStep(Channel& channel) {
    // Waveform 0 sine, 1 ramp, 2 and 3 square.
    int32_t shape = channel.waveControl & 3;
    int32_t wave = ModulatorWave(shape > 2 ? 2 : shape, channel.vibratoPosition);
    int32_t amount = ((channel.vibratoDepth * wave) >> 5) & ~3;
    channel.periodDelta = channel.vibratoPosition >= 0 ? -amount : amount;
    channel.updateFlags |= kUpdateFrequency;
}

void TremoloStep(Channel& channel) {
    // Waveform 0 and 3 sine, 1 ramp, 2 square.
    int32_t shape = (channel.waveControl >> 4) & 3;
    int32_t wave = ModulatorWave(shape == 3 ? 0 : shape, channel.tremoloPosition);
    int32_t amount = (channel.tremoloDepth * wave) >> 6;
    if (channel.tremoloPosition < 0) {
        if (channel.volume - amount < 0) {
            amount = channel.volume;
        }
        channel.volumeDelta = -amount;
    } else {
        if (channel.volume + amount > 64) {
            amount = 64 - channel.volume;
        }
        channel.volumeDelta = amount;
    }
    channel.tremoloPosition = static_cast<int8_t>(channel.tremoloPosition + channel.tremoloSpeed);
    if (channel.tremoloPosition > 31) {
        channel.tremoloPosition = static_cast<int8_t>(channel.tremoloPosition - 64);
    }
    channel.updateFlags |= kUpdateVolume;
}

void TremorStep(Channel& channel) {
    if (channel.tremorCounter >= channel.tremorOnTicks) {
        channel.volumeDelta = -channel.volume;
    }
    channel.tremorCounter += 1;
    if (channel.tremorCounter >= channel.tremorOnTicks + channel.tremorOffTicks) {
        channel.tremorCounter = 0;
    }
    channel.updateFlags |= kUpdateVolume;
}

void TonePortamentoStep(Channel& channel) {
    int32_t speed = 4 * channel.portaSpeed;
    if (channel.period < channel.portaTarget) {
        channel.period += speed;
        if (channel.period > channel.portaTarget) {
            channel.period = channel.portaTarget;
        }
    } else if (channel.period > channel.portaTarget) {
        channel.period -= speed;
        if (channel.period < channel.portaTarget) {
            channel.period = channel.portaTarget;
        }
    }
    channel.updateFlags |= kUpdateFrequency;
}
