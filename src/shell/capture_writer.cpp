// Where offline runs write: the capture folder and its frame files, the export file.
#include "shell/capture_writer.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/file_io.h"

namespace fs = std::filesystem;

bool PrepareCaptureDir(const std::string& dir, std::string* error) {
    std::string why;
    if (!CreateFolders(dir.c_str(), &why)) {
        *error = "cannot create the capture folder '" + dir + "'" + (why.empty() ? "" : ": " + why);
        return false;
    }
    const std::string probe = dir + "/.capture-write-test";
    std::FILE* file = OpenFile(probe.c_str(), "wb");
    if (file == nullptr || std::fputc('x', file) == EOF || std::fclose(file) != 0) {
        *error = "cannot write in the capture folder '" + dir + "'";
        return false;
    }
    RemoveFile(probe.c_str());
    return true;
}

std::string CaptureFrameFile(const std::string& dir, int64_t frame) {
    char name[40];
    std::snprintf(name, sizeof name, "/frame_%06lld.png", static_cast<long long>(frame));
    return dir + name;
}

bool PrepareExportFile(const std::string& path, std::string* error) {
    const fs::path file(path);
    const fs::path folder = file.has_parent_path() ? file.parent_path() : fs::path(".");
    std::error_code code;
    if (!fs::is_directory(folder, code)) {
        *error = "cannot write '" + path + "': there is no folder '" + folder.string() + "'";
        return false;
    }
    if (fs::is_directory(file, code)) {
        *error = "cannot write '" + path + "': it is a folder";
        return false;
    }
    const std::string probe = path + ".part";
    std::FILE* probeFile = OpenFile(probe.c_str(), "wb");
    if (probeFile == nullptr || std::fclose(probeFile) != 0) {
        *error = "cannot write '" + path + "': the folder is not writable";
        return false;
    }
    RemoveFile(probe.c_str());
    return true;
}

int64_t FileBytes(const std::string& path) {
    std::error_code code;
    const auto bytes = fs::file_size(path, code);
    return code ? 0 : static_cast<int64_t>(bytes);
}
