// Word spheres.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void WordSpheresInit() {}
void WordSpheresDraw() {}
