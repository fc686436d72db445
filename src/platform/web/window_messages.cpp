// The page's key events translated into window messages: Escape and the left and right arrows;
// the page keeps every other key.
#include "platform/window_messages.h"

#include <emscripten/html5.h>

#include <cstring>
#include <deque>

namespace {

std::deque<WindowMessage> queue;
bool listening = false;

KeyCode TranslateKey(const EmscriptenKeyboardEvent& event) {
    if (std::strcmp(event.key, "Escape") == 0) {
        return KeyCode::Escape;
    }
    if (std::strcmp(event.key, "ArrowLeft") == 0) {
        return KeyCode::Left;
    }
    if (std::strcmp(event.key, "ArrowRight") == 0) {
        return KeyCode::Right;
    }
    return KeyCode::Other;
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    WindowMessage message;
    message.kind =
        eventType == EMSCRIPTEN_EVENT_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
    message.key = TranslateKey(*event);
    if (message.key == KeyCode::Other) {
        return EM_FALSE;  // not ours: the page scrolls, tabs, reloads as usual
    }
    // A held key repeats its key-down, as a desktop window's does.
    queue.push_back(message);
    return EM_TRUE;  // the arrows must not scroll the page
}

void Listen() {
    if (!listening) {
        emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
        emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_FALSE, OnKey);
        listening = true;
    }
}

}  // namespace

bool PeekWindowMessage(WindowMessage* message) {
    Listen();
    if (queue.empty()) {
        return false;
    }
    *message = queue.front();
    queue.pop_front();
    return true;
}

void QueueQuitMessage() {
    WindowMessage message;
    message.kind = MessageKind::Quit;
    queue.push_back(message);
}
