// The composer writes exactly the committed song files, and the build embeds those files.
#include <gtest/gtest.h>

#include <string>

#include "core/embedded_data.h"
#include "run_program.h"

namespace {

std::string Committed(const char* name) {
    return ReadFileBytes(std::string(DEMO_SOURCE_DIR) + "/songs/" + name);
}

std::string Embedded(const EmbeddedFile& file) {
    return std::string(reinterpret_cast<const char*>(file.data), size_t(file.size));
}

TEST(ComposerOutput, TheBuildEmbedsTheCommittedFiles) {
    ASSERT_FALSE(Committed("show.xm").empty());
    ASSERT_FALSE(Committed("hidden.xm").empty());
    EXPECT_TRUE(Embedded(showSongImage) == Committed("show.xm"));
    EXPECT_TRUE(Embedded(hiddenSongImage) == Committed("hidden.xm"));
}

#ifdef COMPOSE_SONGS_EXECUTABLE
TEST(ComposerOutput, RegeneratedSongsAreByteIdenticalToTheCommittedOnes) {
    ScratchDir dir;
    ProgramResult result = RunProgram(COMPOSE_SONGS_EXECUTABLE, {dir.path});
    ASSERT_EQ(result.exitCode, 0) << result.standardError;
    for (const char* name : {"show.xm", "hidden.xm"}) {
        std::string fresh = ReadFileBytes(dir.File(name));
        std::string committed = Committed(name);
        ASSERT_FALSE(fresh.empty()) << name;
        EXPECT_EQ(fresh.size(), committed.size()) << name;
        EXPECT_TRUE(fresh == committed) << name << " differs from songs/" << name
                                        << ": run compose_songs songs and commit the result";
    }
}

TEST(ComposerOutput, RefusesAMissingOutputFolderAndWrongArguments) {
    ScratchDir dir;
    ProgramResult missing = RunProgram(COMPOSE_SONGS_EXECUTABLE, {dir.File("no/such/folder")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.standardError.find("cannot write"), std::string::npos);
    ProgramResult none = RunProgram(COMPOSE_SONGS_EXECUTABLE, {});
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_NE(none.standardError.find("usage"), std::string::npos);
}
#endif

}  // namespace
