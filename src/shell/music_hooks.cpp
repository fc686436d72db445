// The music player's start-up and shutdown steps, and the capture-mode audio track.
#include <cstdio>
#include <vector>

#include "core/embedded_data.h"
#include "music/player.h"
#include "music/song.h"
#include "platform/wav_writer.h"
#include "platform/wave_out.h"
#include "shell/music_hooks.h"

namespace {

// The demo's one player, and the song created at start-up; null when none could be (no sound
// card, no or a bad image).
Player player;
Song* song = nullptr;

// Capture mode: the audio track and how many frames of the song it holds.
constexpr int64_t kCaptureRate = 44100;
bool capturing = false;
WavWriter captureFile;
int64_t capturedFrames = 0;

}  // namespace

void StartMusic(bool hiddenMode) {
    AudioOpen(player);
    if (player.audioUnavailable) {
        std::fprintf(stderr, "demo: %s; the show runs silent\n", WaveOutFailure());
        return;
    }
    const EmbeddedFile& image = hiddenMode ? hiddenSongImage : showSongImage;
    song = image.size > 0 ? SongFromMemory(image.data, image.size) : nullptr;
    PlayerStart(player, song);
}

void StopMusic() {
    PlayerStop(player);
    AudioClose(player);
    SongFree(song);
    song = nullptr;
}

bool CaptureAudioBegin(const char* wavPath) {
    // The song is rendered on the main thread into the file instead of playing on a card.
    WaveOutUseOffline(true);
    player.renderOnCallingThread = true;
    capturedFrames = 0;
    capturing = WavWriterOpen(captureFile, wavPath);
    return capturing;
}

bool CaptureAudioAdvance(int64_t framesShown, int32_t fps) {
    if (!capturing || fps <= 0 || framesShown < 0) {
        return capturing;
    }
    const int64_t target = framesShown * kCaptureRate / fps;
    if (target <= capturedFrames) {
        return true;
    }
    std::vector<int16_t> pcm(2 * static_cast<size_t>(target - capturedFrames));
    OfflinePull(player, pcm.data(), target - capturedFrames);
    if (!WavWriterAppend(captureFile, pcm.data(), target - capturedFrames)) {
        return false;
    }
    capturedFrames = target;
    return true;
}

bool CaptureAudioEnd() {
    if (!capturing) {
        return false;
    }
    capturing = false;
    return WavWriterCloseKeeping(captureFile);
}
