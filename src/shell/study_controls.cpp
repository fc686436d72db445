// The study controls' keys: what each does, live and offline.
#include "shell/study_controls.h"

#include "core/frame_clock.h"
#include "platform/display.h"
#include "shell/music_hooks.h"
#include "shell/show_run.h"
#include "shell/study_overlay.h"

namespace {

constexpr double kSeekSeconds = 5.0;
// The live show's frame step while paused: one 60 Hz frame.
constexpr double kLiveStepMilliseconds = 1000.0 / 60.0;
// A second Page Up within this much (of wall time live, of output offline) goes a visit further.
constexpr double kDoublePressSeconds = 1.0;
// Keys that pile up while a slow pass runs are dropped past this many.
constexpr size_t kMostPending = 8;
// Smoothing of the overlay's frame time: the share of the newest frame.
constexpr double kFrameTimeWeight = 0.1;

double Milliseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

// Travels by a number of frames (offline) or milliseconds (live) from where the show stands.
void TravelBy(ShowRun& run, int64_t frames, double milliseconds) {
    Study& study = run.study;
    if (run.offline) {
        TravelToFrame(study.travel, run.show, run.position, run.position.frame + frames);
    } else {
        TravelToTime(study.travel, run.show, run.position,
                     run.position.milliseconds + milliseconds);
    }
}

// A seek of `seconds`: offline, the next output frame is the show frame seconds x fps after the
// one the picture holds, plus the one frame a pass moves on unless paused.
void Seek(ShowRun& run, double seconds) {
    const int32_t fps = run.study.travel.fps;
    const int64_t frames =
        static_cast<int64_t>(seconds * fps) + (run.offline && !run.study.paused ? 1 : 0);
    TravelBy(run, frames, seconds * 1000.0);
}

void PageUp(ShowRun& run) {
    Study& study = run.study;
    const double now = run.offline
                           ? static_cast<double>(run.frame)
                           : Milliseconds(std::chrono::steady_clock::now().time_since_epoch());
    const double quickly =
        run.offline ? kDoublePressSeconds * study.travel.fps : kDoublePressSeconds * 1000.0;
    const bool twice = now - study.lastPageUp <= quickly;
    study.lastPageUp = now;
    const int32_t visit = run.position.visit < 0 ? 0 : run.position.visit;
    TravelToVisit(study.travel, run.show, run.position, twice && visit > 0 ? visit - 1 : visit);
}

// Applies one key; true when it moved the show (the pass then shows where it landed).
bool Apply(ShowRun& run, StudyKey key, bool* resumed) {
    Study& study = run.study;
    switch (key) {
        case StudyKey::Space:
            study.paused = !study.paused;
            *resumed = !study.paused;
            if (study.paused && !run.offline) {
                PauseMusic(true);
            }
            return false;
        case StudyKey::Period:
        case StudyKey::Comma:
            if (!study.paused) {
                return false;
            }
            TravelBy(run, key == StudyKey::Period ? 1 : -1,
                     key == StudyKey::Period ? kLiveStepMilliseconds : -kLiveStepMilliseconds);
            return true;
        case StudyKey::Right:
        case StudyKey::Left:
            Seek(run, key == StudyKey::Right ? kSeekSeconds : -kSeekSeconds);
            return true;
        case StudyKey::PageDown: {
            // Before the first frame the show stands at the start of its first visit.
            const int32_t visit = run.position.visit < 0 ? 0 : run.position.visit;
            if (visit >= kLastSceneCounter) {
                return false;
            }
            TravelToVisit(study.travel, run.show, run.position, visit + 1);
            return true;
        }
        case StudyKey::PageUp:
            PageUp(run);
            return true;
        case StudyKey::Home:
            if (run.offline) {
                TravelToFrame(study.travel, run.show, run.position, 1);
            } else {
                TravelToTime(study.travel, run.show, run.position, kFirstFrameMilliseconds);
            }
            return true;
        case StudyKey::Tab:
            study.overlayShown = !study.overlayShown;
            return false;
        case StudyKey::Help:
            study.keysShown = !study.keysShown;
            return false;
    }
    return false;
}

// Live: the sound after the keys of a pass. A show that moved plays on from its new show time; a
// resumed one from where it was held, or from where it was moved to while held.
void FollowWithSound(ShowRun& run, bool landed, bool resumed) {
    Study& study = run.study;
    if (study.paused) {
        study.movedWhilePaused = study.movedWhilePaused || landed;
        return;
    }
    if (landed || (resumed && study.movedWhilePaused)) {
        SeekMusic(MusicFrameAt(run.position.milliseconds));
    } else if (resumed) {
        PauseMusic(false);
    }
    if (landed || resumed) {
        study.movedWhilePaused = false;
        FrameClockStart(run.clock);  // the time spent held or travelling is no show time
    }
}

void QueueScriptedKeys(Study& study, int64_t outputFrame) {
    while (study.nextScripted < study.script.size() &&
           study.script[study.nextScripted].frame <= outputFrame) {
        study.pending.push_back(study.script[study.nextScripted].key);
        ++study.nextScripted;
    }
}

StudyKey KeyOf(KeyCode code, bool* known) {
    *known = true;
    switch (code) {
        case KeyCode::Space:
            return StudyKey::Space;
        case KeyCode::Period:
            return StudyKey::Period;
        case KeyCode::Comma:
            return StudyKey::Comma;
        case KeyCode::Right:
            return StudyKey::Right;
        case KeyCode::Left:
            return StudyKey::Left;
        case KeyCode::PageDown:
            return StudyKey::PageDown;
        case KeyCode::PageUp:
            return StudyKey::PageUp;
        case KeyCode::Home:
            return StudyKey::Home;
        case KeyCode::Tab:
            return StudyKey::Tab;
        case KeyCode::F1:
        case KeyCode::Question:
            return StudyKey::Help;
        case KeyCode::Escape:
        case KeyCode::Other:
            break;
    }
    *known = false;
    return StudyKey::Space;
}

// Holding a key repeats the moves; switches only act on the first press.
bool RepeatsWhenHeld(StudyKey key) {
    return key == StudyKey::Period || key == StudyKey::Comma || key == StudyKey::Right ||
           key == StudyKey::Left || key == StudyKey::PageDown;
}

}  // namespace

