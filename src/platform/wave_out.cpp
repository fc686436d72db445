// Wave-out device backends: SDL2 audio (a callback copies from the ring) and the offline device.
#include "platform/wave_out.h"

#include <SDL.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

struct WaveOutState {
    bool offline = false;      // backend selected for the next open
    bool openOffline = false;  // backend of the open device
    bool open = false;
    bool acceptDisk = false;
    SDL_AudioDeviceID device = 0;
    // Written under SDL_LockAudioDevice, read by the callback.
    const uint8_t* ring = nullptr;
    uint32_t ringBytes = 0;
    uint32_t readOffset = 0;
    std::atomic<uint32_t> played{0};   // bytes handed to the card (or advanced offline)
    std::atomic<uint32_t> queries{0};  // WaveOutPosition calls
    std::string failure;
};

WaveOutState waveOut;

// SDL audio thread: copies the next `length` bytes of the looping ring, silence when none.
void FeedCard(void*, Uint8* stream, int length) {
    uint32_t left = static_cast<uint32_t>(length);
    if (waveOut.ring == nullptr || waveOut.ringBytes == 0) {
        std::memset(stream, 0, left);
        return;
    }
    while (left > 0) {
        uint32_t chunk = waveOut.ringBytes - waveOut.readOffset;
        if (chunk > left) {
            chunk = left;
        }
        std::memcpy(stream, waveOut.ring + waveOut.readOffset, chunk);
        stream += chunk;
        left -= chunk;
        waveOut.readOffset += chunk;
        if (waveOut.readOffset == waveOut.ringBytes) {
            waveOut.readOffset = 0;
        }
    }
    waveOut.played.fetch_add(static_cast<uint32_t>(length));
}

// Sound libraries print their own complaints (ALSA: a dozen lines when there is no card) to
// stderr while SDL probes them; the caller reports the outcome in one line instead. Start-up
// runs this on the only thread, so nothing else writes to stderr meanwhile.
int SilenceStandardError() {
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    const int null = open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
        dup2(null, STDERR_FILENO);
        close(null);
    }
    return saved;
}

void RestoreStandardError(int saved) {
    if (saved >= 0) {
        std::fflush(stderr);
        dup2(saved, STDERR_FILENO);
        close(saved);
    }
}

bool ProbeCard(int32_t rate) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        waveOut.failure = std::string("no audio driver: ") + SDL_GetError();
        return false;
    }
    const char* driver = SDL_GetCurrentAudioDriver();
    const bool disk = driver != nullptr && std::strcmp(driver, "disk") == 0;
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0 || (disk && !waveOut.acceptDisk)) {
        waveOut.failure = std::string("no sound card (audio driver ") +
                          (driver != nullptr ? driver : "none") + ")";
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = rate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = 512;  // about 12 ms: well inside one 20 ms block of the ring
    wanted.callback = FeedCard;
    SDL_AudioSpec obtained{};
    waveOut.device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (waveOut.device == 0) {
        waveOut.failure = std::string("cannot open the sound card: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

bool OpenCard(int32_t rate) {
    const int saved = SilenceStandardError();
    const bool opened = ProbeCard(rate);
    RestoreStandardError(saved);
    return opened;
}

}  // namespace

void WaveOutUseOffline(bool offline) {
    waveOut.offline = offline;
}

void WaveOutAcceptDiskDriver(bool accept) {
    waveOut.acceptDisk = accept;
}

bool WaveOutIsOffline() {
    return waveOut.offline;
}

bool WaveOutOpen(int32_t rate) {
    WaveOutClose();
    waveOut.failure.clear();
    if (rate <= 0) {
        waveOut.failure = "invalid output rate";
        return false;
    }
    waveOut.openOffline = waveOut.offline;
    if (!waveOut.openOffline && !OpenCard(rate)) {
        return false;
    }
    waveOut.ring = nullptr;
    waveOut.ringBytes = 0;
    waveOut.readOffset = 0;
    waveOut.played = 0;
    waveOut.open = true;
    return true;
}

const char* WaveOutFailure() {
    return waveOut.failure.c_str();
}

void WaveOutStart(const int16_t* ring, uint32_t bytes, uint32_t startByte) {
    if (!waveOut.open) {
        return;
    }
    bytes &= ~3u;  // whole frames only
    startByte = bytes > 0 ? (startByte % bytes) & ~3u : 0;
    if (waveOut.openOffline) {
        waveOut.ring = reinterpret_cast<const uint8_t*>(ring);
        waveOut.ringBytes = bytes;
        waveOut.played = startByte;
        return;
    }
    SDL_LockAudioDevice(waveOut.device);
    waveOut.ring = reinterpret_cast<const uint8_t*>(ring);
    waveOut.ringBytes = bytes;
    waveOut.readOffset = startByte;
    waveOut.played = startByte;
    SDL_UnlockAudioDevice(waveOut.device);
    SDL_PauseAudioDevice(waveOut.device, 0);
}

void WaveOutPause(bool paused) {
    if (waveOut.open && !waveOut.openOffline && waveOut.ring != nullptr) {
        SDL_PauseAudioDevice(waveOut.device, paused ? 1 : 0);
    }
}

uint32_t WaveOutPosition() {
    waveOut.queries.fetch_add(1);
    return waveOut.played.load();
}

void WaveOutReset() {
    if (!waveOut.open) {
        return;
    }
    if (!waveOut.openOffline) {
        SDL_PauseAudioDevice(waveOut.device, 1);
        SDL_LockAudioDevice(waveOut.device);
    }
    waveOut.ring = nullptr;
    waveOut.ringBytes = 0;
    waveOut.readOffset = 0;
    waveOut.played = 0;
    if (!waveOut.openOffline) {
        SDL_UnlockAudioDevice(waveOut.device);
    }
}

void WaveOutClose() {
    if (!waveOut.open) {
        return;
    }
    WaveOutReset();
    if (!waveOut.openOffline) {
        SDL_CloseAudioDevice(waveOut.device);
        waveOut.device = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    waveOut.open = false;
}

void WaveOutAdvance(uint32_t bytes) {
    if (waveOut.open && waveOut.openOffline) {
        waveOut.played.fetch_add(bytes);
    }
}

uint32_t WaveOutPositionQueries() {
    return waveOut.queries.load();
}
