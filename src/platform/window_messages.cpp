// SDL events translated into window messages.
#include "platform/window_messages.h"

#include <SDL.h>

namespace {
Uint32 quitEventType = 0;

KeyCode TranslateKey(const SDL_Keysym& key) {
    switch (key.sym) {
        case SDLK_ESCAPE:
            return KeyCode::Escape;
        case SDLK_LEFT:
            return KeyCode::Left;
        case SDLK_RIGHT:
            return KeyCode::Right;
        case SDLK_SPACE:
            return KeyCode::Space;
        case SDLK_PERIOD:
            return KeyCode::Period;
        case SDLK_COMMA:
            return KeyCode::Comma;
        case SDLK_PAGEDOWN:
            return KeyCode::PageDown;
        case SDLK_PAGEUP:
            return KeyCode::PageUp;
        case SDLK_HOME:
            return KeyCode::Home;
        case SDLK_TAB:
            return KeyCode::Tab;
        case SDLK_F1:
            return KeyCode::F1;
        case SDLK_QUESTION:
            return KeyCode::Question;
        case SDLK_SLASH:
            // SDL names the key, not the character: "?" is Shift and "/" on most layouts.
            return (key.mod & KMOD_SHIFT) != 0 ? KeyCode::Question : KeyCode::Other;
        default:
            return KeyCode::Other;
    }
}

WindowMessage TranslateEvent(const SDL_Event& event) {
    WindowMessage message;
    switch (event.type) {
        case SDL_KEYDOWN:
            message.kind = MessageKind::KeyDown;
            message.key = TranslateKey(event.key.keysym);
            message.repeat = event.key.repeat != 0;
            break;
        case SDL_KEYUP:
            message.kind = MessageKind::KeyUp;
            message.key = TranslateKey(event.key.keysym);
            break;
        case SDL_QUIT:
            message.kind = MessageKind::Close;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                message.kind = MessageKind::Close;
            }
            break;
        default:
            if (quitEventType != 0 && event.type == quitEventType) {
                message.kind = MessageKind::Quit;
            }
            break;
    }
    return message;
}
}  // namespace

bool PeekWindowMessage(WindowMessage* message) {
    SDL_Event event;
    if (SDL_PollEvent(&event) == 0) {
        return false;
    }
    *message = TranslateEvent(event);
    return true;
}

void QueueQuitMessage() {
    if (quitEventType == 0) {
        quitEventType = SDL_RegisterEvents(1);
    }
    SDL_Event event;
    SDL_zero(event);
    event.type = quitEventType;
    SDL_PushEvent(&event);
}
