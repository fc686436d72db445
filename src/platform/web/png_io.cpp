// Web: PNG files written with stored (uncompressed) deflate blocks, since the web build has no
// zlib. The files are larger than compressed ones but decode the same everywhere; the capture
// files live in the page's memory only until it reads them. Reading is not needed on the web.
#include "platform/png_io.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/file_io.h"
#include "platform/files.h"

namespace {

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// Longest stored deflate block.
constexpr size_t kStoredBlockBytes = 65535;

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
    static uint32_t table[256];
    if (table[1] == 0) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            table[n] = c;
        }
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    // The sums are reduced once per 5552 bytes, the most that cannot overflow 32 bits.
    constexpr uint32_t kModulus = 65521;
    constexpr size_t kRun = 5552;
    uint32_t a = 1;
    uint32_t b = 0;
    for (size_t at = 0; at < size; at += kRun) {
        const size_t end = size - at < kRun ? size : at + kRun;
        for (size_t i = at; i < end; ++i) {
            a += data[i];
            b += a;
        }
        a %= kModulus;
        b %= kModulus;
    }
    return (b << 16) | a;
}

void Put32(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<char>(value >> shift));
    }
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    Put32(out, static_cast<uint32_t>(data.size()));
    const size_t start = out.size();
    out.append(type, 4);
    out.append(data);
    Put32(out, Crc32(reinterpret_cast<const uint8_t*>(out.data()) + start, data.size() + 4));
}

// A zlib stream of stored blocks holding bytes.
std::string StoredZlib(const std::string& bytes) {
    std::string out("\x78\x01", 2);
    size_t at = 0;
    do {
        const size_t size =
            bytes.size() - at < kStoredBlockBytes ? bytes.size() - at : kStoredBlockBytes;
        const bool last = at + size == bytes.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<char>(size & 0xFF));
        out.push_back(static_cast<char>(size >> 8));
        out.push_back(static_cast<char>(~size & 0xFF));
        out.push_back(static_cast<char>((~size >> 8) & 0xFF));
        out.append(bytes, at, size);
        at += size;
    } while (at < bytes.size());
    Put32(out, Adler32(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    return out;
}

}  // namespace

bool WritePngRgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb) {
    if (width <= 0 || height <= 0 || rgb == nullptr) {
        return false;
    }
    const size_t rowBytes = static_cast<size_t>(width) * 3;
    std::string rows;
    rows.reserve((rowBytes + 1) * static_cast<size_t>(height));
    for (int32_t y = 0; y < height; ++y) {
        rows.push_back(0);  // no filter
        rows.append(reinterpret_cast<const char*>(rgb) + rowBytes * static_cast<size_t>(y),
                    rowBytes);
    }
    std::string header;
    Put32(header, static_cast<uint32_t>(width));
    Put32(header, static_cast<uint32_t>(height));
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    std::string png(reinterpret_cast<const char*>(kSignature), 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(rows));
    PutChunk(png, "IEND", std::string());

    const std::string partial = std::string(path) + ".part";
    std::FILE* file = OpenFile(partial.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok || !ReplaceFileAtomically(partial.c_str(), path)) {
        RemoveFile(partial.c_str());
        return false;
    }
    return true;
}

bool ReadPngRgb(const char*, int32_t*, int32_t*, std::vector<uint8_t>*) {
    return false;
}
