// The music player's start-up and shutdown, and the lockstep sound of offline runs.
#include "shell/music_hooks.h"

#include <cstdio>

#include "core/embedded_data.h"
#include "music/player.h"
#include "music/player_seek.h"
#include "music/song.h"
#include "platform/threads.h"
#include "platform/wave_out.h"

namespace {

constexpr int64_t kOutputRate = 44100;

// The demo's one player, and the song created at start-up; null when none could be (no sound
// card, no or a bad image).
Player player;
Song* song = nullptr;
// Offline runs: output frames of the song rendered so far.
int64_t renderedFrames = 0;

}  // namespace

void StartMusic(bool hiddenMode, double startSeconds) {
    AudioOpen(player);
    if (player.audioUnavailable) {
        std::fprintf(stderr, "demo: %s; the show runs silent\n", WaveOutFailure());
        return;
    }
    if (!ThreadsAvailable()) {
        player.renderOnCallingThread = true;  // ServiceMusic renders on the frame loop
    }
    const EmbeddedFile& image = hiddenMode ? hiddenSongImage : showSongImage;
    song = image.size > 0 ? SongFromMemory(image.data, image.size) : nullptr;
    const double startFrames = startSeconds * static_cast<double>(player.outputRate);
    PlayerStart(player, song, static_cast<int64_t>(startFrames));
}

void ServiceMusic() {
    if (player.renderOnCallingThread && !WaveOutIsOffline()) {
        ServiceRing(player);
    }
}

void StopMusic() {
    PlayerStop(player);
    AudioClose(player);
    SongFree(song);
    song = nullptr;
}

void UseOfflineMusic() {
    WaveOutUseOffline(true);
    player.renderOnCallingThread = true;
    renderedFrames = 0;
}

void RenderMusicUpTo(int64_t frame, int32_t fps, std::vector<int16_t>* pcm) {
    if (fps <= 0 || frame < 0) {
        return;
    }
    const int64_t target = frame * kOutputRate / fps;
    if (target <= renderedFrames) {
        return;
    }
    const int64_t frames = target - renderedFrames;
    if (pcm == nullptr) {
        OfflinePull(player, nullptr, frames);
    } else {
        const size_t at = pcm->size();
        pcm->resize(at + 2 * static_cast<size_t>(frames));
        OfflinePull(player, pcm->data() + at, frames);
    }
    renderedFrames = target;
}

void KeepMusicCheckpoints() {
    player.keepCheckpoints = true;
}

void SeekMusic(int64_t frame) {
    PlayerSeek(player, frame);
    renderedFrames = frame;
}

int64_t MusicFrameAt(double milliseconds) {
    return static_cast<int64_t>(milliseconds * static_cast<double>(kOutputRate) / 1000.0);
}

void PauseMusic(bool paused) {
    WaveOutPause(paused);
}

void AppendFrameSilence(int64_t frame, int32_t fps, std::vector<int16_t>* pcm) {
    if (fps <= 0 || frame <= 0) {
        return;
    }
    const int64_t frames = frame * kOutputRate / fps - (frame - 1) * kOutputRate / fps;
    pcm->resize(pcm->size() + 2 * static_cast<size_t>(frames), 0);
}

SongPositionNow MusicNowPlaying() {
    return player.song != nullptr ? PlayerNowPlaying(player) : SongPositionNow{};
}
