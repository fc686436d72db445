// The scenes' routine pairs: an initialisation run once at start-up and a draw routine run every
// frame while the schedule selects the scene.
#pragma once

void NoiseSphereInit();  // opening noise sphere, sceneCounter 0
void NoiseSphereDraw();
void TumblingRingsInit();  // odd 1..9
void TumblingRingsDraw();
void TubeCarouselInit();  // even 2..10
void TubeCarouselDraw();
void BoxFieldsInit();  // odd 11..39
void BoxFieldsDraw();
void BitGridDraw();      // even 12..38 (no initialisation)
void SphereBurstInit();  // odd 41..47
void SphereBurstDraw();
void TorusNestInit();  // even 40..48
void TorusNestDraw();
void WordSpheresInit();  // 49
void WordSpheresDraw();
void GreetingsScrollInit();  // 50
void GreetingsScrollDraw();
void WobblingCoreInit();  // 51
void WobblingCoreDraw();
void SphereOrreryInit();  // 52
void SphereOrreryDraw();
void EndTitlesInit();  // 53
void EndTitlesDraw();
void PaddleGameInit();  // hidden mode, every frame
void PaddleGameDraw();
