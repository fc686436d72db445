// libFuzzer target: the hidden-part switch reader on arbitrary file contents.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "shell/hidden_switch.h"

namespace {
// A line handed back is terminated inside the buffer and is never one that is skipped.
void CheckLine(const char* line) {
    const void* end = std::memchr(line, '\0', kSettingLineBytes);
    if (end == nullptr || line[0] == '\n' || line[0] == ' ' || line[0] == '/') {
        __builtin_trap();
    }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // fmemopen refuses an empty buffer; one byte with a zero length reads as an empty file.
    static char empty[1];
    char* bytes = size > 0 ? const_cast<char*>(reinterpret_cast<const char*>(data)) : empty;
    std::FILE* file = fmemopen(bytes, size > 0 ? size : 1, "r");
    if (file == nullptr) {
        return 0;
    }
    if (size == 0) {
        std::fseek(file, 0, SEEK_END);
    }
    const bool matched = HiddenSwitchMatches(file);
    std::rewind(file);
    char line[kSettingLineBytes];
    int numbers = 0;
    while (ReadSettingLine(file, line)) {
        CheckLine(line);
        int number = 0;
        numbers += ParseSettingNumber(line, &number) ? 1 : 0;
    }
    std::fclose(file);
    // A match needs at least the two significant lines that hold the numbers.
    if (matched && numbers < 2) {
        __builtin_trap();
    }
    return 0;
}
