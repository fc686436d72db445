// The show's timeline table and the step that runs it.
#include "shell/timeline.h"

#include <array>
#include <cstddef>

#include "scenes/scenes.h"

const TimelineEntry kTimeline[kTimelineLength] = {
    // name            counters (first, last, stride)  start-up  set-up               draw
    {"noise sphere", 0, 0, 1, 1, NoiseSphereInit, NoiseSphereDraw},
    {"tumbling rings", 1, 9, 2, 0, TumblingRingsInit, TumblingRingsDraw},
    {"tube carousel", 2, 10, 2, 2, TubeCarouselInit, TubeCarouselDraw},
    {"box fields", 11, 39, 2, 3, BoxFieldsInit, BoxFieldsDraw},
    {"bit grid", 12, 38, 2, -1, nullptr, BitGridDraw},
    {"torus nest", 40, 48, 2, 5, TorusNestInit, TorusNestDraw},
    {"sphere burst", 41, 47, 2, 4, SphereBurstInit, SphereBurstDraw},
    {"word spheres", 49, 49, 1, 6, WordSpheresInit, WordSpheresDraw},
    {"greetings", 50, 50, 1, 7, GreetingsScrollInit, GreetingsScrollDraw},
    {"wobbling core", 51, 51, 1, 8, WobblingCoreInit, WobblingCoreDraw},
    {"orrery", 52, 52, 1, 9, SphereOrreryInit, SphereOrreryDraw},
    {"end titles", 53, 53, 1, 10, EndTitlesInit, EndTitlesDraw},
    {"paddle game", -1, -1, 1, 11, PaddleGameInit, PaddleGameDraw},
};

const TimelineEntry& kHiddenScene = kTimeline[kTimelineLength - 1];

const TimelineEntry* SelectScene(int32_t sceneCounter, bool hiddenMode) {
    if (hiddenMode) {
        return &kHiddenScene;
    }
    for (const TimelineEntry& entry : kTimeline) {
        if (entry.firstCounter >= 0 && sceneCounter >= entry.firstCounter &&
            sceneCounter <= entry.lastCounter &&
            (sceneCounter - entry.firstCounter) % entry.counterStride == 0) {
            return &entry;
        }
    }
    return nullptr;
}

void RunSceneInitialisations() {
    std::array<SceneInitRoutine, kTimelineLength> ordered{};
    for (const TimelineEntry& entry : kTimeline) {
        if (entry.init != nullptr && entry.startupPosition >= 0 &&
            entry.startupPosition < kTimelineLength) {
            ordered[static_cast<std::size_t>(entry.startupPosition)] = entry.init;
        }
    }
    for (SceneInitRoutine init : ordered) {
        if (init != nullptr) {
            init();
        }
    }
}

void EndVisit(ShowState& show) {
    if (show.sceneCounter >= kLastSceneCounter) {
        show.quitRequested = true;
    } else {
        show.sceneCounter += 1;
    }
}

const TimelineEntry* DrawShowFrame(ShowState& show) {
    const TimelineEntry* entry = SelectScene(show.sceneCounter, show.hiddenMode);
    if (entry != nullptr && entry->draw(show.frame) && !show.hiddenMode) {
        EndVisit(show);
    }
    return entry;
}
