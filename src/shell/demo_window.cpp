// The demo window, its initial GL state and its window procedure.
#include "shell/demo_window.h"

#include "core/screen.h"

bool CreateDemoWindow(DisplayMode mode) {
    return OpenPicture(mode);
}

void DestroyDemoWindow() {
    DisplayClose();
}

void WindowProc(ShowState& show, const WindowMessage& message) {
    switch (message.kind) {
        case MessageKind::Close:
            show.quitRequested = true;
            break;
        case MessageKind::KeyDown:
            if (message.key == KeyCode::Escape) {
                QueueQuitMessage();
            } else if (message.key == KeyCode::Left) {
                show.frame.leftKeyHeld = true;
            } else if (message.key == KeyCode::Right) {
                show.frame.rightKeyHeld = true;
            }
            break;
        case MessageKind::KeyUp:
            if (message.key == KeyCode::Left) {
                show.frame.leftKeyHeld = false;
            } else if (message.key == KeyCode::Right) {
                show.frame.rightKeyHeld = false;
            }
            break;
        case MessageKind::Quit:
        case MessageKind::Other:
            break;
    }
}
