// The window procedure: keys and closing turned into the driver's flags and the quit message.
#include <gtest/gtest.h>

#include "gl_test.h"
#include "platform/window_messages.h"
#include "shell/demo_window.h"

namespace {

class WindowProcTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        DrainMessages();
    }
    // Empties the queue; true if the quit message was among what it held.
    static bool DrainMessages() {
        bool quit = false;
        WindowMessage message;
        while (PeekWindowMessage(&message)) {
            quit = quit || message.kind == MessageKind::Quit;
        }
        return quit;
    }
    static WindowMessage Key(MessageKind kind, KeyCode key) { return {kind, key}; }
    ShowState show;
    bool& leftKeyHeld = show.frame.leftKeyHeld;
    bool& rightKeyHeld = show.frame.rightKeyHeld;
    bool& quitRequested = show.quitRequested;
};

TEST_F(WindowProcTest, EscapeQueuesTheQuitMessageAndClosingSetsQuitRequested) {
    WindowProc(show, Key(MessageKind::KeyDown, KeyCode::Escape));
    EXPECT_FALSE(quitRequested);  // the main loop ends when it takes the message
    EXPECT_TRUE(DrainMessages());
    WindowProc(show, Key(MessageKind::KeyUp, KeyCode::Escape));
    WindowProc(show, Key(MessageKind::KeyDown, KeyCode::Other));
    WindowProc(show, {MessageKind::Other, KeyCode::Other});
    EXPECT_FALSE(DrainMessages());
    EXPECT_FALSE(quitRequested);
    WindowProc(show, {MessageKind::Close, KeyCode::Other});
    EXPECT_TRUE(quitRequested);
}

TEST_F(WindowProcTest, ArrowKeysAreHeldFromKeyDownToKeyUpAndOtherKeysChangeNothing) {
    WindowProc(show, Key(MessageKind::KeyDown, KeyCode::Left));
    WindowProc(show, Key(MessageKind::KeyDown, KeyCode::Left));  // auto-repeat only sets it again
    EXPECT_TRUE(leftKeyHeld);
    EXPECT_FALSE(rightKeyHeld);
    WindowProc(show, Key(MessageKind::KeyDown, KeyCode::Right));
    WindowProc(show, Key(MessageKind::KeyUp, KeyCode::Other));
    WindowProc(show, Key(MessageKind::KeyUp, KeyCode::Escape));
    EXPECT_TRUE(leftKeyHeld);
    EXPECT_TRUE(rightKeyHeld);
    WindowProc(show, Key(MessageKind::KeyUp, KeyCode::Left));
    EXPECT_FALSE(leftKeyHeld);
    EXPECT_TRUE(rightKeyHeld);
    WindowProc(show, Key(MessageKind::KeyUp, KeyCode::Right));
    EXPECT_FALSE(rightKeyHeld);
}

}  // namespace
