// Regular-file checks, flushing to disk, truncation and atomic replacement through the Windows C
// runtime and the wide-character file API.
#include "platform/files.h"

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/windows/utf16.h"

std::FILE* OpenRegularFileForReading(const char* path) {
    const std::wstring widePath = Utf8ToWide(path);
    if (widePath.empty()) {
        return nullptr;
    }
    // A folder, a device name or anything else that is not an ordinary file counts as missing.
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        return nullptr;
    }
    std::FILE* file = _wfopen(widePath.c_str(), L"r");
    if (file == nullptr) {
        return nullptr;
    }
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

bool FlushFileToDisk(std::FILE* file) {
    return std::fflush(file) == 0 && _commit(_fileno(file)) == 0;
}

bool TruncateOpenFile(std::FILE* file, long long bytes) {
    return _chsize_s(_fileno(file), bytes) == 0;
}

bool ReplaceFileAtomically(const char* from, const char* to) {
    const std::wstring wideFrom = Utf8ToWide(from);
    const std::wstring wideTo = Utf8ToWide(to);
    return !wideFrom.empty() && !wideTo.empty() &&
           MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveRegularFile(const char* path) {
    const std::wstring widePath = Utf8ToWide(path);
    if (widePath.empty()) {
        return;
    }
    const DWORD attributes = GetFileAttributesW(widePath.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0) {
        DeleteFileW(widePath.c_str());
    }
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}
