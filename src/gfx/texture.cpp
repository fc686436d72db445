// placeholder
#include "gfx/texture.h"
