// XM image builder and tick-by-tick start-up for the music tests.
#include "xm_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "music/channel.h"
#include "music/player.h"
#include "music/voice.h"

namespace {

void Put8(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    Put8(out, value);
    Put8(out, value >> 8);
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value);
    Put16(out, value >> 16);
}

void PutZeros(std::vector<uint8_t>& out, size_t count) {
    out.insert(out.end(), count, 0);
}

void PackCell(std::vector<uint8_t>& out, const Cell& cell) {
    uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.param};
    uint8_t mask = 0x80;
    for (int i = 0; i < 5; ++i) {
        if (fields[i]) {
            mask |= static_cast<uint8_t>(1 << i);
        }
    }
    Put8(out, mask);
    for (int i = 0; i < 5; ++i) {
        if (fields[i]) {
            Put8(out, fields[i]);
        }
    }
}

void PutPattern(std::vector<uint8_t>& out, const XmPatternLayout& pattern, int32_t channels) {
    std::vector<uint8_t> data = pattern.rawData;
    if (data.empty() && !pattern.zeroPackedSize) {
        for (int32_t i = 0; i < pattern.rows * channels; ++i) {
            Cell cell = i < static_cast<int32_t>(pattern.cells.size()) ? pattern.cells[i] : Cell{};
            if (pattern.packed) {
                PackCell(data, cell);
            } else {
                Put8(data, cell.note);
                Put8(data, cell.instrument);
                Put8(data, cell.volume);
                Put8(data, cell.effect);
                Put8(data, cell.param);
            }
        }
    }
    Put32(out, 9);
    Put8(out, 0);
    Put16(out, static_cast<uint32_t>(pattern.rows));
    Put16(out, pattern.zeroPackedSize ? 0 : static_cast<uint32_t>(data.size()));
    if (!pattern.zeroPackedSize) {
        out.insert(out.end(), data.begin(), data.end());
    }
}

void PutInstrument(std::vector<uint8_t>& out, const XmInstrumentLayout& instrument) {
    size_t start = out.size();
    const auto sampleCount = static_cast<uint32_t>(instrument.samples.size());
    Put32(out, instrument.headerSize);
    PutZeros(out, 22);  // name
    Put8(out, 0);       // type
    Put16(out, sampleCount);
    if (sampleCount > 0) {
        Put32(out, 40);
        out.insert(out.end(), instrument.keymap.begin(), instrument.keymap.end());
        for (const EnvelopePoint& point : instrument.volumeEnvelope) {
            Put16(out, point.x);
            Put16(out, point.y);
        }
        for (const EnvelopePoint& point : instrument.panningEnvelope) {
            Put16(out, point.x);
            Put16(out, point.y);
        }
        for (uint8_t value :
             {instrument.volumePointCount, instrument.panningPointCount, instrument.volumeSustain,
              instrument.volumeLoopStart, instrument.volumeLoopEnd, instrument.panningSustain,
              instrument.panningLoopStart, instrument.panningLoopEnd, instrument.volumeType,
              instrument.panningType, instrument.vibratoType, instrument.vibratoSweep,
              instrument.vibratoDepth, instrument.vibratoRate}) {
            Put8(out, value);
        }
        Put16(out, instrument.fadeout);
    }
    // Pad (or cut) the header to its declared size.
    out.resize(start + instrument.headerSize, 0);
    for (const XmSampleLayout& sample : instrument.samples) {
        Put32(out, sample.lengthBytes);
        Put32(out, sample.loopStartBytes);
        Put32(out, sample.loopLengthBytes);
        Put8(out, sample.volume);
        Put8(out, static_cast<uint8_t>(sample.finetune));
        Put8(out, sample.type);
        Put8(out, sample.panning);
        Put8(out, static_cast<uint8_t>(sample.relativeNote));
        PutZeros(out, 23);
    }
    for (const XmSampleLayout& sample : instrument.samples) {
        out.insert(out.end(), sample.data.begin(), sample.data.end());
    }
}

}  // namespace

