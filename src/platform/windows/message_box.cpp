// Message box through MessageBoxA, or stderr when nobody is meant to see one.
#include "platform/message_box.h"

#include <windows.h>

#include <cstdio>

void ShowMessageBox(const char* text, const char* caption, bool interactive) {
    if (interactive && MessageBoxA(nullptr, text, caption, MB_OK) != 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
