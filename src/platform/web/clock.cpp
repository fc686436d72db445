// Web: the page's monotonic clock (performance.now), less the time the page was hidden; while
// live sound plays, the time of the sound played, so that the picture keeps to the sound.
#include "platform/clock.h"

#include <emscripten/emscripten.h>

#include "platform/web/web_internal.h"

namespace {

struct WebClock {
    bool started = false;
    bool followingAudio = false;
    uint32_t audioStart = 0;    // which start of the sound it follows
    double offset = 0.0;        // added to the source's reading, so that a change of source
                                // does not make the clock jump
    double last = 0.0;          // the last reading handed out: the clock never goes back
    double hiddenSince = -1.0;  // page time the page was hidden at; negative while shown
    double hiddenTotal = 0.0;   // page time spent hidden
};

WebClock clock;

double PageMilliseconds() {
    const double now = clock.hiddenSince >= 0.0 ? clock.hiddenSince : emscripten_get_now();
    return now - clock.hiddenTotal;
}

}  // namespace

void WebClockSetPaused(bool paused) {
    if (paused && clock.hiddenSince < 0.0) {
        clock.hiddenSince = emscripten_get_now();
    } else if (!paused && clock.hiddenSince >= 0.0) {
        clock.hiddenTotal += emscripten_get_now() - clock.hiddenSince;
        clock.hiddenSince = -1.0;
    }
}

uint32_t PlatformMilliseconds() {
    double audio = 0.0;
    uint32_t audioStart = 0;
    const bool followingAudio = WebAudioPlayedMilliseconds(&audio, &audioStart);
    const double source = followingAudio ? audio : PageMilliseconds();
    // A new source, or the sound started again (a seek), carries on from the last reading.
    if (!clock.started || followingAudio != clock.followingAudio ||
        (followingAudio && audioStart != clock.audioStart)) {
        clock.offset = clock.last - source;
        clock.followingAudio = followingAudio;
        clock.audioStart = audioStart;
        clock.started = true;
    }
    const double reading = source + clock.offset;
    if (reading > clock.last) {
        clock.last = reading;
    }
    return static_cast<uint32_t>(static_cast<int64_t>(clock.last));
}
