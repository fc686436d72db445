// Header walk over an XM image for the songs' tests.
#include "song_image_scan.h"

#include <algorithm>

namespace {

struct Reader {
    const unsigned char* image;
    int64_t size;
    int64_t position = 0;
    bool overrun = false;

    uint32_t Bytes(int count) {
        uint32_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (position + i >= size) {
                overrun = true;
                return 0;
            }
            value |= uint32_t(image[position + i]) << (8 * i);
        }
        position += count;
        return value;
    }
    uint8_t U8() { return uint8_t(Bytes(1)); }
    uint16_t U16() { return uint16_t(Bytes(2)); }
    uint32_t U32() { return Bytes(4); }
    void Skip(int64_t count) {
        position += count;
        overrun = overrun || position > size;
    }
};

void UnpackInstruments(Reader& in, int64_t end, ScannedSong& song) {
    while (in.position < end && !in.overrun) {
        uint8_t packed = in.U8();
        uint8_t instrument = 0;
        if (packed & 0x80) {
            if (packed & 0x01) {
                in.U8();
            }
            if (packed & 0x02) {
                instrument = in.U8();
            }
            in.Skip(((packed >> 2) & 1) + ((packed >> 3) & 1) + ((packed >> 4) & 1));
        } else {
            instrument = in.U8();
            in.Skip(3);
        }
        if (instrument != 0) {
            song.instrumentsPlayed.push_back(instrument);
        }
    }
}

}  // namespace

ScannedSong ScanSongImage(const unsigned char* image, int32_t size) {
    ScannedSong song;
    Reader in{image, size};
    in.position = 60;
    uint32_t headerSize = in.U32();
    song.songLength = in.U16();
    in.U16();  // restart position
    song.channelCount = in.U16();
    song.patternCount = in.U16();
    uint16_t instrumentCount = in.U16();
    song.flags = in.U16();
    song.tempo = in.U16();
    song.bpm = in.U16();
    for (int i = 0; i < 256; ++i) {
        uint8_t order = in.U8();
        if (i < song.songLength) {
            song.orders.push_back(order);
        }
    }
    in.position = 60 + int64_t(headerSize);
    for (int p = 0; p < song.patternCount && !in.overrun; ++p) {
        uint32_t length = in.U32();
        in.U8();
        song.patternRows.push_back(in.U16());
        uint16_t packedSize = in.U16();
        in.position += int64_t(length) - 9;
        int64_t end = in.position + packedSize;
        UnpackInstruments(in, end, song);
        in.position = end;
    }
    for (int i = 0; i < instrumentCount && !in.overrun; ++i) {
        int64_t start = in.position;
        uint32_t size32 = in.U32();
        in.Skip(23);
        uint16_t sampleCount = in.U16();
        in.position = start + size32;
        ScannedInstrument instrument;
        for (int s = 0; s < sampleCount && !in.overrun; ++s) {
            ScannedSample sample;
            sample.lengthBytes = in.U32();
            in.Skip(10);
            sample.type = in.U8();
            in.Skip(25);
            instrument.samples.push_back(sample);
        }
        for (const ScannedSample& sample : instrument.samples) {
            in.Skip(sample.lengthBytes);
        }
        song.instruments.push_back(instrument);
    }
    song.complete = !in.overrun && in.position == size;
    return song;
}
