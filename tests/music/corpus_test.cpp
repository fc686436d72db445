// Every file of the shared XM corpus renders 10 s through xmrender or is refused cleanly.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "run_program.h"

namespace {

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(XM_CORPUS_DIR)) {
        if (entry.is_regular_file() && entry.path().extension() == ".xm") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(CorpusTest, EveryFileRendersOrIsRefusedCleanly) {
    const std::vector<std::string> files = CorpusFiles();
    ASSERT_GE(files.size(), 40u);
    ScratchDir dir;
    const std::string output = dir.File("out.wav");
    int rendered = 0;
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        std::remove(output.c_str());
        const ProgramResult result =
            RunProgram(XMRENDER_EXECUTABLE, {file, output, "--seconds", "10"});
        const bool malformed = file.find("/malformed/") != std::string::npos;
        if (result.exitCode == 0) {
            ++rendered;
            const std::string wav = ReadFileBytes(output);
            ASSERT_GE(wav.size(), 44u);
            const size_t frames = (wav.size() - 44) / 4;
            EXPECT_LE(frames, 441000u);
            EXPECT_NE(result.standardOutput.find("channels"), std::string::npos);
            // Real songs and the player test modules all last longer than a tick.
            if (!malformed) {
                EXPECT_GT(frames, 882u);
            }
        } else {
            // Only damaged files may be refused, with one line naming the file, and no WAV.
            EXPECT_TRUE(malformed) << result.standardError;
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_EQ(std::count(result.standardError.begin(), result.standardError.end(), '\n'),
                      1);
            EXPECT_NE(result.standardError.find(file), std::string::npos);
            EXPECT_TRUE(ReadFileBytes(output).empty());
        }
    }
    EXPECT_GE(rendered, 31);  // every song and test module
}

}  // namespace