bool StudyOpen(Study& study, const DemoOptions& options, std::string* error) {
    if (!options.keysPath.empty() && !ReadKeyScript(options.keysPath, &study.script, error)) {
        return false;
    }
    const bool offline = options.mode == RunMode::Capture || options.mode == RunMode::Export;
    study.enabled = options.mode == RunMode::Show || (offline && !study.script.empty());
    if (study.enabled) {
        KeepMusicCheckpoints();
    }
    return true;
}

void StudyStart(ShowRun& run) {
    Study& study = run.study;
    // The hidden game keeps its keys as they are.
    study.enabled = study.enabled && !run.show.hiddenMode;
    if (!study.enabled) {
        return;
    }
    study.travel.fps = run.offline ? run.options.fps : 0;
    study.travel.keepSnapshots = true;
    SnapshotWhenDue(study.travel.snapshots, run.show, run.position, 0);
    study.passBegan = study.lastPresent = std::chrono::steady_clock::now();
    QueueScriptedKeys(study, 0);
}

void StudyWindowMessage(ShowRun& run, const WindowMessage& message) {
    Study& study = run.study;
    bool known = false;
    const StudyKey key = KeyOf(message.key, &known);
    // Not before the live show's sound has started: the frames before --from are still drawing.
    if (!study.enabled || run.offline || !run.musicStarted ||
        message.kind != MessageKind::KeyDown || !known ||
        (message.repeat && !RepeatsWhenHeld(key)) || study.pending.size() >= kMostPending) {
        return;
    }
    study.pending.push_back(key);
}

PassPicture StudyBeginPass(ShowRun& run) {
    Study& study = run.study;
    study.passBegan = std::chrono::steady_clock::now();
    if (!study.enabled) {
        return PassPicture::NewFrame;
    }
    bool landed = false;
    bool resumed = false;
    while (!study.pending.empty() && !run.show.quitRequested) {
        const StudyKey key = study.pending.front();
        study.pending.pop_front();
        landed = Apply(run, key, &resumed) || landed;
    }
    if (!run.offline) {
        FollowWithSound(run, landed, resumed);
    }
    if (landed) {
        return PassPicture::Landed;
    }
    return study.paused ? PassPicture::Repeated : PassPicture::NewFrame;
}

void StudyEndPass(ShowRun& run) {
    if (run.study.enabled) {
        QueueScriptedKeys(run.study, run.frame);
    }
}

void StudyPresent(ShowRun& run) {
    Study& study = run.study;
    const auto now = std::chrono::steady_clock::now();
    study.drawMilliseconds = Milliseconds(now - study.passBegan);
    const double interval = Milliseconds(now - study.lastPresent);
    study.lastPresent = now;
    study.frameMilliseconds =
        study.frameMilliseconds == 0.0
            ? interval
            : study.frameMilliseconds + kFrameTimeWeight * (interval - study.frameMilliseconds);
    int32_t windowWidth = 0;
    int32_t windowHeight = 0;
    if (DisplayShowPicture(&windowWidth, &windowHeight) &&
        (study.overlayShown || study.keysShown)) {
        DrawStudyOverlay(run, windowWidth, windowHeight);
    }
    DisplayFinishFrame();
}
