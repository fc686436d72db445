// Opening noise sphere.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void NoiseSphereInit() {}
void NoiseSphereDraw() {}
