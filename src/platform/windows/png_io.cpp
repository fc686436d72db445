// PNG files with zlib's deflate, inflate and crc32: 8-bit RGB out, the common kinds in.
#include "platform/png_io.h"

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_io.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

uint32_t Get32(const uint8_t* at) {
    return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const uint8_t* data, size_t size) {
    Put32(out, static_cast<uint32_t>(size));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data, data + size);
    Put32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(size + 4))));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : (pb <= pc ? b : c);
}

// Filters one row (filter byte first) with the filter whose output has the smallest sum of
// absolute values, the usual heuristic for the best compression.
void FilterRow(const uint8_t* row, const uint8_t* above, size_t bytes, size_t pixelBytes,
               std::vector<uint8_t>& out) {
    std::vector<uint8_t> best;
    long bestCost = -1;
    std::vector<uint8_t> trial(bytes + 1);
    for (uint8_t filter = 0; filter <= 4; ++filter) {
        trial[0] = filter;
        long cost = 0;
        for (size_t i = 0; i < bytes; ++i) {
            const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
            const int b = above ? above[i] : 0;
            const int c = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
            const int predicted = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? Paeth(a, b, c)
                                                : 0;
            const auto value = static_cast<uint8_t>(row[i] - predicted);
            trial[i + 1] = value;
            cost += value < 128 ? value : 256 - value;
        }
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            best = trial;
        }
    }
    out.insert(out.end(), best.begin(), best.end());
}

bool Unfilter(uint8_t* data, size_t rows, size_t bytes, size_t pixelBytes) {
    for (size_t y = 0; y < rows; ++y) {
        uint8_t* line = data + y * (bytes + 1);
        const uint8_t filter = line[0];
        uint8_t* row = line + 1;
        const uint8_t* above = y > 0 ? line - bytes : nullptr;
        for (size_t i = 0; i < bytes; ++i) {
            const int a = i >= pixelBytes ? row[i - pixelBytes] : 0;
            const int b = above ? above[i] : 0;
            const int c = above && i >= pixelBytes ? above[i - pixelBytes] : 0;
            int predicted = 0;
            switch (filter) {
                case 0:
                    break;
                case 1:
                    predicted = a;
                    break;
                case 2:
                    predicted = b;
                    break;
                case 3:
                    predicted = (a + b) / 2;
                    break;
                case 4:
                    predicted = Paeth(a, b, c);
                    break;
                default:
                    return false;
            }
            row[i] = static_cast<uint8_t>(row[i] + predicted);
        }
    }
    return true;
}

bool ReadWholeFile(const char* path, std::vector<uint8_t>* bytes) {
    std::FILE* file = OpenFile(path, "rb");
    if (file == nullptr) {
        return false;
    }
    uint8_t buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes->insert(bytes->end(), buffer, buffer + got);
    }
    const bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

}  // namespace

bool WritePngRgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::vector<uint8_t> filtered;
    filtered.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = rgb + rowBytes * static_cast<size_t>(y);
        FilterRow(row, y > 0 ? row - rowBytes : nullptr, rowBytes, 3, filtered);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()),
                  Z_DEFAULT_COMPRESSION) != Z_OK) {
        return false;
    }
    std::vector<uint8_t> png(kSignature, kSignature + 8);
    uint8_t header[13] = {};
    std::vector<uint8_t> size;
    Put32(size, static_cast<uint32_t>(width));
    Put32(size, static_cast<uint32_t>(height));
    std::memcpy(header, size.data(), 8);
    header[8] = 8;  // bits per sample
    header[9] = 2;  // RGB; compression, filter method and interlace stay 0
    PutChunk(png, "IHDR", header, sizeof header);
    PutChunk(png, "IDAT", packed.data(), packedSize);
    PutChunk(png, "IEND", nullptr, 0);

    std::FILE* file = OpenFile(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        RemoveFile(path);
    }
    return ok;
}

bool ReadPngRgb(const char* path, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb) {
    std::vector<uint8_t> file;
    if (!ReadWholeFile(path, &file) || file.size() < 8 + 25 ||
        std::memcmp(file.data(), kSignature, 8) != 0) {
        return false;
    }
    uint32_t w = 0, h = 0;
    uint8_t depth = 0, colorType = 0, interlace = 0;
    std::vector<uint8_t> packed, palette;
    for (size_t at = 8; at + 12 <= file.size();) {
        const uint32_t length = Get32(&file[at]);
        if (length > file.size() - at - 12) {
            return false;
        }
        const uint8_t* type = &file[at + 4];
        const uint8_t* data = &file[at + 8];
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            w = Get32(data);
            h = Get32(data + 4);
            depth = data[8];
            colorType = data[9];
            interlace = data[12];
        } else if (std::memcmp(type, "PLTE", 4) == 0) {
            palette.assign(data, data + length);
        } else if (std::memcmp(type, "IDAT", 4) == 0) {
            packed.insert(packed.end(), data, data + length);
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        at += 12 + length;
    }
    // Channels per colour type: grey, -, RGB, palette, grey + alpha, -, RGBA.
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};
    if (w == 0 || h == 0 || w > 16384 || h > 16384 || interlace != 0 || colorType > 6 ||
        kChannels[colorType] == 0 || (depth != 8 && depth != 16) ||
        (colorType == 3 && (depth != 8 || palette.size() < 3))) {
        return false;  // interlaced, sub-byte or unknown formats are not read
    }
    const size_t pixelBytes = static_cast<size_t>(kChannels[colorType]) * depth / 8;
    const size_t rowBytes = pixelBytes * w;
    uLongf rawSize = static_cast<uLongf>((rowBytes + 1) * h);
    std::vector<uint8_t> raw(rawSize);
    if (uncompress(raw.data(), &rawSize, packed.data(), static_cast<uLong>(packed.size())) !=
            Z_OK ||
        rawSize != raw.size() || !Unfilter(raw.data(), h, rowBytes, pixelBytes)) {
        return false;
    }
    rgb->assign(static_cast<size_t>(w) * h * 3, 0);
    const size_t step = depth / 8;  // 16-bit samples: the high byte
    for (size_t y = 0; y < h; ++y) {
        const uint8_t* row = raw.data() + y * (rowBytes + 1) + 1;
        for (size_t x = 0; x < w; ++x) {
            const uint8_t* pixel = row + x * pixelBytes;
            uint8_t* out = rgb->data() + (y * w + x) * 3;
            if (colorType == 3) {
                const size_t entry = size_t{pixel[0]} * 3;
                if (entry + 3 > palette.size()) {
                    return false;
                }
                std::memcpy(out, &palette[entry], 3);
            } else if (colorType == 0 || colorType == 4) {
                out[0] = out[1] = out[2] = pixel[0];
            } else {
                out[0] = pixel[0];
                out[1] = pixel[step];
                out[2] = pixel[2 * step];
            }
        }
    }
    *width = static_cast<int32_t>(w);
    *height = static_cast<int32_t>(h);
    return true;
}
