// Message box through SDL, or stderr where nothing can show one.
#include "platform/message_box.h"

#include <SDL.h>

#include <cstdio>

void ShowMessageBox(const char* text, const char* caption, bool interactive) {
    if (interactive &&
        SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, caption, text, nullptr) == 0) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
