// PNG files: what is written reads back pixel for pixel, also under a non-ASCII path, and junk
// or missing files are refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "platform/file_io.h"
#include "platform/png_io.h"
#include "run_program.h"

namespace {

TEST(PngIo, RoundTripsEveryPixelUnderANonAsciiPath) {
    ScratchDir dir;
    const std::string folder = dir.File("K\xC3\xA4pt\xC3\xBCre \xE2\x82\xAC");  // "Käptüre €"
    std::string why;
    ASSERT_TRUE(CreateFolders((folder + "/a/b").c_str(), &why)) << why;
    constexpr int32_t kWidth = 37, kHeight = 23;
    std::vector<uint8_t> rgb(kWidth * kHeight * 3);
    for (size_t i = 0; i < rgb.size(); ++i) {
        rgb[i] = static_cast<uint8_t>(i * 7919 % 251 + (i / 111) % 5);  // no run a filter hides
    }
    const std::string path = folder + "/a/b/\xC3\xA9t\xC3\xA9.png";
    ASSERT_TRUE(WritePngRgb(path.c_str(), kWidth, kHeight, rgb.data()));
    int32_t width = 0, height = 0;
    std::vector<uint8_t> back;
    ASSERT_TRUE(ReadPngRgb(path.c_str(), &width, &height, &back));
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    EXPECT_TRUE(back == rgb);
    EXPECT_TRUE(RemoveFile(path.c_str()));
    EXPECT_FALSE(ReadPngRgb(path.c_str(), &width, &height, &back));
}

TEST(PngIo, RefusesJunkTruncatedFilesAndUnwritablePaths) {
    ScratchDir dir;
    const std::vector<uint8_t> rgb(4 * 4 * 3, 200);
    const std::string good = dir.File("good.png");
    ASSERT_TRUE(WritePngRgb(good.c_str(), 4, 4, rgb.data()));
    std::FILE* in = OpenFile(good.c_str(), "rb");
    ASSERT_NE(in, nullptr);
    std::vector<char> bytes(4096);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), in));
    std::fclose(in);
    const std::string cut = dir.File("cut.png");
    std::FILE* out = OpenFile(cut.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size() - 20, out);  // IDAT's end and IEND missing
    std::fclose(out);
    int32_t width = 0, height = 0;
    std::vector<uint8_t> back;
    EXPECT_FALSE(ReadPngRgb(cut.c_str(), &width, &height, &back));
    EXPECT_FALSE(ReadPngRgb(dir.File("none.png").c_str(), &width, &height, &back));
    EXPECT_FALSE(WritePngRgb(dir.File("no/such/folder/x.png").c_str(), 4, 4, rgb.data()));
    EXPECT_FALSE(WritePngRgb(dir.File("empty.png").c_str(), 0, 4, rgb.data()));
}

}  // namespace
