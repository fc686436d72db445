// The window's input as messages the driver takes one at a time, like a Win32 message queue.
#pragma once

enum class MessageKind {
    KeyDown,
    KeyUp,
    Close,  // the user closed the window (or the system asked the program to end)
    Quit,   // the quit message posted by QueueQuitMessage
    Other,  // anything else (mouse, focus, resize): the driver ignores it
};

// The keys the program knows, whatever the platform calls them: Escape and the arrows for the
// show and the hidden game; the rest for studying the show (pause, frame steps, scene jumps, the
// overlay and its key list). Every backend (desktop, Windows, web) translates into these.
enum class KeyCode {
    Escape,
    Left,
    Right,
    Space,
    Period,  // "."
    Comma,   // ","
    PageDown,
    PageUp,
    Home,
    Tab,
    F1,
    Question,  // "?": the key that types it, with Shift where the layout needs it
    Other,
};

struct WindowMessage {
    MessageKind kind = MessageKind::Other;
    KeyCode key = KeyCode::Other;
    bool repeat = false;  // a key-down sent again because the key is held
};

// Takes one message from the queue without waiting; false when the queue is empty.
// Main thread only, after DisplayOpen.
bool PeekWindowMessage(WindowMessage* message);

// Queues the quit message; a later PeekWindowMessage returns it.
void QueueQuitMessage();
