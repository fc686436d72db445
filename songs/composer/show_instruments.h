// Instrument numbers of the show song and the table that defines them.
#pragma once

#include <vector>

#include "xm_module.h"

// 1-based instrument numbers as the show's patterns use them.
enum ShowInstrument : int {
    kInsKick = 1,
    kInsSnare,
    kInsHat,
    kInsOpenHat,
    kInsClap,
    kInsCrash,
    kInsTom,
    kInsNoise,
    kInsBass,
    kInsSub,
    kInsPad,
    kInsPluck,
    kInsLead,
    kInsArp,
    kInsBell,
    kInsChoir,
    kInsStab,
    kShowSampledInstruments = kInsStab,
};

// 26 instruments: the 17 above, then nine without samples whose names carry the credits.
std::vector<XmInstrument> ShowInstruments();
