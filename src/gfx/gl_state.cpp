// GL state helpers and camera.
#include "gfx/gl_state.h"
