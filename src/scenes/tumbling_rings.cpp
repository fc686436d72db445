// Tumbling rings.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void TumblingRingsInit() {}
void TumblingRingsDraw() {}
