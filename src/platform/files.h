// Files where a regular file is expected: opening without blocking on special files, and making
// what was written survive a crash or power cut.
#pragma once

#include <cstdio>

// Opens path for reading in text mode only when it is a regular file (or a link to one). A FIFO,
// device, socket or folder is refused without waiting on it, exactly as a missing file: null.
std::FILE* OpenRegularFileForReading(const char* path);

// Hands what was written to file to the operating system and asks it to store the data on disk
// before returning. False when either step fails.
bool FlushFileToDisk(std::FILE* file);

// Cuts an open file back to bytes long; the file must hold no buffered output (unbuffered, or
// flushed). The file position is left where it was. False on failure.
bool TruncateOpenFile(std::FILE* file, long long bytes);

// Moves from over to (replacing any file there) in one step: a reader sees either the old file or
// the complete new one. Both paths must be in the same folder. False on failure.
bool ReplaceFileAtomically(const char* from, const char* to);

// Removes path when it is a regular file. A device, FIFO or link given as an output path is left
// alone: deleting /dev/full or /dev/stdout after a failed write would do harm.
void RemoveRegularFile(const char* path);

// True when standard error is a terminal, where a progress line can be redrawn in place.
bool StandardErrorIsTerminal();
