// placeholder
#include "gfx/bitmap_font.h"
