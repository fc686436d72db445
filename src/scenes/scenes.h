// Every scene's routine pair: a set-up run once at start-up and a draw routine run every frame
// while the show's timeline selects the scene. A draw routine returns true on the frame its visit
// ends; which scene follows is the timeline's business.
//
// The scenes' records, meshes, cameras and sprites, like the toolkit's textures, fonts and screen
// feedback, are per thread: the show's thread has its set, and a rehearsal of the show on another
// thread with a GL context of its own (shell/rehearsal.h) builds and draws a set of its own.
#pragma once

#include "core/frame_input.h"

void NoiseSphereInit();
bool NoiseSphereDraw(const FrameInput& frame);
void TumblingRingsInit();
bool TumblingRingsDraw(const FrameInput& frame);
void TubeCarouselInit();
bool TubeCarouselDraw(const FrameInput& frame);
void BoxFieldsInit();
bool BoxFieldsDraw(const FrameInput& frame);
bool BitGridDraw(const FrameInput& frame);  // needs no set-up
void SphereBurstInit();
bool SphereBurstDraw(const FrameInput& frame);
void TorusNestInit();
bool TorusNestDraw(const FrameInput& frame);
void WordSpheresInit();
bool WordSpheresDraw(const FrameInput& frame);
void GreetingsScrollInit();
bool GreetingsScrollDraw(const FrameInput& frame);
void WobblingCoreInit();
bool WobblingCoreDraw(const FrameInput& frame);
void SphereOrreryInit();
bool SphereOrreryDraw(const FrameInput& frame);
void EndTitlesInit();
bool EndTitlesDraw(const FrameInput& frame);
void PaddleGameInit();
bool PaddleGameDraw(const FrameInput& frame);  // the hidden mode's one scene; never ends
