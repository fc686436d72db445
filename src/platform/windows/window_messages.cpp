// The Win32 message queue and window procedure, translated into window messages.
#include "platform/window_messages.h"

#include <cstdint>
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
        case VK_SPACE:
            return KeyCode::Space;
        case VK_OEM_PERIOD:
            return KeyCode::Period;
        case VK_OEM_COMMA:
            return KeyCode::Comma;
        case VK_NEXT:
            return KeyCode::PageDown;
        case VK_PRIOR:
            return KeyCode::PageUp;
        case VK_HOME:
            return KeyCode::Home;
        case VK_TAB:
            return KeyCode::Tab;
        case VK_F1:
            return KeyCode::F1;
        case VK_OEM_2:
            // The "/?" key: "?" with Shift, as on the desktop backend.
            return (GetKeyState(VK_SHIFT) & 0x8000) != 0 ? KeyCode::Question : KeyCode::Other;
        default:
            return KeyCode::Other;
    }
}

// Bit 30 of a key message's lParam: the key was already down (an auto-repeat).
bool IsRepeat(LPARAM lParam) {
    return (static_cast<uint64_t>(lParam) & (1u << 30)) != 0;
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
            pending.push_back({MessageKind::KeyDown, TranslateKey(wParam), IsRepeat(lParam)});
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
