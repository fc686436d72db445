// Box fields.
#include "scenes/scenes.h"

// Not built yet: draws nothing.
void BoxFieldsInit() {}
void BoxFieldsDraw() {}
