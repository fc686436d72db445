// The two songs the demo carries.
#pragma once

#include "xm_module.h"

XmModule ComposeShowSong();    // 12 channels, 26 orders, 10 patterns, speed 4, 125 BPM
XmModule ComposeHiddenSong();  // 4 channels, 19 orders, 8 patterns, speed 3, 125 BPM
