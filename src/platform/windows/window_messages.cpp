// The Win32 message queue and window procedure, translated into window messages.
#include "platform/window_messages.h"

#include <deque>

#include "platform/windows/window_procedure.h"

namespace {

// Messages the window procedure has translated and the driver has not taken yet. The procedure
// runs inside DispatchMessageA (or DestroyWindow) on the main thread, like the driver.
std::deque<WindowMessage> pending;

KeyCode TranslateKey(WPARAM key) {
    switch (key) {
        case VK_ESCAPE:
            return KeyCode::Escape;
        case VK_LEFT:
            return KeyCode::Left;
        case VK_RIGHT:
            return KeyCode::Right;
        default:
            return KeyCode::Other;
    }
}

}  // namespace

LRESULT CALLBACK DemoWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
        case WM_DESTROY:
            return 0;  // in particular no quit message on destroy
        case WM_CLOSE:
            DestroyWindow(window);
            pending.push_back({MessageKind::Close, KeyCode::Other});
            return 0;
        case WM_KEYDOWN:
            pending.push_back({MessageKind::KeyDown, TranslateKey(wParam)});
            return 0;
        case WM_KEYUP:
            pending.push_back({MessageKind::KeyUp, TranslateKey(wParam)});
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ClearWindowMessages() {
    pending.clear();
}

bool PeekWindowMessage(WindowMessage* message) {
    // Dispatch system messages until one becomes a window message or none is left.
    while (pending.empty()) {
        MSG system;
        if (!PeekMessageA(&system, nullptr, 0, 0, PM_REMOVE)) {
            return false;
        }
        if (system.message == WM_QUIT) {
            pending.push_back({MessageKind::Quit, KeyCode::Other});
            break;
        }
        DispatchMessageA(&system);
    }
    *message = pending.front();
    pending.pop_front();
    return true;
}

void QueueQuitMessage() {
    PostQuitMessage(0);
}
