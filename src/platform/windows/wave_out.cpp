// Wave-out device backends: the waveOut API playing one looping buffer, and the offline device.
#include "platform/wave_out.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <atomic>
#include <string>

namespace {

struct WaveOutState {
    bool offline = false;      // backend selected for the next open
    bool openOffline = false;  // backend of the open device
    bool open = false;
    HWAVEOUT device = nullptr;
    // The device plays `lead` (the ring from the start byte to its end) once, if there is one,
    // then loops `header` (the whole ring) without end.
    WAVEHDR lead{};
    WAVEHDR header{};
    bool leadPrepared = false;
    bool headerPrepared = false;
    uint32_t startByte = 0;            // added to the device's count, which starts at 0
    std::atomic<uint32_t> played{0};   // offline: bytes advanced
    std::atomic<uint32_t> queries{0};  // WaveOutPosition calls
    std::string failure;
};

WaveOutState waveOut;

bool OpenCard(int32_t rate) {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = static_cast<DWORD>(rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = static_cast<DWORD>(rate) * 4;
    format.cbSize = 0;
    const MMRESULT result = waveOutOpen(&waveOut.device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL);
    if (result != MMSYSERR_NOERROR) {
        waveOut.device = nullptr;
        waveOut.failure =
            result == MMSYSERR_NODRIVER || result == MMSYSERR_BADDEVICEID
                ? "no sound card"
                : "cannot open the sound card (waveOutOpen error " + std::to_string(result) + ")";
        return false;
    }
    return true;
}

}  // namespace

void WaveOutUseOffline(bool offline) {
    waveOut.offline = offline;
}

// The "disk" driver is SDL's; the waveOut backend has nothing like it.
void WaveOutAcceptDiskDriver(bool) {}

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
    waveOut.played = startByte;
    waveOut.startByte = startByte;
    if (waveOut.openOffline) {
        return;
    }
    if (startByte > 0) {
        WAVEHDR& lead = waveOut.lead;
        lead = WAVEHDR{};
        lead.lpData = reinterpret_cast<LPSTR>(const_cast<int16_t*>(ring)) + startByte;
        lead.dwBufferLength = bytes - startByte;
        waveOutPrepareHeader(waveOut.device, &lead, sizeof lead);
        waveOut.leadPrepared = true;
        waveOutWrite(waveOut.device, &lead, sizeof lead);
    }
    WAVEHDR& header = waveOut.header;
    header = WAVEHDR{};
    header.lpData = reinterpret_cast<LPSTR>(const_cast<int16_t*>(ring));
    header.dwBufferLength = bytes;
    header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
    header.dwLoops = 0xFFFFFFFFu;  // the whole buffer repeats without end
    waveOutPrepareHeader(waveOut.device, &header, sizeof header);
    waveOut.headerPrepared = true;
    waveOutWrite(waveOut.device, &header, sizeof header);
    // A device held by WaveOutPause stays held through waveOutReset; a start always plays.
    waveOutRestart(waveOut.device);
}

uint32_t WaveOutPosition() {
    waveOut.queries.fetch_add(1);
    if (!waveOut.open || waveOut.openOffline) {
        return waveOut.played.load();
    }
    MMTIME time{};
    time.wType = TIME_BYTES;
    waveOutGetPosition(waveOut.device, &time, sizeof time);
    return time.wType == TIME_BYTES ? time.u.cb + waveOut.startByte : 0;
}

void WaveOutPause(bool paused) {
    if (!waveOut.open || waveOut.openOffline || !waveOut.headerPrepared) {
        return;
    }
    if (paused) {
        waveOutPause(waveOut.device);
    } else {
        waveOutRestart(waveOut.device);
    }
}

void WaveOutReset() {
    if (!waveOut.open) {
        return;
    }
    if (!waveOut.openOffline) {
        // Stops playing and hands the buffers back; the position goes back to 0.
        waveOutReset(waveOut.device);
        if (waveOut.leadPrepared) {
            waveOutUnprepareHeader(waveOut.device, &waveOut.lead, sizeof waveOut.lead);
            waveOut.leadPrepared = false;
        }
        if (waveOut.headerPrepared) {
            waveOutUnprepareHeader(waveOut.device, &waveOut.header, sizeof waveOut.header);
            waveOut.headerPrepared = false;
        }
    }
    waveOut.played = 0;
    waveOut.startByte = 0;
}

void WaveOutClose() {
    if (!waveOut.open) {
        return;
    }
    WaveOutReset();
    if (!waveOut.openOffline) {
        waveOutClose(waveOut.device);
        waveOut.device = nullptr;
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
