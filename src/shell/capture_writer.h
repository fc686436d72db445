// Where offline runs write: the capture folder and its numbered frame files, the export file.
#pragma once

#include <cstdint>
#include <string>

// Creates dir if needed and checks that a file can be written in it. False with a one-line
// reason in error otherwise.
bool PrepareCaptureDir(const std::string& dir, std::string* error);

// dir/frame_000042.png for frame 42.
std::string CaptureFrameFile(const std::string& dir, int64_t frame);

// Checks that path can be created: its folder exists and takes a new file. False with a one-line
// reason in error otherwise; nothing is left behind either way.
bool PrepareExportFile(const std::string& path, std::string* error);

// Size of the file at path in bytes; 0 when there is none.
int64_t FileBytes(const std::string& path);
