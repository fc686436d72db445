// Bit grid.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void BitGridDraw() {}
