// End titles.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void EndTitlesInit() {}
void EndTitlesDraw() {}
