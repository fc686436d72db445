// Files and folders named by UTF-8 paths, whatever the system's own encoding of file names.
#pragma once

#include <cstdio>
#include <string>

// std::fopen for a UTF-8 path.
std::FILE* OpenFile(const char* path, const char* mode);

// Removes a file; false when there was none or it cannot be removed.
bool RemoveFile(const char* path);

// Creates the folder and any missing parents. True when the folder exists afterwards; otherwise
// false with the system's reason in *why (may be empty).
bool CreateFolders(const char* path, std::string* why);
