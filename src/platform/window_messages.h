// The window's input as messages the driver takes one at a time, like a Win32 message queue.
#pragma once

enum class MessageKind {
    KeyDown,
    KeyUp,
    Close,  // the user closed the window (or the system asked the program to end)
    Quit,   // the quit message posted by QueueQuitMessage
    Other,  // anything else (mouse, focus, resize): the driver ignores it
};

enum class KeyCode { Escape, Left, Right, Other };

struct WindowMessage {
    MessageKind kind = MessageKind::Other;
    KeyCode key = KeyCode::Other;
};

// Takes one message from the queue without waiting; false when the queue is empty.
// Main thread only, after DisplayOpen.
bool PeekWindowMessage(WindowMessage* message);

// Queues the quit message; a later PeekWindowMessage returns it.
void QueueQuitMessage();
