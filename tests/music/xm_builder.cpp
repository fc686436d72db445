// XM image builder and tick-by-tick start-up for the music tests.
#include "xm_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

#include "music/channel.h"
#include "music/player.h"
#include "music/voice.h"

namespace {

// Little-endian `bytes` bytes of value; bytes beyond the fourth are zero.
void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(i < 4 ? static_cast<uint8_t>(value >> (8 * i)) : 0);
    }
}

void PackCell(std::vector<uint8_t>& out, const Cell& cell) {
    const uint8_t fields[5] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.param};
    const size_t maskAt = out.size();
    out.push_back(0x80);
    for (int i = 0; i < 5; ++i) {
        if (fields[i]) {
            out[maskAt] |= static_cast<uint8_t>(1 << i);
            out.push_back(fields[i]);
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
                data.insert(data.end(),
                            {cell.note, cell.instrument, cell.volume, cell.effect, cell.param});
            }
        }
    }
    Put(out, 9, 4);
    Put(out, 0, 1);
    Put(out, static_cast<uint32_t>(pattern.rows), 2);
    Put(out, pattern.zeroPackedSize ? 0 : static_cast<uint32_t>(data.size()), 2);
    if (!pattern.zeroPackedSize) {
        out.insert(out.end(), data.begin(), data.end());
    }
}

void PutInstrument(std::vector<uint8_t>& out, const XmInstrumentLayout& instrument) {
    size_t start = out.size();
    const auto sampleCount = static_cast<uint32_t>(instrument.samples.size());
    Put(out, instrument.headerSize, 4);
    Put(out, 0, 23);  // name and type
    Put(out, sampleCount, 2);
    if (sampleCount > 0) {
        Put(out, 40, 4);
        out.insert(out.end(), instrument.keymap.begin(), instrument.keymap.end());
        for (const auto* envelope : {&instrument.volumeEnvelope, &instrument.panningEnvelope}) {
            for (const EnvelopePoint& point : *envelope) {
                Put(out, point.x | (static_cast<uint32_t>(point.y) << 16), 4);
            }
        }
        for (uint8_t value :
             {instrument.volumePointCount, instrument.panningPointCount, instrument.volumeSustain,
              instrument.volumeLoopStart, instrument.volumeLoopEnd, instrument.panningSustain,
              instrument.panningLoopStart, instrument.panningLoopEnd, instrument.volumeType,
              instrument.panningType, instrument.vibratoType, instrument.vibratoSweep,
              instrument.vibratoDepth, instrument.vibratoRate}) {
            Put(out, value, 1);
        }
        Put(out, instrument.fadeout, 2);
    }
    // Pad (or cut) the header to its declared size.
    out.resize(start + instrument.headerSize, 0);
    for (const XmSampleLayout& sample : instrument.samples) {
        for (uint32_t value : {sample.lengthBytes, sample.loopStartBytes, sample.loopLengthBytes}) {
            Put(out, value, 4);
        }
        out.insert(out.end(), {sample.volume, static_cast<uint8_t>(sample.finetune), sample.type,
                               sample.panning, static_cast<uint8_t>(sample.relativeNote)});
        Put(out, 0, 23);
    }
    for (const XmSampleLayout& sample : instrument.samples) {
        out.insert(out.end(), sample.data.begin(), sample.data.end());
    }
}

}  // namespace

std::vector<uint8_t> BuildXm(const XmSongLayout& layout) {
    std::vector<uint8_t> out(layout.signature.begin(), layout.signature.end());
    out.resize(60, 0);
    Put(out, 276, 4);  // header size
    for (uint32_t value :
         {uint32_t{layout.songLength}, uint32_t{layout.restartPosition},
          uint32_t{layout.channelCount}, static_cast<uint32_t>(layout.patterns.size()),
          static_cast<uint32_t>(layout.instruments.size()), uint32_t{layout.flags},
          uint32_t{layout.defaultTempo}, uint32_t{layout.defaultBpm}}) {
        Put(out, value, 2);
    }
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
        Put(out, static_cast<uint16_t>(static_cast<uint16_t>(value) - previous), 2);
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
