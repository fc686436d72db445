// The hidden-part switch: a small text file whose first two significant lines hold 381 and 947.
#pragma once

#include <cstdio>

// Bytes a line buffer holds, terminator included; a longer line arrives in pieces.
constexpr int kSettingLineBytes = 255;

// Reads the next significant line of file into buffer (kSettingLineBytes bytes). Lines that begin
// with a newline, a space or a slash are skipped. False when the file ends first.
bool ReadSettingLine(std::FILE* file, char* buffer);

// Parses the number at the start of a line as "%d" does: leading white space, an optional sign,
// decimal digits, anything after them ignored. False when there is no number.
bool ParseSettingNumber(const char* line, int* number);

// True when the first two significant lines of file start with 381 and 947.
bool HiddenSwitchMatches(std::FILE* file);

// True when path is a regular file whose first two significant lines start with 381 and 947. A
// FIFO, device or folder counts as a missing file and is not waited on. The file is closed before
// returning.
bool ReadHiddenSwitch(const char* path);
