// Key scripts: the lines the parser takes and the ones it refuses, each with a one-line reason.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/key_script.h"

namespace {

TEST(KeyScriptTest, EveryKeyByNameWithCommentsBlankLinesAndWindowsLineEnds) {
    std::vector<ScriptedKey> keys;
    std::string error;
    ASSERT_TRUE(
        ParseKeyScript("# recorded\n0 Space\r\n\n  3\tPeriod  \n3 Comma\n7 Right\n"
                       "8 Left\n9 PageDown\n10 PageUp\n11 Home\n12 Tab",
                       &keys, &error))
        << error;
    const StudyKey expected[] = {StudyKey::Space,  StudyKey::Period, StudyKey::Comma,
                                 StudyKey::Right,  StudyKey::Left,   StudyKey::PageDown,
                                 StudyKey::PageUp, StudyKey::Home,   StudyKey::Tab};
    const int64_t frames[] = {0, 3, 3, 7, 8, 9, 10, 11, 12};
    const char* names[] = {"Space",    "Period", "Comma", "Right", "Left",
                           "PageDown", "PageUp", "Home",  "Tab"};
    ASSERT_EQ(keys.size(), std::size(expected));
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key, expected[i]) << i;
        EXPECT_EQ(keys[i].frame, frames[i]) << i;
        EXPECT_STREQ(StudyKeyName(keys[i].key), names[i]);
    }
    EXPECT_TRUE(ParseKeyScript("", &keys, &error));
    EXPECT_TRUE(keys.empty());
}

TEST(KeyScriptTest, MalformedLinesUnknownKeysAndFramesOutOfOrderAreRefused) {
    const std::pair<const char*, const char*> bad[] = {
        {"Space 10\n", "line 1: expected FRAME KEY"},
        {"1 Space\n2\n", "line 2: expected FRAME KEY"},
        {"1.5 Space\n", "line 1: expected FRAME KEY"},
        {"+3 Space\n", "line 1: expected FRAME KEY"},
        {"123456789 Space\n", "line 1: expected FRAME KEY"},
        {"3 Space Tab\n", "line 1: expected FRAME KEY"},
        {"3 Escape\n", "line 1: unknown key 'Escape'"},
        {"3 F1\n", "line 1: unknown key 'F1'"},
        {"3 Help\n", "line 1: unknown key 'Help'"},
        {"3 Tab\n2 Tab\n", "line 2: frame 2 comes before frame 3"},
        {"3 \x01\x02\n",
         "line 1: unknown key '?"
         "?'"},
    };
    for (const auto& [text, reason] : bad) {
        std::vector<ScriptedKey> keys;
        std::string error;
        EXPECT_FALSE(ParseKeyScript(text, &keys, &error)) << text;
        EXPECT_NE(error.find(reason), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
    std::vector<ScriptedKey> keys;
    std::string error;
    EXPECT_FALSE(ParseKeyScript("1 " + std::string(200, 'x') + "\n", &keys, &error));
    EXPECT_LT(error.size(), 200u);  // a long line is cut short in the message
}

}  // namespace
