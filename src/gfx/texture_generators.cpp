// placeholder
#include "gfx/texture_generators.h"
