// XM 1.04 writer: little-endian headers, packed pattern cells and delta-coded sample data.
#include "xm_writer.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr uint32_t kSongHeaderSize = 276;        // counted from offset 60
constexpr uint32_t kInstrumentHeaderSize = 263;  // full header, also for empty instruments
constexpr uint32_t kSampleHeaderSize = 40;

void PutU8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
}

void PutU16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

// Fixed-width text field, padded with zeros (FT2 pads names with spaces or zeros alike).
void PutText(std::vector<uint8_t>& out, const std::string& text, size_t width) {
    for (size_t i = 0; i < width; ++i) {
        out.push_back(i < text.size() ? uint8_t(text[i]) : 0);
    }
}

void PutPattern(std::vector<uint8_t>& out, const XmPattern& pattern) {
    std::vector<uint8_t> packed;
    for (const XmCell& cell : pattern.cells) {
        const uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect,
                                   cell.param};
        uint8_t mask = 0;
        for (int i = 0; i < 5; ++i) {
            if (fields[i] != 0) {
                mask |= uint8_t(1 << i);
            }
        }
        if (mask == 0x1F) {
            packed.insert(packed.end(), fields, fields + 5);  // all present: unpacked is shorter
            continue;
        }
        packed.push_back(uint8_t(0x80 | mask));
        for (int i = 0; i < 5; ++i) {
            if (fields[i] != 0) {
                packed.push_back(fields[i]);
            }
        }
    }
    bool empty = std::all_of(pattern.cells.begin(), pattern.cells.end(), [](const XmCell& c) {
        return c.note == 0 && c.instrument == 0 && c.volume == 0 && c.effect == 0 && c.param == 0;
    });
    if (empty) {
        packed.clear();  // FT2 stores an empty pattern without data
    }
    PutU32(out, 9);
    PutU8(out, 0);
    PutU16(out, uint32_t(pattern.rowCount));
    PutU16(out, uint32_t(packed.size()));
    out.insert(out.end(), packed.begin(), packed.end());
}

void PutEnvelopePoints(std::vector<uint8_t>& out, const XmEnvelope& envelope) {
    for (size_t i = 0; i < 12; ++i) {
        XmEnvelopePoint point = i < envelope.points.size() ? envelope.points[i] : XmEnvelopePoint{};
        PutU16(out, point.x);
        PutU16(out, point.y);
    }
}

uint8_t EnvelopeType(const XmEnvelope& envelope) {
    if (envelope.points.size() < 2) {
        return 0;
    }
    return uint8_t(1 | (envelope.sustain ? 2 : 0) | (envelope.loop ? 4 : 0));
}

uint32_t SampleBytes(const XmSample& sample) {
    return uint32_t(sample.data.size()) * (sample.sixteenBit ? 2 : 1);
}

void PutSampleHeader(std::vector<uint8_t>& out, const XmSample& sample) {
    uint32_t scale = sample.sixteenBit ? 2 : 1;
    bool looping = sample.loop != XmLoop::none && sample.loopLength > 0;
    PutU32(out, SampleBytes(sample));
    PutU32(out, looping ? sample.loopStart * scale : 0);
    PutU32(out, looping ? sample.loopLength * scale : 0);
    PutU8(out, sample.volume);
    PutU8(out, uint8_t(sample.finetune));
    PutU8(out, uint32_t(looping ? uint8_t(sample.loop) : 0) | (sample.sixteenBit ? 0x10 : 0));
    PutU8(out, sample.panning);
    PutU8(out, uint8_t(sample.relativeNote));
    PutU8(out, 0);
    PutText(out, sample.name, 22);
}

void PutSampleData(std::vector<uint8_t>& out, const XmSample& sample) {
    int32_t previous = 0;
    for (int16_t value : sample.data) {
        int32_t delta = int32_t(value) - previous;
        previous = value;
        if (sample.sixteenBit) {
            PutU16(out, uint32_t(delta) & 0xFFFF);
        } else {
            PutU8(out, uint32_t(delta) & 0xFF);
        }
    }
}

void PutInstrument(std::vector<uint8_t>& out, const XmInstrument& instrument) {
    size_t start = out.size();
    PutU32(out, kInstrumentHeaderSize);
    PutText(out, instrument.name, 22);
    PutU8(out, 0);
    PutU16(out, uint32_t(instrument.samples.size()));
    PutU32(out, kSampleHeaderSize);
    out.insert(out.end(), instrument.keymap.begin(), instrument.keymap.end());
    PutEnvelopePoints(out, instrument.volumeEnvelope);
    PutEnvelopePoints(out, instrument.panningEnvelope);
    PutU8(out, uint32_t(instrument.volumeEnvelope.points.size()));
    PutU8(out, uint32_t(instrument.panningEnvelope.points.size()));
    PutU8(out, instrument.volumeEnvelope.sustainPoint);
    PutU8(out, instrument.volumeEnvelope.loopStart);
    PutU8(out, instrument.volumeEnvelope.loopEnd);
    PutU8(out, instrument.panningEnvelope.sustainPoint);
    PutU8(out, instrument.panningEnvelope.loopStart);
    PutU8(out, instrument.panningEnvelope.loopEnd);
    PutU8(out, EnvelopeType(instrument.volumeEnvelope));
    PutU8(out, EnvelopeType(instrument.panningEnvelope));
    PutU8(out, instrument.vibratoType);
    PutU8(out, instrument.vibratoSweep);
    PutU8(out, instrument.vibratoDepth);
    PutU8(out, instrument.vibratoRate);
    PutU16(out, instrument.fadeout);
    out.resize(start + kInstrumentHeaderSize, 0);  // reserved bytes
    for (const XmSample& sample : instrument.samples) {
        PutSampleHeader(out, sample);
    }
    for (const XmSample& sample : instrument.samples) {
        PutSampleData(out, sample);
    }
}

}  // namespace

std::vector<uint8_t> WriteXm(const XmModule& module) {
    std::vector<uint8_t> out;
    PutText(out, "Extended Module: ", 17);
    PutText(out, module.name, 20);
    PutU8(out, 0x1A);
    PutText(out, "compose_songs", 20);
    PutU16(out, 0x0104);
    PutU32(out, kSongHeaderSize);
    PutU16(out, uint32_t(module.orders.size()));
    PutU16(out, module.restartPosition);
    PutU16(out, module.channelCount);
    PutU16(out, uint32_t(module.patterns.size()));
    PutU16(out, uint32_t(module.instruments.size()));
    PutU16(out, module.linearFrequencies ? 1 : 0);
    PutU16(out, module.defaultTempo);
    PutU16(out, module.defaultBpm);
    for (size_t i = 0; i < 256; ++i) {
        PutU8(out, i < module.orders.size() ? module.orders[i] : 0);
    }
    for (const XmPattern& pattern : module.patterns) {
        PutPattern(out, pattern);
    }
    for (const XmInstrument& instrument : module.instruments) {
        PutInstrument(out, instrument);
    }
    return out;
}
