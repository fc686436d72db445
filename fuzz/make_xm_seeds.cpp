// Makes small fuzzing seeds from XM files: every sample is cut to a few dozen frames and its loop
// clipped to match, so the image stays a valid module while the fuzzer no longer spends its time
// copying and mixing long samples. A file the walk cannot follow is kept as it is, cut to 64 KiB.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kKeptSampleFrames = 48;
constexpr size_t kLargestUnparsedSeed = 64 * 1024;

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
    return at + 4 > b.size() ? 0
                             : static_cast<uint32_t>(b[at] | b[at + 1] << 8 | b[at + 2] << 16 |
                                                     static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Get16(const Bytes& b, size_t at) {
    return at + 2 > b.size() ? 0 : static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}
void Put32(Bytes& b, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}
void Append(Bytes& out, const Bytes& in, size_t from, size_t count) {
    out.insert(out.end(), in.begin() + static_cast<std::ptrdiff_t>(from),
               in.begin() + static_cast<std::ptrdiff_t>(from + count));
}

// The image with every sample shortened; false when the layout does not add up.
bool ShortenSamples(const Bytes& in, Bytes* out) {
    if (in.size() < 80) {
        return false;
    }
    const size_t patterns = Get16(in, 70);
    const size_t instruments = Get16(in, 72);
    size_t at = 60 + static_cast<size_t>(Get32(in, 60));
    for (size_t p = 0; p < patterns; ++p) {
        at += static_cast<size_t>(Get32(in, at)) + Get16(in, at + 7);
    }
    if (at > in.size()) {
        return false;
    }
    Append(*out, in, 0, at);
    for (size_t i = 0; i < instruments; ++i) {
        const size_t headerBytes = Get32(in, at);
        const size_t samples = Get16(in, at + 27);
        const size_t sampleHeaderBytes = samples > 0 ? Get32(in, at + 29) : 0;
        const size_t headersEnd = at + headerBytes + samples * sampleHeaderBytes;
        if (headerBytes < 29 || headersEnd > in.size() || (samples > 0 && sampleHeaderBytes < 18)) {
            return false;
        }
        const size_t headersAt = out->size();
        Append(*out, in, at, headersEnd - at);
        size_t data = headersEnd;
        Bytes kept;
        for (size_t s = 0; s < samples; ++s) {
            const size_t header = at + headerBytes + s * sampleHeaderBytes;
            const uint32_t length = Get32(in, header);
            const uint32_t frameBytes = (in[header + 14] & 0x10) != 0 ? 2 : 1;
            const uint32_t keep = std::min(length, kKeptSampleFrames * frameBytes);
            if (data + length > in.size()) {
                return false;
            }
            Append(kept, in, data, keep);
            data += length;
            const size_t outHeader = headersAt + header - at;
            const uint32_t loopStart = std::min(Get32(in, header + 4), keep);
            Put32(*out, outHeader, keep);
            Put32(*out, outHeader + 4, loopStart);
            Put32(*out, outHeader + 8, std::min(Get32(in, header + 8), keep - loopStart));
        }
        out->insert(out->end(), kept.begin(), kept.end());
        at = data;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_xm_seeds OUT_DIR FILE.xm...\n");
        return 2;
    }
    const std::filesystem::path outDir = argv[1];
    std::filesystem::create_directories(outDir);
    for (int i = 2; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        const Bytes in{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        Bytes out;
        if (!ShortenSamples(in, &out)) {
            out.assign(in.begin(), in.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min(in.size(), kLargestUnparsedSeed)));
        }
        const std::filesystem::path source = argv[i];
        const std::string name =
            source.parent_path().filename().string() + "-" + source.filename().string();
        std::ofstream(outDir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(out.data()),
                   static_cast<std::streamsize>(out.size()));
        std::printf("%s: %zu -> %zu bytes\n", name.c_str(), in.size(), out.size());
    }
    return 0;
}
