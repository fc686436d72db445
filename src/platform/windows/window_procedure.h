// The demo window's procedure, shared by the display (which registers the class) and the message
// queue (which the procedure fills).
#pragma once

#include <windows.h>

// Translates the window's messages into WindowMessage records for PeekWindowMessage: key downs
// and ups (the keys KeyCode names, auto-repeats marked), and WM_CLOSE (after destroying the
// window). Everything else goes to DefWindowProcA.
LRESULT CALLBACK DemoWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets queued messages (the display closes).
void ClearWindowMessages();
