// The Win32 window: its class, its procedure's translations into window messages, closing, and
// the picture it draws into. Needs Wine's (or Windows') GL, so it runs on a display.
#include <windows.h>
// After windows.h, which it builds on.
#include <gtest/gtest.h>
#include "platform/gl.h"

#include <iterator>
#include <utility>
#include <vector>

#include "platform/display.h"
#include "platform/window_messages.h"

namespace {

class WindowProcedureTest : public testing::Test {
protected:
    void SetUp() override {
        DisplayConfig config;
        config.mode = DisplayMode::Offscreen;
        ASSERT_TRUE(DisplayOpen(config)) << DisplayLastError();
        window = FindWindowA("demowin", "demowin");
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DisplayClose(); }
    static std::vector<WindowMessage> Drain() {
        std::vector<WindowMessage> messages;
        WindowMessage message;
        while (PeekWindowMessage(&message)) {
            messages.push_back(message);
        }
        return messages;
    }
    HWND window = nullptr;
};

TEST_F(WindowProcedureTest, KeysBecomeTheKeysTheDemoKnowsAndCapturesShowNoWindow) {
    EXPECT_FALSE(IsWindowVisible(window));
    for (const WPARAM key : {WPARAM{VK_ESCAPE}, WPARAM{VK_LEFT}, WPARAM{VK_RIGHT}, WPARAM{0x41}}) {
        PostMessageA(window, WM_KEYDOWN, key, 0);
    }
    PostMessageA(window, WM_KEYUP, VK_LEFT, 0);
    PostMessageA(window, WM_MOUSEMOVE, 0, 0);  // handled by DefWindowProcA: no message
    const std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 5u);
    const KeyCode keys[] = {KeyCode::Escape, KeyCode::Left, KeyCode::Right, KeyCode::Other};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(messages[i].kind, MessageKind::KeyDown) << i;
        EXPECT_EQ(messages[i].key, keys[i]) << i;
    }
    EXPECT_EQ(messages[4].kind, MessageKind::KeyUp);
    EXPECT_EQ(messages[4].key, KeyCode::Left);
}

TEST_F(WindowProcedureTest, TheStudyKeysTranslateAndRepeatsAreMarked) {
    const std::pair<WPARAM, KeyCode> keys[] = {
        {VK_SPACE, KeyCode::Space},     {VK_OEM_PERIOD, KeyCode::Period},
        {VK_OEM_COMMA, KeyCode::Comma}, {VK_NEXT, KeyCode::PageDown},
        {VK_PRIOR, KeyCode::PageUp},    {VK_HOME, KeyCode::Home},
        {VK_TAB, KeyCode::Tab},         {VK_F1, KeyCode::F1}};
    for (const auto& [code, key] : keys) {
        PostMessageA(window, WM_KEYDOWN, code, 0);
    }
    PostMessageA(window, WM_KEYDOWN, VK_RIGHT, LPARAM{1} << 30);  // the key was already down
    const std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), std::size(keys) + 1);
    for (size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(messages[i].kind, MessageKind::KeyDown) << i;
        EXPECT_EQ(messages[i].key, keys[i].second) << i;
        EXPECT_FALSE(messages[i].repeat) << i;
    }
    EXPECT_EQ(messages.back().key, KeyCode::Right);
    EXPECT_TRUE(messages.back().repeat);
}

TEST_F(WindowProcedureTest, CloseDestroysTheWindowAndQuitComesLast) {
    PostMessageA(window, WM_CLOSE, 0, 0);
    QueueQuitMessage();
    const std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, MessageKind::Close);
    EXPECT_EQ(messages[1].kind, MessageKind::Quit);
    EXPECT_FALSE(IsWindow(window));
    DisplayPresent();  // harmless once the window is gone
}

TEST_F(WindowProcedureTest, ThePictureIs640By480AndReadsBackTopRowFirst) {
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 479, 640, 1);  // the top row only
    glClearColor(1.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    std::vector<uint8_t> rgb(640 * 480 * 3);
    DisplayReadPicture(rgb.data());
    EXPECT_EQ(rgb[0], 255);
    EXPECT_EQ(rgb[2], 0);
    EXPECT_EQ(rgb[640 * 3 + 2], 255);  // second row: blue
    EXPECT_EQ(rgb[rgb.size() - 1], 255);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 640);
    EXPECT_EQ(viewport[3], 480);
}

}  // namespace
