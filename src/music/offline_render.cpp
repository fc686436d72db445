// The offline render: the player on the offline device, driven from the calling thread, with the
// tick routine wrapped so that the frame where the song first wraps back is known.
#include "music/offline_render.h"

#include "music/replay.h"
#include "music/song.h"
#include "platform/wave_out.h"

namespace {

constexpr int64_t kRate = 44100;

// Counts the first frame of every tick; the first tick that wraps the order position back (to
// the restart position, or backward by a jump) marks the end.
void CountingTick(Player& player) {
    OfflineRender& render = *static_cast<OfflineRender*>(player.tickContext);
    const Song* song = player.song;
    render.tickStartFrame += render.lastTickFrames;
    if (render.songEndFrame < 0 && song->tick == 0 && song->nextOrderIndex >= 0 &&
        song->nextOrderIndex <= song->orderIndex) {
        render.songEndFrame = render.tickStartFrame;
    }
    ReplayTick(player);
    render.lastTickFrames = song->samplesPerTick < 1 ? 1 : song->samplesPerTick;
}

}  // namespace

bool OfflineRenderBegin(OfflineRender& render, const uint8_t* image, size_t size, double seconds,
                        bool* deviceFailed) {
    render.song = nullptr;
    render.limitFrames = static_cast<int64_t>(seconds * kRate);
    render.renderedFrames = 0;
    render.tickStartFrame = 0;
    render.lastTickFrames = 0;
    render.songEndFrame = -1;
    *deviceFailed = false;
    Player& player = render.player;
    WaveOutUseOffline(true);
    player.renderOnCallingThread = true;
    player.audioUnavailable = false;
    AudioOpen(player);
    if (player.audioUnavailable) {
        *deviceFailed = true;
        return false;
    }
    render.song = SongFromMemory(image, size);
    if (render.song == nullptr) {
        AudioClose(player);
        return false;
    }
    player.tickHandler = CountingTick;
    player.tickContext = &render;
    PlayerStart(player, render.song);
    return true;
}

int64_t OfflineRenderNext(OfflineRender& render, int16_t* pcm) {
    // The ring renders ahead of what it hands out, so the end is known before it is reached.
    const int64_t rendered = render.renderedFrames;
    const int64_t end = render.songEndFrame;
    if (render.song == nullptr || rendered >= render.limitFrames || (end >= 0 && rendered >= end)) {
        return 0;
    }
    int64_t frames = render.player.blockFrames;
    frames = frames < render.limitFrames - rendered ? frames : render.limitFrames - rendered;
    if (end >= 0 && frames > end - rendered) {
        frames = end - rendered;
    }
    OfflinePull(render.player, pcm, frames);
    render.renderedFrames += frames;
    return frames;
}

bool OfflineRenderReachedSongEnd(const OfflineRender& render) {
    return render.songEndFrame >= 0 && render.renderedFrames == render.songEndFrame;
}

void OfflineRenderEnd(OfflineRender& render) {
    if (render.song != nullptr) {
        PlayerStop(render.player);
        SongFree(render.song);
        render.song = nullptr;
        AudioClose(render.player);
    }
}
