// Every test program runs on Mesa's software renderer without a display server, plays no sound,
// and has no non-power-of-two textures, which OpenGL 1.1 does not have either. Values already
// in the environment win, so a developer can still point a test at a real display.
#include <cstdlib>

namespace {

bool SetTestEnvironment() {
#ifndef _WIN32  // the Windows test programs draw nothing; Wine passes the environment on
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_texture_non_power_of_two", 0);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 0);
#endif
    return true;
}

[[maybe_unused]] const bool testEnvironmentSet = SetTestEnvironment();

}  // namespace
