// Regular-file checks, flushing to disk, truncation and atomic replacement through POSIX calls.
#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

std::FILE* OpenRegularFileForReading(const char* path) {
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for one forever.
    const int fd = open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info;
    const int flags = fcntl(fd, F_GETFL);
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || flags < 0 ||
        fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        close(fd);
        return nullptr;
    }
    std::FILE* file = fdopen(fd, "r");
    if (file == nullptr) {
        close(fd);
    }
    return file;
}

bool FlushFileToDisk(std::FILE* file) {
    if (std::fflush(file) != 0) {
        return false;
    }
    // A pipe or device cannot be synchronised and need not be.
    return fdatasync(fileno(file)) == 0 || errno == EINVAL || errno == EROFS;
}

bool TruncateOpenFile(std::FILE* file, long long bytes) {
    return ftruncate(fileno(file), static_cast<off_t>(bytes)) == 0;
}

bool ReplaceFileAtomically(const char* from, const char* to) {
    return std::rename(from, to) == 0;
}

void RemoveRegularFile(const char* path) {
    struct stat info;
    if (lstat(path, &info) == 0 && S_ISREG(info.st_mode)) {
        unlink(path);
    }
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}
