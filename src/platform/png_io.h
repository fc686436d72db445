// Reads and writes RGB pictures as PNG files.
#pragma once

#include <cstdint>
#include <vector>

// Writes width x height tightly packed RGB rows (top row first) to path as an 8-bit RGB PNG.
// The same pixels always give the same bytes. False (and no file left behind) on any failure.
bool WritePngRgb(const char* path, int32_t width, int32_t height, const uint8_t* rgb);

// Reads a PNG of any colour type into tightly packed 8-bit RGB rows, top row first.
bool ReadPngRgb(const char* path, int32_t* width, int32_t* height, std::vector<uint8_t>* rgb);
