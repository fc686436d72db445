// UTF-8 paths on Windows: converted to UTF-16 for the wide-character calls, since the narrow
// ones take the local code page and would garble any non-ASCII name.
#include "platform/file_io.h"

#include <windows.h>

#include <cwchar>
#include <filesystem>
#include <system_error>

#include "platform/windows/utf16.h"

std::FILE* OpenFile(const char* path, const char* mode) {
    const std::wstring widePath = Utf8ToWide(path);
    const std::wstring wideMode = Utf8ToWide(mode);
    if (widePath.empty() || wideMode.empty()) {
        return nullptr;
    }
    return _wfopen(widePath.c_str(), wideMode.c_str());
}

bool RemoveFile(const char* path) {
    const std::wstring widePath = Utf8ToWide(path);
    return !widePath.empty() && DeleteFileW(widePath.c_str()) != 0;
}

bool CreateFolders(const char* path, std::string* why) {
    const std::wstring widePath = Utf8ToWide(path);
    if (widePath.empty()) {
        *why = "not a valid UTF-8 path";
        return false;
    }
    std::error_code code;
    const std::filesystem::path folder(widePath);
    std::filesystem::create_directories(folder, code);
    if (code || !std::filesystem::is_directory(folder, code)) {
        *why = code ? code.message() : std::string();
        return false;
    }
    return true;
}
