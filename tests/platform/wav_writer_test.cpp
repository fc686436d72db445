// WAV writer: header fields and sizes, streamed appends, and no partial file after a failure.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "platform/wav_writer.h"
#include "run_program.h"

namespace {

bool Exists(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr) {
        std::fclose(file);
    }
    return file != nullptr;
}

TEST(WavWriterTest, StreamsFramesAndFixesTheSizesAtClose) {
    ScratchDir dir;
    WavWriter writer;
    ASSERT_TRUE(WavWriterOpen(writer, dir.File("a.wav").c_str()));
    const int16_t first[] = {1, -1, 0x1234, -32768};
    const int16_t second[] = {32767, 5};
    ASSERT_TRUE(WavWriterAppend(writer, first, 2));
    ASSERT_TRUE(WavWriterAppend(writer, second, 1));
    ASSERT_TRUE(WavWriterAppend(writer, second, 0));
    EXPECT_EQ(writer.frames, 3);
    ASSERT_TRUE(WavWriterClose(writer));

    const std::string bytes = ReadFileBytes(dir.File("a.wav"));
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(WavDataBytes(bytes), 12);
    // Little-endian samples in order.
    const uint8_t expected[] = {0x01, 0x00, 0xFF, 0xFF, 0x34, 0x12,
                                0x00, 0x80, 0xFF, 0x7F, 0x05, 0x00};
    for (size_t i = 0; i < sizeof(expected); ++i) {
        EXPECT_EQ(static_cast<uint8_t>(bytes[44 + i]), expected[i]) << i;
    }
    // With nothing appended the file is a valid empty WAV.
    ASSERT_TRUE(WavWriterOpen(writer, dir.File("empty.wav").c_str()));
    ASSERT_TRUE(WavWriterClose(writer));
    const std::string empty = ReadFileBytes(dir.File("empty.wav"));
    ASSERT_EQ(empty.size(), 44u);
    EXPECT_EQ(WavDataBytes(empty), 0);
}

TEST(WavWriterTest, FailuresLeaveNoFile) {
    ScratchDir dir;
    WavWriter writer;
    EXPECT_FALSE(WavWriterOpen(writer, dir.File("missing/folder.wav").c_str()));
    EXPECT_FALSE(Exists(dir.File("missing/folder.wav")));
    EXPECT_FALSE(WavWriterAppend(writer, nullptr, 1));

    ASSERT_TRUE(WavWriterOpen(writer, dir.File("broken.wav").c_str()));
    const int16_t frame[] = {1, 2};
    ASSERT_TRUE(WavWriterAppend(writer, frame, 1));
    writer.failed = true;  // as after a write error
    EXPECT_FALSE(WavWriterAppend(writer, frame, 1));
    EXPECT_FALSE(WavWriterClose(writer));
    EXPECT_FALSE(Exists(dir.File("broken.wav")));

    ASSERT_TRUE(WavWriterOpen(writer, dir.File("dropped.wav").c_str()));
    WavWriterDiscard(writer);
    EXPECT_FALSE(Exists(dir.File("dropped.wav")));
}

TEST(WavWriterTest, HeaderKeepsUpWithTheAudioWhileTheFileIsOpen) {
    ScratchDir dir;
    WavWriter writer;
    ASSERT_TRUE(WavWriterOpen(writer, dir.File("growing.wav").c_str()));
    const std::vector<int16_t> second(2 * 44100, 7);
    // Frames appended, then the size the header gives once they are: every second of audio.
    for (const auto& [frames, counted] :
         {std::pair{44099, 0}, {1, 44100}, {30000, 44100}, {30000, 104100}}) {
        ASSERT_TRUE(WavWriterAppend(writer, second.data(), frames));
        const std::string bytes = ReadFileBytes(dir.File("growing.wav"));
        EXPECT_EQ(bytes.size(), 44u + 4u * writer.frames);  // nothing held back in a buffer
        EXPECT_EQ(WavDataBytes(bytes), 4 * counted) << writer.frames;
    }
    ASSERT_TRUE(WavWriterClose(writer));
}

TEST(WavWriterTest, ClosingAfterAFailureKeepsTheCompleteFrames) {
    ScratchDir dir;
    WavWriter writer;
    ASSERT_TRUE(WavWriterOpen(writer, dir.File("cut.wav").c_str()));
    const int16_t frames[] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(WavWriterAppend(writer, frames, 3));
    std::fwrite("torn", 1, 3, writer.file);  // what a write cut short by a full disk leaves
    writer.failed = true;
    EXPECT_FALSE(WavWriterAppend(writer, frames, 1));
    ASSERT_TRUE(WavWriterCloseKeeping(writer));
    const std::string bytes = ReadFileBytes(dir.File("cut.wav"));
    ASSERT_EQ(bytes.size(), 44u + 12u);
    EXPECT_EQ(WavDataBytes(bytes), 12);
    EXPECT_EQ(Read32(bytes, 52), 5u | 6u << 16);
}

#ifndef _WIN32  // a POSIX device
TEST(WavWriterTest, AFailedWriteToADeviceLeavesTheDevice) {
    WavWriter writer;
    EXPECT_FALSE(WavWriterOpen(writer, "/dev/full"));  // no space: the header cannot be written
    EXPECT_TRUE(Exists("/dev/full"));
}
#endif

}  // namespace
