// The page's key events translated into window messages: Escape, the arrows and the study keys;
// the page keeps every other key.
#include "platform/window_messages.h"

#include <emscripten/html5.h>

#include <cstring>
#include <deque>

namespace {

std::deque<WindowMessage> queue;
bool listening = false;

struct KeyName {
    const char* key;  // KeyboardEvent.key
    KeyCode code;
};

constexpr KeyName kKeys[] = {
    {"Escape", KeyCode::Escape},     {"ArrowLeft", KeyCode::Left}, {"ArrowRight", KeyCode::Right},
    {" ", KeyCode::Space},           {".", KeyCode::Period},       {",", KeyCode::Comma},
    {"PageDown", KeyCode::PageDown}, {"PageUp", KeyCode::PageUp},  {"Home", KeyCode::Home},
    {"Tab", KeyCode::Tab},           {"F1", KeyCode::F1},          {"?", KeyCode::Question},
};

KeyCode TranslateKey(const EmscriptenKeyboardEvent& event) {
    for (const KeyName& name : kKeys) {
        if (std::strcmp(event.key, name.key) == 0) {
            return name.code;
        }
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
    // A held key repeats its key-down, as a desktop window's does, marked as a repeat.
    message.repeat = event->repeat != 0;
    queue.push_back(message);
    return EM_TRUE;  // the page must not scroll, tab away or open its help on our keys
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
