// Image files: bitmap headers and pixel layout, against bytes written out by
// hand.
#include "common/core/bmp_writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace korv {
namespace {

std::vector<std::uint8_t> read_all(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ImageFile : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("dyno_bmp_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(ImageFile, BmpOfChartSizeHasTheFileHeader) {
    std::vector<std::uint8_t> white(640 * 480 * 3, 0xFF);
    const auto path = dir_ / "chart.bmp";
    ASSERT_FALSE(WriteBmp24(path.string(), 640, 480, white.data(), 640 * 3));
    const auto bytes = read_all(path);
    ASSERT_EQ(bytes.size(), 921654u);
    const std::vector<std::uint8_t> header = {
        'B', 'M', 0x36, 0x10, 0x0E, 0x00, 0, 0, 0, 0, 0x36, 0, 0, 0,  // file header
        0x28, 0, 0, 0, 0x80, 0x02, 0, 0, 0xE0, 0x01, 0, 0,          // size, width, height
        0x01, 0, 0x18, 0, 0, 0, 0, 0, 0x00, 0x10, 0x0E, 0x00,       // planes, bits, BI_RGB, image size
        0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};           // resolution, colours
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 54), header);
}

TEST_F(ImageFile, BmpRowsBottomUpInBlueGreenRedWithPadding) {
    // Top row red, green; bottom row blue, white.
    const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const auto path = dir_ / "tiny.bmp";
    ASSERT_FALSE(WriteBmp24(path.string(), 2, 2, rgb, 6));
    const auto bytes = read_all(path);
    ASSERT_EQ(bytes.size(), 54u + 16u);
    const std::vector<std::uint8_t> pixels = {255, 0, 0, 255, 255, 255, 0, 0,   // bottom: blue, white
                                              0, 0, 255, 0, 255, 0, 0, 0};      // top: red, green
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()), pixels);
}

TEST_F(ImageFile, BmpFailedWriteSaysWhy) {
    std::vector<std::uint8_t> px(3, 0);
    EXPECT_TRUE(WriteBmp24((dir_ / "no_such_dir" / "x.bmp").string(), 1, 1, px.data(), 3).has_value());
}

TEST(BitmapHeader, BitCountsRoundUpAndSmallOnesCarryAColourTable) {
    auto info = BuildBitmapInfo(10, 3, 1, 8);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->bit_count, 8);
    EXPECT_EQ(info->colours_used, 256u);
    EXPECT_EQ(info->image_size, 12u * 3u);
    EXPECT_EQ(info->pixel_offset(), 14u + 40u + 1024u);
    EXPECT_EQ(BuildBitmapInfo(1, 1, 1, 2)->bit_count, 4);
    EXPECT_EQ(BuildBitmapInfo(1, 1, 1, 15)->bit_count, 16);
    EXPECT_EQ(BuildBitmapInfo(1, 1, 3, 8)->bit_count, 24);
    EXPECT_EQ(BuildBitmapInfo(1, 1, 1, 32)->colours_used, 0u);
    EXPECT_FALSE(BuildBitmapInfo(0, 1, 1, 24));
    EXPECT_FALSE(BuildBitmapInfo(100000, 100000, 1, 32));
}

} // namespace
} // namespace korv
