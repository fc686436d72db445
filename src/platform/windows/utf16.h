// UTF-8 <-> UTF-16 for the Windows platform files: the program speaks UTF-8, the wide-character
// API speaks UTF-16.
#pragma once

#include <string>

// Empty for empty or invalid input.
std::wstring Utf8ToWide(const char* text);
std::string WideToUtf8(const wchar_t* text);
