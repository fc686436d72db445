// Torus nest.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void TorusNestInit() {}
void TorusNestDraw() {}
