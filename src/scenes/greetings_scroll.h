// Greetings scroll: the rising list of names and the swaying camera, separate from drawing.
#pragma once

#include "gfx/gl_state.h"

struct GreetingsScroll {
    float clock = 0.0f;  // scene time in frameStep units
    int noiseIndex = 0;  // static-noise frame 0..3 bound this frame
    Camera camera;
};

extern thread_local GreetingsScroll greetingsScroll;

constexpr int kGreetingLineCount = 10;

// Line i of the list (0 is the heading) and its height in world units at the given clock.
const char* GreetingText(int line);
float GreetingLineY(float clock, int line);

// Start of a frame: clock, camera sway and noise frame advance.
void GreetingsScrollAdvance(GreetingsScroll& scene, float step);

// End of a frame: true once the clock passes 200 (the visit is over).
bool GreetingsScrollFinishFrame(const GreetingsScroll& scene);
