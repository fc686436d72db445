// The OpenGL 1.x and GLU calls the program draws with. Every file that draws includes this one
// header: builds with DEMO_GL_LAYER get our own layer, which implements the same calls on
// OpenGL ES 3 / WebGL 2 (platform/gl_layer/), and the others the system's GL and GLU. Nothing
// above the platform layer can tell which of the two it got.
#pragma once

#if defined(DEMO_GL_LAYER)
#include "platform/gl_layer/gl1.h"
#else
#include <GL/gl.h>
#include <GL/glu.h>
#endif
