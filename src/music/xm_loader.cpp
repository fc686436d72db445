// LoadXm: reads an XM image from memory into the song model.
#include <cstdlib>
#include <cstring>

#include "music/song.h"

Sample emptySample = {};

namespace {

constexpr char kSignature[] = "Extended Module: ";
constexpr int32_t kSignatureLength = 17;
constexpr int32_t kMaxPatternRows = 256;
constexpr int32_t kMaxFilePatterns = 256;
constexpr int32_t kMaxEnvelopePoints = 12;
constexpr uint16_t kMaxEnvelopeValue = 64;
constexpr uint8_t kKeyOffNote = 255;

// The image being read. Every read must deliver all its bytes: an image that ends early is
// refused. The position never passes the end (a seek there stops at it).
struct Reader {
    const uint8_t* image;
    int64_t size;
    int64_t position;
    bool ok;
};

bool ReadBytes(Reader& reader, void* destination, int32_t count) {
    if (!reader.ok) {
        return false;
    }
    int64_t available = reader.size - reader.position;
    int64_t n = count <= 0 ? 0 : (count < available ? count : available);
    if (n > 0) {
        std::memcpy(destination, reader.image + reader.position, static_cast<size_t>(n));
        reader.position += n;
    }
    if (n != count) {
        reader.ok = false;
    }
    return reader.ok;
}

// Moves forward over bytes that are not read.
void Skip(Reader& reader, int64_t count) {
    reader.position = reader.position + count > reader.size ? reader.size : reader.position + count;
}

uint8_t ReadU8(Reader& reader) {
    uint8_t value = 0;
    ReadBytes(reader, &value, 1);
    return value;
}

uint16_t ReadU16(Reader& reader) {
    uint8_t bytes[2] = {};
    ReadBytes(reader, bytes, 2);
    return static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
}

uint32_t ReadU32(Reader& reader) {
    uint8_t bytes[4] = {};
    ReadBytes(reader, bytes, 4);
    return static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
           (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

// Seeks to an absolute position computed in 64 bits; a position outside the image's range
// fails the load instead of wrapping.
bool SeekTo(Reader& reader, int64_t position) {
    if (position < 0 || position > INT32_MAX) {
        reader.ok = false;
        return false;
    }
    reader.position = position > reader.size ? reader.size : position;
    return true;
}

void UnpackCell(Reader& reader, Cell& cell) {
    uint8_t pack = ReadU8(reader);
    if (pack & 0x80) {
        if (pack & 0x01)
            cell.note = ReadU8(reader);
        if (pack & 0x02)
            cell.instrument = ReadU8(reader);
        if (pack & 0x04)
            cell.volume = ReadU8(reader);
        if (pack & 0x08)
            cell.effect = ReadU8(reader);
        if (pack & 0x10)
            cell.param = ReadU8(reader);
    } else {
        if (pack != 0) {
            cell.note = pack;
        }
        cell.instrument = ReadU8(reader);
        cell.volume = ReadU8(reader);
        cell.effect = ReadU8(reader);
        cell.param = ReadU8(reader);
    }
    if (cell.note == 97) {
        cell.note = kKeyOffNote;
    }
    if (cell.instrument > 128) {
        cell.instrument = 0;
    }
}

Cell* AllocateCells(int32_t channelCount, int32_t rowCount) {
    if (channelCount <= 0 || rowCount <= 0) {
        return nullptr;
    }
    return static_cast<Cell*>(std::calloc(
        static_cast<size_t>(channelCount) * static_cast<size_t>(rowCount), sizeof(Cell)));
}

bool ReadPatterns(Reader& reader, Song* song, int32_t filePatternCount) {
    for (int32_t p = 0; p < filePatternCount; ++p) {
        Pattern& pattern = song->patterns[p];
        ReadU32(reader);  // header length; the header is taken to be 9 bytes
        ReadU8(reader);   // packing type
        pattern.rowCount = ReadU16(reader);
        uint16_t packedSize = ReadU16(reader);
        if (!reader.ok || pattern.rowCount > kMaxPatternRows) {
            return false;
        }
        pattern.cells = AllocateCells(song->channelCount, pattern.rowCount);
        if (packedSize != 0 && pattern.cells) {
            int32_t cellCount = song->channelCount * pattern.rowCount;
            for (int32_t i = 0; i < cellCount && reader.ok; ++i) {
                UnpackCell(reader, pattern.cells[i]);
            }
        }
        if (!reader.ok) {
            return false;
        }
    }
    for (int32_t p = filePatternCount; p < song->usedPatternCount; ++p) {
        song->patterns[p].rowCount = 64;
        song->patterns[p].cells = AllocateCells(song->channelCount, 64);
    }
    return true;
}

// Envelope values run from 0 to 64; a damaged file's larger values are held at 64 so that the
// volume and panning formulas stay in their ranges.
void ReadEnvelope(Reader& reader, EnvelopePoint* points) {
    for (int32_t i = 0; i < kMaxEnvelopePoints; ++i) {
        points[i].x = ReadU16(reader);
        points[i].y = ReadU16(reader);
        if (points[i].y > kMaxEnvelopeValue) {
            points[i].y = kMaxEnvelopeValue;
        }
    }
}

// Loop fields arrive in bytes; afterwards they are in sample values and the loop lies inside the
// data (a loop reaching past the data is cut at its end, one starting past it is dropped).
void SettleLoop(Sample& sample, uint8_t type) {
    sample.loopMode = 1;
    sample.bits = 8;
    if (type & 0x01)
        sample.loopMode = 2;
    if (type & 0x02)
        sample.loopMode = 4;
    if (type & 0x10)
        sample.bits = 16;
    if (sample.loopMode == 1) {
        sample.loopStart = 0;
        sample.loopLength = sample.length;
    }
    if (sample.bits == 16) {
        sample.length /= 2;
        sample.loopStart /= 2;
        sample.loopLength /= 2;
    }
    if (sample.loopLength == 0) {
        sample.loopStart = 0;
        sample.loopLength = sample.length;
        sample.loopMode = 1;
    }
    if (static_cast<uint64_t>(sample.loopStart) + sample.loopLength > sample.length) {
        if (sample.loopStart >= sample.length) {
            sample.loopStart = 0;
            sample.loopLength = sample.length;
            sample.loopMode = 1;
        } else {
            sample.loopLength = sample.length - sample.loopStart;
        }
    }
}

bool ReadSampleData(Reader& reader, Sample& sample) {
    if (sample.length == 0) {
        sample.bits = 16;
        return true;
    }
    int64_t bytes = static_cast<int64_t>(sample.length) * (sample.bits == 16 ? 2 : 1);
    if (bytes > reader.size - reader.position) {
        reader.ok = false;
        return false;
    }
    sample.data = static_cast<int16_t*>(std::calloc(sample.length + 8, sizeof(int16_t)));
    if (!sample.data) {
        reader.ok = false;
        return false;
    }
    uint8_t* raw = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(bytes)));
    if (!raw) {
        reader.ok = false;
        return false;
    }
    bool ok = ReadBytes(reader, raw, static_cast<int32_t>(bytes));
    if (ok) {
        uint16_t sum = 0;
        for (uint32_t i = 0; i < sample.length; ++i) {
            uint16_t value = sample.bits == 16
                                 ? static_cast<uint16_t>(raw[2 * i] | (raw[2 * i + 1] << 8))
                                 : static_cast<uint16_t>(raw[i] << 8);
            sum = static_cast<uint16_t>(sum + value);
            sample.data[i] = static_cast<int16_t>(sum);
        }
        uint32_t loopEnd = sample.loopStart + sample.loopLength;
        if (sample.loopMode == 2) {
            sample.data[loopEnd] = sample.data[sample.loopStart];
        } else if (sample.loopMode == 4) {
            sample.data[loopEnd] = sample.data[loopEnd - 1];
        }
    }
    std::free(raw);
    sample.bits = 16;
    return ok;
}

bool ReadInstrument(Reader& reader, Instrument& instrument) {
    for (Sample*& slot : instrument.samples) {
        slot = &emptySample;
    }
    int64_t start = reader.position;
    uint32_t headerSize = ReadU32(reader);
    Skip(reader, 23);  // name and type
    uint16_t sampleCount = ReadU16(reader);
    if (!reader.ok || sampleCount > 16) {
        return false;
    }
    instrument.sampleCount = sampleCount;
    if (sampleCount == 0) {
        return SeekTo(reader, start + headerSize);
    }
    ReadU32(reader);  // sample header size; 40 bytes are assumed
    ReadBytes(reader, instrument.keymap, 96);
    ReadEnvelope(reader, instrument.volumeEnvelope);
    ReadEnvelope(reader, instrument.panningEnvelope);
    uint8_t fields[14] = {};
    ReadBytes(reader, fields, 14);
    instrument.volumePointCount = fields[0];
    instrument.panningPointCount = fields[1];
    instrument.volumeSustain = fields[2];
    instrument.volumeLoopStart = fields[3];
    instrument.volumeLoopEnd = fields[4];
    instrument.panningSustain = fields[5];
    instrument.panningLoopStart = fields[6];
    instrument.panningLoopEnd = fields[7];
    instrument.volumeType = fields[8];
    instrument.panningType = fields[9];
    instrument.vibratoType = fields[10];
    instrument.vibratoSweep = fields[11];
    instrument.vibratoDepth = fields[12];
    instrument.vibratoRate = fields[13];
    instrument.fadeout = static_cast<uint16_t>(ReadU16(reader) * 2);
    // The envelope arrays hold 12 points; a larger count would walk past them.
    if (instrument.volumePointCount > kMaxEnvelopePoints) {
        instrument.volumePointCount = kMaxEnvelopePoints;
    }
    if (instrument.panningPointCount > kMaxEnvelopePoints) {
        instrument.panningPointCount = kMaxEnvelopePoints;
    }
    if (instrument.volumePointCount < 2) {
        instrument.volumeType = 0;
    }
    if (instrument.panningPointCount < 2) {
        instrument.panningType = 0;
    }
    if (!reader.ok || !SeekTo(reader, start + headerSize)) {
        return false;
    }
    for (int32_t i = 0; i < sampleCount; ++i) {
        Sample* sample = static_cast<Sample*>(std::calloc(1, sizeof(Sample)));
        if (!sample) {
            return false;
        }
        instrument.samples[i] = sample;
        sample->length = ReadU32(reader);
        sample->loopStart = ReadU32(reader);
        sample->loopLength = ReadU32(reader);
        sample->volume = ReadU8(reader);
        sample->finetune = static_cast<int8_t>(ReadU8(reader));
        uint8_t type = ReadU8(reader);
        sample->panning = ReadU8(reader);
        sample->relativeNote = static_cast<int8_t>(ReadU8(reader));
        Skip(reader, 23);  // reserved byte and name
        if (!reader.ok) {
            return false;
        }
        SettleLoop(*sample, type);
    }
    for (int32_t i = 0; i < sampleCount; ++i) {
        if (!ReadSampleData(reader, *instrument.samples[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool LoadXm(Song* song, const uint8_t* image, size_t size) {
    if (!song || !image) {
        return false;
    }
    Reader reader{image, static_cast<int64_t>(size), 0, true};
    char signature[kSignatureLength] = {};
    if (!ReadBytes(reader, signature, kSignatureLength) ||
        std::memcmp(signature, kSignature, kSignatureLength) != 0) {
        return false;
    }
    song->initialGlobalVolume = 64;
    SeekTo(reader, 60);
    uint32_t headerSize = ReadU32(reader);
    song->songLength = ReadU16(reader);
    song->restartPosition = ReadU16(reader);
    song->channelCount = static_cast<int16_t>(ReadU16(reader));
    int32_t filePatternCount = ReadU16(reader);
    song->instrumentCount = static_cast<int16_t>(ReadU16(reader));
    song->flags = ReadU16(reader);
    song->defaultTempo = ReadU16(reader);
    song->defaultBpm = ReadU16(reader);
    ReadBytes(reader, song->orders, 256);
    // The channel table has 32 entries; XM files never have more than 256 patterns, and a
    // negative instrument count is corrupt.
    if (!reader.ok || song->channelCount > 32 || filePatternCount > kMaxFilePatterns ||
        song->instrumentCount < 0 || !SeekTo(reader, 60 + static_cast<int64_t>(headerSize))) {
        return false;
    }
    if (song->songLength > 256) {
        song->songLength = 256;
    }

    song->usedPatternCount = 0;
    for (int32_t i = 0; i < static_cast<int16_t>(song->songLength); ++i) {
        if (song->orders[i] + 1 > song->usedPatternCount) {
            song->usedPatternCount = song->orders[i] + 1;
        }
    }
    song->patternSlotCount =
        filePatternCount > song->usedPatternCount ? filePatternCount : song->usedPatternCount;
    if (song->patternSlotCount > 0) {
        song->patterns = static_cast<Pattern*>(
            std::calloc(static_cast<size_t>(song->patternSlotCount), sizeof(Pattern)));
        if (!song->patterns) {
            song->patternSlotCount = 0;
            return false;
        }
    }
    if (!ReadPatterns(reader, song, filePatternCount)) {
        return false;
    }

    if (song->instrumentCount > 0) {
        song->instruments = static_cast<Instrument*>(
            std::calloc(static_cast<size_t>(song->instrumentCount), sizeof(Instrument)));
        if (!song->instruments) {
            song->instrumentCount = 0;
            return false;
        }
    }
    for (int32_t i = 0; i < song->instrumentCount; ++i) {
        if (!ReadInstrument(reader, song->instruments[i])) {
            return false;
        }
    }
    return true;
}
