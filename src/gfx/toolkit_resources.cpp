// placeholder
#include "gfx/toolkit_resources.h"
