// Wobbling core.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void WobblingCoreInit() {}
void WobblingCoreDraw() {}
