// placeholder
#include "gfx/sprite.h"
