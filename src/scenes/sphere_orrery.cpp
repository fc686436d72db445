// Sphere orrery.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void SphereOrreryInit() {}
void SphereOrreryDraw() {}
