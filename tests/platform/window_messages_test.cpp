// SDL events become window messages.
#include <SDL.h>
#include <gtest/gtest.h>

#include <iterator>
#include <utility>
#include <vector>

#include "gl_test.h"
#include "platform/window_messages.h"

namespace {

class WindowMessagesTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        Drain();
    }
    static std::vector<WindowMessage> Drain() {
        std::vector<WindowMessage> messages;
        WindowMessage message;
        while (PeekWindowMessage(&message)) {
            if (message.kind != MessageKind::Other) {
                messages.push_back(message);
            }
        }
        return messages;
    }
    static void PushKey(Uint32 type, SDL_Keycode key, Uint16 modifiers = KMOD_NONE,
                        bool repeat = false) {
        SDL_Event event;
        SDL_zero(event);
        event.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = modifiers;
        event.key.repeat = repeat ? 1 : 0;
        ASSERT_EQ(SDL_PushEvent(&event), 1);
    }
};

TEST_F(WindowMessagesTest, KeysTranslateToTheKeysTheDemoKnows) {
    PushKey(SDL_KEYDOWN, SDLK_ESCAPE);
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    PushKey(SDL_KEYDOWN, SDLK_a);
    std::vector<std::pair<MessageKind, KeyCode>> messages;
    for (const WindowMessage& message : Drain()) {
        messages.emplace_back(message.kind, message.key);
    }
    using enum MessageKind;
    EXPECT_EQ(messages, (std::vector<std::pair<MessageKind, KeyCode>>{{KeyDown, KeyCode::Escape},
                                                                      {KeyDown, KeyCode::Left},
                                                                      {KeyUp, KeyCode::Left},
                                                                      {KeyDown, KeyCode::Right},
                                                                      {KeyDown, KeyCode::Other}}));
}

TEST_F(WindowMessagesTest, TheStudyKeysTranslateWithQuestionAsShiftSlashAndRepeatsMarked) {
    const std::pair<SDL_Keycode, KeyCode> keys[] = {
        {SDLK_SPACE, KeyCode::Space},       {SDLK_PERIOD, KeyCode::Period},
        {SDLK_COMMA, KeyCode::Comma},       {SDLK_PAGEDOWN, KeyCode::PageDown},
        {SDLK_PAGEUP, KeyCode::PageUp},     {SDLK_HOME, KeyCode::Home},
        {SDLK_TAB, KeyCode::Tab},           {SDLK_F1, KeyCode::F1},
        {SDLK_QUESTION, KeyCode::Question}, {SDLK_SLASH, KeyCode::Other}};
    for (const auto& [sym, key] : keys) {
        PushKey(SDL_KEYDOWN, sym);
    }
    PushKey(SDL_KEYDOWN, SDLK_SLASH, KMOD_LSHIFT);
    PushKey(SDL_KEYDOWN, SDLK_RIGHT, KMOD_NONE, true);
    const std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), std::size(keys) + 2);
    for (size_t i = 0; i < std::size(keys); ++i) {
        EXPECT_EQ(messages[i].kind, MessageKind::KeyDown) << i;
        EXPECT_EQ(messages[i].key, keys[i].second) << i;
        EXPECT_FALSE(messages[i].repeat) << i;
    }
    EXPECT_EQ(messages[std::size(keys)].key, KeyCode::Question);
    EXPECT_EQ(messages.back().key, KeyCode::Right);
    EXPECT_TRUE(messages.back().repeat);
}

TEST_F(WindowMessagesTest, CloseAndQuitArriveAsTheirOwnMessages) {
    SDL_Event event;
    SDL_zero(event);
    event.type = SDL_QUIT;
    SDL_PushEvent(&event);
    QueueQuitMessage();
    const std::vector<WindowMessage> messages = Drain();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].kind, MessageKind::Close);
    EXPECT_EQ(messages[1].kind, MessageKind::Quit);
    WindowMessage message;
    EXPECT_FALSE(PeekWindowMessage(&message));  // the queue is empty again
}

}  // namespace
