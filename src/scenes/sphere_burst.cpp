// Sphere burst.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void SphereBurstInit() {}
void SphereBurstDraw() {}
