// The study overlay: where the show stands (time, scene and visit, frame time and rate, the
// song's position) and the list of keys, drawn over the presented picture at the window's own
// resolution. Never drawn into the 640 x 480 picture, so captures and exports cannot hold it.
#pragma once

#include <cstdint>

struct ShowRun;

// Draws the panels that are switched on over the window's framebuffer (bound by
// DisplayShowPicture) of windowWidth x windowHeight pixels; the show's GL state is left exactly as
// it was.
void DrawStudyOverlay(ShowRun& run, int32_t windowWidth, int32_t windowHeight);
