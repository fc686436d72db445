// The song position of the block being played, handed over through one atomic word per block.
#include "music/now_playing.h"

#include "music/song.h"
#include "platform/wave_out.h"

namespace {

constexpr PackedSongPosition kKnown = PackedSongPosition{1} << 48;

PackedSongPosition Byte(int32_t value, int shift) {
    return static_cast<PackedSongPosition>(static_cast<uint32_t>(value) & 0xFFu) << shift;
}

}  // namespace

PackedSongPosition PackSongPosition(const Song& song) {
    const int32_t order = song.orderIndex;
    const int32_t pattern = order >= 0 && order < 256 ? song.orders[order] : 0;
    return kKnown | Byte(order, 0) | Byte(pattern, 8) | Byte(song.row, 16) | Byte(song.speed, 24) |
           static_cast<PackedSongPosition>(static_cast<uint32_t>(song.bpm) & 0xFFFFu) << 32;
}

SongPositionNow PlayerNowPlaying(const Player& player) {
    SongPositionNow now;
    if (player.ringFrames <= 0 || player.blockFrames <= 0) {
        return now;
    }
    const uint32_t frame = WaveOutPosition() / 4 % static_cast<uint32_t>(player.ringFrames);
    const PackedSongPosition packed =
        player.blockSongPositions[frame / static_cast<uint32_t>(player.blockFrames)].load(
            std::memory_order_relaxed);
    if ((packed & kKnown) == 0) {
        return now;
    }
    now.known = true;
    now.orderIndex = static_cast<int32_t>(packed & 0xFFu);
    now.pattern = static_cast<int32_t>(packed >> 8 & 0xFFu);
    now.row = static_cast<int32_t>(packed >> 16 & 0xFFu);
    now.speed = static_cast<int32_t>(packed >> 24 & 0xFFu);
    now.bpm = static_cast<int32_t>(packed >> 32 & 0xFFFFu);
    return now;
}
