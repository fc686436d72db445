// WAV writer: a 44-byte RIFF header whose sizes are patched as the file grows, then
// little-endian PCM.
#include "platform/wav_writer.h"

#include <chrono>
#include <cstring>
#include <vector>

#include "platform/file_io.h"
#include "platform/files.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kChannels = 2;
constexpr uint32_t kBytesPerFrame = 4;
constexpr uint32_t kHeaderBytes = 44;
// Largest PCM payload whose RIFF size still fits 32 bits.
constexpr uint64_t kMaxDataBytes = 0xFFFFFFFFull - (kHeaderBytes - 8);
// Frames between header updates: one second of audio.
constexpr int64_t kHeaderUpdateFrames = kRate;
constexpr int64_t kSyncIntervalMilliseconds = 1000;

void Put16(uint8_t* at, uint16_t value) {
    at[0] = static_cast<uint8_t>(value);
    at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        at[i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

void BuildHeader(uint8_t* header, uint32_t dataBytes) {
    std::memcpy(header, "RIFF", 4);
    Put32(header + 4, dataBytes + kHeaderBytes - 8);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    Put32(header + 16, 16);
    Put16(header + 20, 1);  // PCM
    Put16(header + 22, kChannels);
    Put32(header + 24, kRate);
    Put32(header + 28, kRate * kBytesPerFrame);
    Put16(header + 32, kBytesPerFrame);
    Put16(header + 34, 16);
    std::memcpy(header + 36, "data", 4);
    Put32(header + 40, dataBytes);
}

// Rewrites the header for writer.frames frames and returns to the end of the file.
bool UpdateHeader(WavWriter& writer) {
    uint8_t header[kHeaderBytes];
    BuildHeader(header, static_cast<uint32_t>(writer.frames * kBytesPerFrame));
    const bool ok = std::fseek(writer.file, 0, SEEK_SET) == 0 &&
                    std::fwrite(header, 1, kHeaderBytes, writer.file) == kHeaderBytes &&
                    std::fseek(writer.file, 0, SEEK_END) == 0;
    if (ok) {
        writer.headerFrames = writer.frames;
    }
    return ok;
}

// The audio goes to disk before the header that counts it, when a second has passed since the
// last time.
bool SyncIfDue(WavWriter& writer) {
    const int64_t now = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count();
    if (now - writer.syncedAtMilliseconds < kSyncIntervalMilliseconds) {
        return true;
    }
    writer.syncedAtMilliseconds = now;
    return FlushFileToDisk(writer.file);
}

// Cuts the file back to its header and writer.frames frames, after a partial write.
void CutToCompleteFrames(WavWriter& writer) {
    std::clearerr(writer.file);
    TruncateOpenFile(writer.file, kHeaderBytes + writer.frames * kBytesPerFrame);
    std::fseek(writer.file, 0, SEEK_END);
}

}  // namespace

bool WavWriterOpen(WavWriter& writer, const char* path) {
    writer = WavWriter{};
    writer.path = path;
    writer.file = OpenFile(path, "wb");
    if (writer.file == nullptr) {
        return false;
    }
    // No stdio buffer: a failed write is seen by the append that made it, and what an append
    // wrote is in the system's hands when it returns.
    std::setvbuf(writer.file, nullptr, _IONBF, 0);
    uint8_t header[kHeaderBytes];
    BuildHeader(header, 0);
    if (std::fwrite(header, 1, kHeaderBytes, writer.file) != kHeaderBytes) {
        WavWriterDiscard(writer);
        return false;
    }
    return true;
}

bool WavWriterAppend(WavWriter& writer, const int16_t* samples, int64_t frames) {
    if (writer.file == nullptr || writer.failed) {
        return false;
    }
    if (frames <= 0) {
        return true;
    }
    if (static_cast<uint64_t>(writer.frames + frames) * kBytesPerFrame > kMaxDataBytes) {
        writer.failed = true;
        return false;
    }
    const size_t values = static_cast<size_t>(frames) * kChannels;
    std::vector<uint8_t> bytes(values * 2);
    for (size_t i = 0; i < values; ++i) {
        Put16(bytes.data() + 2 * i, static_cast<uint16_t>(samples[i]));
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), writer.file) != bytes.size()) {
        writer.failed = true;
        CutToCompleteFrames(writer);
        return false;
    }
    writer.frames += frames;
    if (writer.frames - writer.headerFrames >= kHeaderUpdateFrames &&
        !(SyncIfDue(writer) && UpdateHeader(writer))) {
        writer.frames -= frames;
        writer.failed = true;
        CutToCompleteFrames(writer);
        return false;
    }
    return true;
}

bool WavWriterClose(WavWriter& writer) {
    if (writer.file == nullptr) {
        return false;
    }
    bool ok = !writer.failed && UpdateHeader(writer) && FlushFileToDisk(writer.file);
    ok = std::fclose(writer.file) == 0 && ok;
    writer.file = nullptr;
    if (!ok) {
        RemoveRegularFile(writer.path.c_str());
    }
    return ok;
}

bool WavWriterCloseKeeping(WavWriter& writer) {
    if (writer.file != nullptr && writer.failed) {
        // The header's bytes are already allocated, so rewriting them works on a full disk too.
        CutToCompleteFrames(writer);
        writer.failed = !UpdateHeader(writer);
    }
    return WavWriterClose(writer);
}

void WavWriterDiscard(WavWriter& writer) {
    if (writer.file != nullptr) {
        std::fclose(writer.file);
        writer.file = nullptr;
        RemoveRegularFile(writer.path.c_str());
    }
}