std::vector<uint8_t> BuildXm(const XmSongLayout& layout) {
    std::vector<uint8_t> out(layout.signature.begin(), layout.signature.end());
    out.resize(60, 0);
    Put32(out, 276);  // header size
    Put16(out, layout.songLength);
    Put16(out, layout.restartPosition);
    Put16(out, layout.channelCount);
    Put16(out, static_cast<uint32_t>(layout.patterns.size()));
    Put16(out, static_cast<uint32_t>(layout.instruments.size()));
    Put16(out, layout.flags);
    Put16(out, layout.defaultTempo);
    Put16(out, layout.defaultBpm);
    out.insert(out.end(), layout.orders.begin(), layout.orders.end());
    out.resize(60 + 276, 0);
    for (const XmPatternLayout& pattern : layout.patterns) {
        PutPattern(out, pattern, layout.channelCount);
    }
    for (const XmInstrumentLayout& instrument : layout.instruments) {
        PutInstrument(out, instrument);
    }
    return out;
}

std::vector<uint8_t> DeltaEncode16(const std::vector<int16_t>& values) {
    std::vector<uint8_t> out;
    uint16_t previous = 0;
    for (int16_t value : values) {
        uint16_t delta = static_cast<uint16_t>(static_cast<uint16_t>(value) - previous);
        out.push_back(static_cast<uint8_t>(delta));
        out.push_back(static_cast<uint8_t>(delta >> 8));
        previous = static_cast<uint16_t>(value);
    }
    return out;
}

XmSampleLayout MakeSample8(uint32_t length, uint32_t loopStart, uint32_t loopLength, uint8_t type) {
    XmSampleLayout sample;
    sample.lengthBytes = length;
    sample.loopStartBytes = loopStart;
    sample.loopLengthBytes = loopLength;
    sample.type = type;
    for (uint32_t i = 0; i < length; ++i) {  // deltas of the values i % 64
        sample.data.push_back(i % 64 == 0 ? static_cast<uint8_t>(i == 0 ? 0 : -63) : 1);
    }
    return sample;
}

XmInstrumentLayout MakeInstrument(const XmSampleLayout& sample) {
    XmInstrumentLayout instrument;
    instrument.samples.push_back(sample);
    return instrument;
}

XmSongLayout MakeSongLayout(int32_t channels, int32_t patternCount) {
    XmSongLayout layout;
    layout.channelCount = static_cast<uint16_t>(channels);
    layout.songLength = static_cast<uint16_t>(patternCount);
    for (int32_t p = 0; p < patternCount; ++p) {
        layout.orders[p] = static_cast<uint8_t>(p);
        layout.patterns.push_back(XmPatternLayout{});
    }
    layout.instruments.push_back(MakeInstrument(MakeSample8(1000, 0, 1000, 1)));
    return layout;
}

void SetCell(XmSongLayout& layout, int32_t pattern, int32_t row, int32_t channel, Cell cell) {
    XmPatternLayout& target = layout.patterns[pattern];
    target.cells.resize(static_cast<size_t>(target.rows) * layout.channelCount);
    target.cells[static_cast<size_t>(row) * layout.channelCount + channel] = cell;
}

void SetCells(XmSongLayout& layout, const std::string& text) {
    std::istringstream entries(text);
    std::string entry;
    while (std::getline(entries, entry, ';')) {
        std::istringstream in(entry);
        int32_t row = 0, channel = 0, note = 0, instrument = 0;
        uint32_t volume = 0, effect = 0, param = 0;
        in >> row >> channel >> note >> instrument >> std::hex >> volume >> effect >> param;
        if (!in && !in.eof()) {
            ADD_FAILURE() << "bad cell text: " << entry;
            continue;
        }
        SetCell(layout, row / 64, row % 64, channel,
                Cell{static_cast<uint8_t>(note), static_cast<uint8_t>(instrument),
                     static_cast<uint8_t>(volume), static_cast<uint8_t>(effect),
                     static_cast<uint8_t>(param)});
    }
}

Song* LoadImage(const std::vector<uint8_t>& image) {
    return SongFromMemory(image.data(), image.size());
}

void StartForTest(Song* song) {
    Player& player = testPlayer;
    player.outputRate = 44100;
    ResetVoices(player);
    for (int32_t c = 0; c < kMaxChannels; ++c) {
        player.channels[c] = Channel{};
        player.channels[c].voice = &player.voices[c];
    }
    player.song = song;
    player.processedRow = ProcessedRow{nullptr, 0, 0};
    ResetSongPlayback(song, player.outputRate);
}

Song* LoadAndStart(const XmSongLayout& layout) {
    Song* song = LoadImage(BuildXm(layout));
    if (song) {
        StartForTest(song);
    }
    return song;
}
