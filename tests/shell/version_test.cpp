// --version of both programs: the project's version and the commit the build was made from.
#include <gtest/gtest.h>

#include <string>

#include "run_program.h"

namespace {

// What follows the program's name: "1.0.0 (commit 3d5e7bf4a1c2)", ", modified" after the hash
// when the build had uncommitted changes, "unknown" outside a git checkout.
std::string VersionOf(const std::string& program, const std::string& name) {
    const ProgramResult result = RunProgram(program, {"--version"});
    EXPECT_EQ(result.exitCode, 0) << program;
    EXPECT_EQ(result.standardError, "") << program;
    const std::string prefix = name + " ";
    EXPECT_EQ(result.standardOutput.rfind(prefix, 0), 0u) << result.standardOutput;
    if (result.standardOutput.rfind(prefix, 0) != 0) {
        return "";
    }
    return result.standardOutput.substr(prefix.size());
}

// "3d5e7bf4a1c2)\n", "3d5e7bf4a1c2, modified)\n" or "unknown)\n": what follows "(commit ".
bool IsCommitAndEnd(std::string text) {
    if (text == "unknown)\n") {
        return true;
    }
    const std::string modified = ", modified)\n";
    const std::string plain = ")\n";
    if (text.size() > modified.size() &&
        text.compare(text.size() - modified.size(), modified.size(), modified) == 0) {
        text.resize(text.size() - modified.size());
    } else if (text.size() > plain.size() &&
               text.compare(text.size() - plain.size(), plain.size(), plain) == 0) {
        text.resize(text.size() - plain.size());
    } else {
        return false;
    }
    return text.size() >= 7 && text.size() <= 40 &&
           text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

TEST(VersionTest, BothProgramsPrintTheProjectVersionAndTheSameCommit) {
    const std::string demo = VersionOf(DEMO_EXECUTABLE, "demo");
    const std::string xmrender = VersionOf(XMRENDER_EXECUTABLE, "xmrender");
    const std::string version = DEMO_PROJECT_VERSION " (commit ";
    ASSERT_EQ(demo.rfind(version, 0), 0u) << demo;
    EXPECT_TRUE(IsCommitAndEnd(demo.substr(version.size()))) << demo;
    EXPECT_EQ(xmrender, demo);
}

TEST(VersionTest, TheCommitIsTheCheckedOutOne) {
    const ProgramResult head =
        RunProgram("/usr/bin/git", {"-C", DEMO_SOURCE_DIR, "rev-parse", "--short=12", "HEAD"});
    if (head.exitCode != 0) {
        GTEST_SKIP() << "the source tree is no git checkout";
    }
    const std::string commit = head.standardOutput.substr(0, head.standardOutput.find('\n'));
    ASSERT_FALSE(commit.empty());
    const std::string demo = VersionOf(DEMO_EXECUTABLE, "demo");
    EXPECT_NE(demo.find("(commit " + commit), std::string::npos) << demo << " against " << commit;
}

}  // namespace
