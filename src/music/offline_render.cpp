// The offline render: the player on the offline device, driven from the calling thread, with the
// tick routine wrapped so that the frame where the song first wraps back is known.
#include "music/offline_render.h"

#include "music/player.h"
#include "music/replay.h"
#include "music/song.h"
#include "platform/wave_out.h"

namespace {

constexpr int64_t kRate = 44100;

// The first frame of every tick is counted, and the first tick that wraps the order position back
// (to the restart position, or backward by a jump) marks the end.
int64_t tickStartFrame = 0;
int64_t lastTickFrames = 0;
int64_t songEndFrame = -1;

void CountingTick(Song* song) {
    tickStartFrame += lastTickFrames;
    if (songEndFrame < 0 && song->tick == 0 && song->nextOrderIndex >= 0 &&
        song->nextOrderIndex <= song->orderIndex) {
        songEndFrame = tickStartFrame;
    }
    ReplayTick(song);
    lastTickFrames = song->samplesPerTick < 1 ? 1 : song->samplesPerTick;
}

}  // namespace

bool OfflineRenderBegin(OfflineRender& render, const uint8_t* image, size_t size, double seconds,
                        bool* deviceFailed) {
    render = OfflineRender{nullptr, static_cast<int64_t>(seconds * kRate), 0};
    *deviceFailed = false;
    tickStartFrame = 0;
    lastTickFrames = 0;
    songEndFrame = -1;
    WaveOutUseOffline(true);
    renderOnCallingThread = true;
    audioUnavailable = false;
    AudioOpen();
    if (audioUnavailable) {
        *deviceFailed = true;
        return false;
    }
    render.song = SongFromMemory(image, static_cast<int32_t>(size));
    if (render.song == nullptr) {
        AudioClose();
        return false;
    }
    render.song->tickHandler = CountingTick;
    PlayerStart(render.song);
    return true;
}

int64_t OfflineRenderBlockFrames() {
    return blockFrames;
}

int64_t OfflineRenderNext(OfflineRender& render, int16_t* pcm) {
    // The ring renders ahead of what it hands out, so the end is known before it is reached.
    const int64_t rendered = render.renderedFrames;
    if (render.song == nullptr || rendered >= render.limitFrames ||
        (songEndFrame >= 0 && rendered >= songEndFrame)) {
        return 0;
    }
    int64_t frames = blockFrames;
    frames = frames < render.limitFrames - rendered ? frames : render.limitFrames - rendered;
    if (songEndFrame >= 0 && frames > songEndFrame - rendered) {
        frames = songEndFrame - rendered;
    }
    OfflinePull(pcm, frames);
    render.renderedFrames += frames;
    return frames;
}

bool OfflineRenderReachedSongEnd(const OfflineRender& render) {
    return songEndFrame >= 0 && render.renderedFrames == songEndFrame;
}

void OfflineRenderEnd(OfflineRender& render) {
    if (render.song != nullptr) {
        PlayerStop(render.song);
        SongFree(render.song);
        render.song = nullptr;
        AudioClose();
    }
    renderOnCallingThread = false;
}
