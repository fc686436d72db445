// The scene schedule and the start-up order of the scene initialisations.
#include "shell/schedule.h"

#include "scenes/scenes.h"

namespace {
constexpr int32_t kLastScene = 53;
constexpr const char* kSceneNames[kSceneCount] = {
    "noise sphere", "tumbling rings", "tube carousel", "box fields", "bit grid",
    "sphere burst", "torus nest",     "word spheres",  "greetings",  "wobbling core",
    "orrery",       "end titles",     "paddle game",
};
}  // namespace

const SceneRoutine kSceneDrawRoutines[kSceneCount] = {
    NoiseSphereDraw,  TumblingRingsDraw, TubeCarouselDraw, BoxFieldsDraw,       BitGridDraw,
    SphereBurstDraw,  TorusNestDraw,     WordSpheresDraw,  GreetingsScrollDraw, WobblingCoreDraw,
    SphereOrreryDraw, EndTitlesDraw,     PaddleGameDraw,
};

SceneRoutine SelectDrawRoutine(int32_t counter, bool hidden) {
    if (hidden) {
        return PaddleGameDraw;
    }
    if (counter < 0 || counter > kLastScene) {
        return nullptr;
    }
    const bool odd = (counter % 2) != 0;
    if (counter == 0) {
        return NoiseSphereDraw;
    }
    if (counter <= 10) {
        return odd ? TumblingRingsDraw : TubeCarouselDraw;
    }
    if (counter <= 39) {
        return odd ? BoxFieldsDraw : BitGridDraw;
    }
    if (counter <= 48) {
        return odd ? SphereBurstDraw : TorusNestDraw;
    }
    switch (counter) {
        case 49:
            return WordSpheresDraw;
        case 50:
            return GreetingsScrollDraw;
        case 51:
            return WobblingCoreDraw;
        case 52:
            return SphereOrreryDraw;
        default:
            return EndTitlesDraw;
    }
}

void RunSceneInitialisations() {
    TumblingRingsInit();
    NoiseSphereInit();
    TubeCarouselInit();
    BoxFieldsInit();
    SphereBurstInit();
    TorusNestInit();
    WordSpheresInit();
    GreetingsScrollInit();
    WobblingCoreInit();
    SphereOrreryInit();
    EndTitlesInit();
    PaddleGameInit();
}

const char* SceneName(SceneRoutine routine) {
    for (int i = 0; i < kSceneCount; ++i) {
        if (kSceneDrawRoutines[i] == routine) {
            return kSceneNames[i];
        }
    }
    return "";
}
