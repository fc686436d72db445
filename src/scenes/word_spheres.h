// Word spheres: the sentence clock and camera path, separate from drawing.
#pragma once

#include "gfx/gl_state.h"

struct WordSpheres {
    float clock = 0.0f;      // scene time in frameStep units
    float wordClock = 0.0f;  // position within the sentence, 0..35 (one frame just above 35)
    float wordRate = 0.0f;   // extra speed of the word clock, +0.5 per completed sentence
    Camera camera;
};

extern thread_local WordSpheres wordSpheres;

// The word shown at word clock t: each bound belongs to the earlier word ("YOU" up to and
// including 5); null above 35.
const char* SentenceWord(float wordClock);

// Start of a frame: both clocks advance, then the camera follows the clock.
void WordSpheresAdvance(WordSpheres& scene, float step);

// True once the clock has passed 50: the frame is drawn through the 64 x 64 feedback.
bool WordSpheresFeedbackOn(const WordSpheres& scene);

// End of a frame: a finished sentence restarts faster; true once the clock passes 180 (the visit
// is over).
bool WordSpheresFinishFrame(WordSpheres& scene);
