// placeholder
#include "gfx/screen_feedback.h"
