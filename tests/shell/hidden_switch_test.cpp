// The hidden-part switch read from real files.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "run_program.h"
#include "shell/hidden_switch.h"

namespace {

class HiddenSwitchTest : public ::testing::Test {
protected:
    ScratchDir dir;
    std::string path = dir.File("magicman.txt");

    bool SwitchFor(const std::string& contents) {
        std::ofstream(path, std::ios::binary) << contents;
        return ReadHiddenSwitch(path.c_str());
    }
};

TEST_F(HiddenSwitchTest, MatchingLayoutsTurnTheHiddenPartOn) {
    EXPECT_TRUE(SwitchFor("381\n947\n"));
    EXPECT_TRUE(SwitchFor("381\n947"));  // no newline at the end
    EXPECT_TRUE(SwitchFor("// the magic numbers\n381\n\n947\n"));
    EXPECT_TRUE(SwitchFor("/comment\n   indented words are skipped\n381\n \n/\n947 and more\n"));
    EXPECT_TRUE(SwitchFor("\n\n381 first\n947 second\nanything after is not read\n"));
    EXPECT_TRUE(SwitchFor("381\r\n\r\n947\r\n"));  // an empty line written with CR LF is empty
}

TEST_F(HiddenSwitchTest, NumbersParseAsDecimalWithSignAndLeadingZeros) {
    EXPECT_TRUE(SwitchFor("+381\n0000947\n"));
    EXPECT_TRUE(SwitchFor("381abc\n947xyz\n"));  // text directly after the digits is ignored
    EXPECT_TRUE(SwitchFor("\t381\n\t 947\n"));   // a tab-led line is significant and still parses
    EXPECT_FALSE(SwitchFor("-381\n947\n"));
    EXPECT_FALSE(SwitchFor("+ 381\n947\n"));
    EXPECT_FALSE(SwitchFor("0x17d\n947\n"));
    EXPECT_FALSE(SwitchFor("99999999999999999999381\n947\n"));
}

TEST_F(HiddenSwitchTest, OtherContentsLeaveTheNormalMode) {
    EXPECT_FALSE(SwitchFor("947\n381\n"));            // swapped
    EXPECT_FALSE(SwitchFor("381\nhello\n947\n"));     // an unrelated significant line
    EXPECT_FALSE(SwitchFor("381\n"));                 // ends before the second number
    EXPECT_FALSE(SwitchFor("// only comments\n\n"));  // ends before any significant line
    EXPECT_FALSE(SwitchFor(""));
    EXPECT_FALSE(SwitchFor("abc 381\n947\n"));
    EXPECT_FALSE(SwitchFor(std::string("\0\x01\xff\x80 381\n947\n", 12)));  // binary
    EXPECT_FALSE(ReadHiddenSwitch(dir.File("missing.txt").c_str()));
}

#ifndef _WIN32  // FIFOs, links and devices as POSIX systems have them
TEST_F(HiddenSwitchTest, OnlyARegularFileIsReadAndNothingElseIsWaitedOn) {
    const std::string target = dir.File("real.txt");
    std::ofstream(target) << "381\n947\n";
    std::filesystem::create_symlink(target, path);
    EXPECT_TRUE(ReadHiddenSwitch(path.c_str()));  // a link to a regular file is that file
    ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0644), 0);
    EXPECT_FALSE(ReadHiddenSwitch(dir.File("fifo").c_str()));  // no writer: an open would wait
    EXPECT_FALSE(ReadHiddenSwitch(dir.path.c_str()));
    EXPECT_FALSE(ReadHiddenSwitch("/dev/zero"));
}
#endif

TEST_F(HiddenSwitchTest, LongLinesArriveInPiecesJudgedAsLines) {
    // 300 characters: the first 254 are one piece, the rest ("381..." here) the next.
    const std::string padding(254, 'x');
    EXPECT_FALSE(SwitchFor(padding + "381\n947\n"));  // "xxx..." is the first significant piece
    const std::string spaces(254, ' ');
    EXPECT_TRUE(SwitchFor(spaces + "381\n947\n"));  // a skipped piece, then "381"
    EXPECT_FALSE(SwitchFor("381" + std::string(297, '0') + "\n947\n"));
}

TEST_F(HiddenSwitchTest, ReadSettingLineReturnsSignificantLinesUntilTheEnd) {
    std::ofstream(path, std::ios::binary) << "/a\n\n b\nfirst\n/c\nsecond";
    std::FILE* file = std::fopen(path.c_str(), "r");
    ASSERT_NE(file, nullptr);
    char line[kSettingLineBytes];
    ASSERT_TRUE(ReadSettingLine(file, line));
    EXPECT_STREQ(line, "first\n");
    ASSERT_TRUE(ReadSettingLine(file, line));
    EXPECT_STREQ(line, "second");
    EXPECT_FALSE(ReadSettingLine(file, line));
    EXPECT_FALSE(ReadSettingLine(file, line));
    std::fclose(file);
}

}  // namespace
