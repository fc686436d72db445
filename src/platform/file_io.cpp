// UTF-8 paths on Linux: file names are bytes, so the C library and std::filesystem take them as
// they are.
#include "platform/file_io.h"

#include <filesystem>
#include <system_error>

std::FILE* OpenFile(const char* path, const char* mode) {
    return std::fopen(path, mode);
}

bool RemoveFile(const char* path) {
    return std::remove(path) == 0;
}

bool CreateFolders(const char* path, std::string* why) {
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code || !std::filesystem::is_directory(path, code)) {
        *why = code ? code.message() : std::string();
        return false;
    }
    return true;
}
