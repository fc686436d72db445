// Tube carousel.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void TubeCarouselInit() {}
void TubeCarouselDraw() {}
