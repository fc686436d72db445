// The hidden-part switch file reader.
#include "shell/hidden_switch.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/files.h"

namespace {
constexpr int kFirstMagicNumber = 381;
constexpr int kSecondMagicNumber = 947;
}  // namespace

bool ReadSettingLine(std::FILE* file, char* buffer) {
    if (file == nullptr || buffer == nullptr) {
        return false;
    }
    for (;;) {
        if (std::fgets(buffer, kSettingLineBytes, file) == nullptr) {
            return false;
        }
        // Text mode on the system the file format comes from turns CR LF into LF; do the same so
        // that an empty line written there is still an empty line.
        const size_t length = std::strlen(buffer);
        if (length >= 2 && buffer[length - 2] == '\r' && buffer[length - 1] == '\n') {
            buffer[length - 2] = '\n';
            buffer[length - 1] = '\0';
        }
        const char first = buffer[0];
        if (first != '\n' && first != ' ' && first != '/') {
            return true;
        }
    }
}

bool ParseSettingNumber(const char* line, int* number) {
    const char* cursor = line;
    while (*cursor != '\0' && std::isspace(static_cast<unsigned char>(*cursor))) {
        ++cursor;
    }
    const char* digits = cursor;
    if (*digits == '+' || *digits == '-') {
        ++digits;
    }
    if (!std::isdigit(static_cast<unsigned char>(*digits))) {
        return false;
    }
    errno = 0;
    const long value = std::strtol(cursor, nullptr, 10);
    // Out of range is no match; it can never equal either magic number anyway.
    if (errno == ERANGE || value > INT_MAX || value < INT_MIN) {
        return false;
    }
    *number = static_cast<int>(value);
    return true;
}

bool HiddenSwitchMatches(std::FILE* file) {
    char line[kSettingLineBytes];
    int first = 0;
    int second = 0;
    return ReadSettingLine(file, line) && ParseSettingNumber(line, &first) &&
           ReadSettingLine(file, line) && ParseSettingNumber(line, &second) &&
           first == kFirstMagicNumber && second == kSecondMagicNumber;
}

bool ReadHiddenSwitch(const char* path) {
    std::FILE* file = OpenRegularFileForReading(path);
    if (file == nullptr) {
        return false;
    }
    const bool matched = HiddenSwitchMatches(file);
    std::fclose(file);
    return matched;
}
