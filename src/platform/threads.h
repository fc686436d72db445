// Whether this build can run threads of its own. A page in a browser cannot without cross-origin
// isolation, so there the player renders on the frame loop and offline output is written on the
// calling thread.
#pragma once

constexpr bool ThreadsAvailable() {
#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
    return false;
#else
    return true;
#endif
}
