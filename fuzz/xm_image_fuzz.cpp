// libFuzzer target: an XM image loaded from memory, played through the offline output path that
// xmrender uses (start, pull, stop) for a bounded stretch of song, then freed.
#include <cstddef>
#include <cstdint>

#include "music/player.h"
#include "music/song.h"
#include "platform/wave_out.h"

namespace {
// A low output rate keeps the start's two seconds of ring cheap (8,000 frames instead of 88,400)
// while the replay still runs every tick of those two seconds: 26 to 204 ticks by tempo.
constexpr int32_t kFuzzRate = 4000;
// Larger images only repeat what a smaller one reaches; this keeps each run well under 1 ms.
constexpr size_t kLargestImage = 1 << 20;
// The loader allocates and later walks every instrument a header claims (up to 32,767, about
// 10 MB) before it finds the image too short; such runs are a hundred times slower and reach
// nothing new past twice the format's 128.
constexpr int kMostInstruments = 256;

int ClaimedInstruments(const uint8_t* data, size_t size) {
    return size < 74 ? 0 : data[72] | data[73] << 8;
}
Player player;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    WaveOutUseOffline(true);
    player.renderOnCallingThread = true;
    return DeviceOpen(player, kFuzzRate) ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kLargestImage || ClaimedInstruments(data, size) > kMostInstruments) {
        return -1;
    }
    Song* song = SongFromMemory(data, size);
    if (song == nullptr) {
        return 0;
    }
    PlayerStart(player, song);
    // Two blocks past the first ring: the pull re-renders finished blocks as capture does.
    OfflinePull(player, nullptr, 2 * static_cast<int64_t>(player.blockFrames) + 1);
    PlayerStop(player);
    SongFree(song);
    return 0;
}
