// Channel reset, volume and panning envelopes, fadeout and the instrument's auto-vibrato.
#include <cmath>

#include "music/effects.h"
#include "music/replay_constants.h"

namespace {

constexpr int32_t kMaxEnvelopePoints = 12;

// The instrument's description of one envelope and the channel's six fields that follow it.
struct EnvelopeView {
    const EnvelopePoint* points;
    int32_t pointCount;
    uint8_t type;
    uint8_t sustain;
    uint8_t loopStart;
    uint8_t loopEnd;
    int32_t* tick;
    int32_t* point;
    int32_t* fixed;
    int32_t* value;
    int32_t* step;
    uint8_t* done;
    uint8_t flag;
};

EnvelopeView ViewOf(Channel& channel, const Instrument& instrument, EnvelopeKind kind) {
    if (kind == EnvelopeKind::Volume) {
        return EnvelopeView{instrument.volumeEnvelope,
                            instrument.volumePointCount,
                            instrument.volumeType,
                            instrument.volumeSustain,
                            instrument.volumeLoopStart,
                            instrument.volumeLoopEnd,
                            &channel.volumeEnvelopeTick,
                            &channel.volumeEnvelopePoint,
                            &channel.volumeEnvelopeFixed,
                            &channel.volumeEnvelopeValue,
                            &channel.volumeEnvelopeStep,
                            &channel.volumeEnvelopeDone,
                            kUpdateVolume};
    }
    return EnvelopeView{instrument.panningEnvelope,
                        instrument.panningPointCount,
                        instrument.panningType,
                        instrument.panningSustain,
                        instrument.panningLoopStart,
                        instrument.panningLoopEnd,
                        &channel.panningEnvelopeTick,
                        &channel.panningEnvelopePoint,
                        &channel.panningEnvelopeFixed,
                        &channel.panningEnvelopeValue,
                        &channel.panningEnvelopeStep,
                        &channel.panningEnvelopeDone,
                        kUpdatePanning};
}

// 16.16 slope from point a to point b; 0 when they share their x. Computed in 64 bits and
// wrapped to 32 so that out-of-range point values cannot overflow.
int32_t SegmentStep(const EnvelopePoint& a, const EnvelopePoint& b) {
    int64_t dx = static_cast<int64_t>(b.x) - a.x;
    if (dx == 0) {
        return 0;
    }
    int64_t dy = static_cast<int64_t>(b.y) - a.y;
    return static_cast<int32_t>(static_cast<uint32_t>((dy * 65536) / dx));
}

int32_t WrapToInt32(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

void ResetChannel(Channel& channel, Sample* sample) {
    channel.volume = sample->volume;
    channel.panning = sample->panning;
    channel.volumeEnvelopeValue = 64;
    channel.volumeEnvelopePoint = 0;
    channel.volumeEnvelopeTick = 0;
    channel.volumeEnvelopeStep = 0;
    channel.volumeEnvelopeDone = 0;
    channel.panningEnvelopeValue = 32;
    channel.panningEnvelopePoint = 0;
    channel.panningEnvelopeTick = 0;
    channel.panningEnvelopeStep = 0;
    channel.panningEnvelopeDone = 0;
    channel.keyOff = 0;
    channel.fadeoutVolume = 65536;
    channel.autoVibratoSweep = 0;
    channel.autoVibratoPosition = 0;
    if ((channel.waveControl & 0x0F) < 4) {
        channel.vibratoPosition = 0;
    }
    if ((channel.waveControl >> 4) < 4) {
        channel.tremoloPosition = 0;
    }
    channel.tremorCounter = 0;
    channel.updateFlags |= kUpdateVolume | kUpdatePanning;
}

void EnvelopeStep(Channel& channel, const Instrument& instrument, EnvelopeKind kind) {
    EnvelopeView e = ViewOf(channel, instrument, kind);
    int32_t count = e.pointCount > kMaxEnvelopePoints ? kMaxEnvelopePoints : e.pointCount;
    int32_t& i = *e.point;
    int32_t& t = *e.tick;
    if (i >= 0 && i < count) {
        if (t != e.points[i].x) {
            *e.fixed = WrapToInt32(static_cast<int64_t>(*e.fixed) + *e.step);
        } else {
            // A loop or sustain index outside the points is ignored.
            if ((e.type & 4) && i == e.loopEnd && e.loopStart < count) {
                i = e.loopStart;
                t = e.points[i].x;
            }
            if (i == count - 1) {
                *e.value = e.points[i].y;
                *e.done = 1;
                channel.updateFlags |= e.flag;
                return;
            }
            if ((e.type & 2) && i == e.sustain && channel.keyOff == 0) {
                *e.value = e.points[i].y;
                channel.updateFlags |= e.flag;
                return;
            }
            *e.step = SegmentStep(e.points[i], e.points[i + 1]);
            *e.fixed = WrapToInt32(static_cast<int64_t>(e.points[i].y) * 65536);
            i += 1;
        }
    }
    *e.value = *e.fixed >> 16;
    t += 1;
    channel.updateFlags |= e.flag;
}

void SetEnvelopePosition(Channel& channel, const Instrument& instrument, uint8_t position) {
    if (!(instrument.volumeType & 1)) {
        return;
    }
    int32_t count = instrument.volumePointCount > kMaxEnvelopePoints ? kMaxEnvelopePoints
                                                                     : instrument.volumePointCount;
    if (count < 1) {
        return;
    }
    const EnvelopePoint* points = instrument.volumeEnvelope;
    int32_t j = 0;
    while (j < count - 1 && position > points[j + 1].x) {
        ++j;
    }
    channel.volumeEnvelopePoint = j;
    if (j >= count - 1) {
        channel.volumeEnvelopeValue = points[count - 1].y;
        channel.volumeEnvelopeDone = 1;
        return;
    }
    channel.volumeEnvelopeDone = 0;
    channel.volumeEnvelopeTick = position;
    channel.volumeEnvelopeStep = SegmentStep(points[j], points[j + 1]);
    channel.volumeEnvelopePoint = j + 1;
    channel.volumeEnvelopeFixed =
        WrapToInt32(static_cast<int64_t>(points[j].y) * 65536 +
                    (static_cast<int64_t>(position) - points[j].x) * channel.volumeEnvelopeStep);
    channel.volumeEnvelopeValue = channel.volumeEnvelopeFixed >> 16;
}

void FadeoutStep(Channel& channel, const Instrument& instrument) {
    channel.fadeoutVolume -= instrument.fadeout;
    if (channel.fadeoutVolume < 0) {
        channel.fadeoutVolume = 0;
    }
    channel.updateFlags |= kUpdateVolume;
}

namespace {

// Single precision throughout, so that the peaks reach +-64.
int32_t AutoVibratoSine(int32_t phase) {
    return static_cast<int32_t>(std::sin(static_cast<float>(phase) * kAutoVibratoPhaseScale) *
                                64.0f);
}

struct AutoVibratoTable {
    int32_t sine[256];
};

AutoVibratoTable BuildAutoVibratoTable() {
    AutoVibratoTable table{};
    for (int32_t phase = 0; phase < 256; ++phase) {
        table.sine[phase] = AutoVibratoSine(phase);
    }
    return table;
}

const AutoVibratoTable autoVibratoTable = BuildAutoVibratoTable();

}  // namespace

int32_t AutoVibratoWave(int32_t type, int32_t phase) {
    switch (type) {
        case 0:
            return phase >= 0 && phase < 256 ? autoVibratoTable.sine[phase]
                                             : AutoVibratoSine(phase);
        case 1:
            return phase < 128 ? 64 : -64;
        case 2:
            return (128 - ((phase + 128) & 255)) >> 1;
        case 3:
            return (128 - ((384 - phase) & 255)) >> 1;
        default:
            return 0;  // no waveform defined: no auto-vibrato
    }
}

void AutoVibratoStep(Channel& channel, const Instrument& instrument) {
    int32_t depth = instrument.vibratoDepth *
                    AutoVibratoWave(instrument.vibratoType, channel.autoVibratoPosition);
    if (instrument.vibratoSweep != 0) {
        depth = channel.autoVibratoSweep * depth / instrument.vibratoSweep;
    }
    channel.periodDelta += depth >> 6;
    channel.autoVibratoSweep += 1;
    if (channel.autoVibratoSweep > instrument.vibratoSweep) {
        channel.autoVibratoSweep = instrument.vibratoSweep;
    }
    channel.autoVibratoPosition += instrument.vibratoRate;
    if (channel.autoVibratoPosition > 255) {
        channel.autoVibratoPosition -= 256;
    }
    channel.updateFlags |= kUpdateFrequency;
}
