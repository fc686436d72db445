// The scene schedule: which draw routine sceneCounter selects, and the start-up initialisations.
#pragma once

#include <cstdint>

using SceneRoutine = void (*)();

// The draw routine for a frame: the paddle game in the hidden mode whatever the counter holds;
// otherwise by the counter, or null (only the cleared screen) outside 0..53.
SceneRoutine SelectDrawRoutine(int32_t counter, bool hidden);

// Every scene's initialisation in start-up order (the order decides which random numbers each
// one draws, and the first also fills the shared textures).
void RunSceneInitialisations();

// Short name of the scene a routine draws, for progress and benchmark tables; "" for null.
const char* SceneName(SceneRoutine routine);

// The thirteen draw routines in show order (the paddle game last).
constexpr int kSceneCount = 13;
extern const SceneRoutine kSceneDrawRoutines[kSceneCount];
