// The message box as a line in the page (the page's Module.showMessage), or stderr, which the
// page's console shows.
#include "platform/message_box.h"

#include <emscripten/emscripten.h>

#include <cstdio>

namespace {

// True when the page took the line.
// clang-format off
EM_JS(bool, ShowLineInPage, (const char* text), {
    if (typeof Module.showMessage !== 'function') {
        return false;
    }
    Module.showMessage(UTF8ToString(text));
    return true;
});
// clang-format on

}  // namespace

void ShowMessageBox(const char* text, const char* caption, bool interactive) {
    if (interactive && ShowLineInPage(text)) {
        return;
    }
    std::fprintf(stderr, "%s: %s\n", caption, text);
}
