// Serialises an XmModule to the bytes of an XM 1.04 file.
#pragma once

#include <cstdint>
#include <vector>

#include "xm_module.h"

std::vector<uint8_t> WriteXm(const XmModule& module);
