// Image files: bitmap headers and pixel layout against bytes written out by
// hand; PNG files as libpng's own reader decodes them.
#include "common/core/bmp_writer.h"
#include "common/core/png_writer.h"

#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv {
namespace {

using testsupport::read_bytes;

struct DecodedPng {
    png_uint_32 width = 0, height = 0;
    int bit_depth = 0, colour_type = 0;
    std::vector<std::uint8_t> rgb;  // rows top-down, unpadded
};

// libpng's reader reports an error by longjmp back here: this frame holds
// nothing with a destructor.
bool read_png(std::FILE* file, png_structp png, png_infop info, DecodedPng* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    png_read_info(png, info);
    out->width = png_get_image_width(png, info);
    out->height = png_get_image_height(png, info);
    out->bit_depth = png_get_bit_depth(png, info);
    out->colour_type = png_get_color_type(png, info);
    if (out->bit_depth != 8 || out->colour_type != PNG_COLOR_TYPE_RGB) return true;
    out->rgb.resize(std::size_t{out->width} * out->height * 3);
    for (png_uint_32 y = 0; y < out->height; ++y)
        png_read_row(png, out->rgb.data() + std::size_t{y} * out->width * 3, nullptr);
    png_read_end(png, nullptr);
    return true;
}

std::optional<DecodedPng> decode_png(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    DecodedPng decoded;
    const bool ok = read_png(file, png, info, &decoded);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    if (!ok) return std::nullopt;
    return decoded;
}

class ImageFile : public testing::Test {
protected:
    testsupport::TempFolder folder_;
    const std::filesystem::path dir_{folder_.path()};
};

TEST_F(ImageFile, BmpOfChartSizeHasTheFileHeader) {
    std::vector<std::uint8_t> white(640 * 480 * 3, 0xFF);
    const auto path = dir_ / "chart.bmp";
    ASSERT_FALSE(WriteBmp24(path.string(), 640, 480, white.data(), 640 * 3));
    const auto bytes = read_bytes(path);
    ASSERT_EQ(bytes.size(), 921654u);
    const std::vector<std::uint8_t> header = {
        'B',  'M', 0x36, 0x10, 0x0E, 0x00, 0, 0, 0,    0,    0x36, 0,    0, 0,  // file header
        0x28, 0,   0,    0,    0x80, 0x02, 0, 0, 0xE0, 0x01, 0,    0,           // size, width, height
        0x01, 0,   0x18, 0,    0,    0,    0, 0, 0x00, 0x10, 0x0E, 0x00,        // planes, bits, BI_RGB, image size
        0,    0,   0,    0,    0,    0,    0, 0, 0,    0,    0,    0,    0, 0, 0, 0};  // resolution, colours
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 54), header);
}

TEST_F(ImageFile, BmpRowsBottomUpInBlueGreenRedWithPadding) {
    // Top row red, green; bottom row blue, white.
    const std::uint8_t rgb[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 255};
    const auto path = dir_ / "tiny.bmp";
    ASSERT_FALSE(WriteBmp24(path.string(), 2, 2, rgb, 6));
    const auto bytes = read_bytes(path);
    ASSERT_EQ(bytes.size(), 54u + 16u);
    const std::vector<std::uint8_t> pixels = {255, 0, 0,   255, 255, 255, 0, 0,   // bottom: blue, white
                                              0,   0, 255, 0,   255, 0,   0, 0};  // top: red, green
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 54, bytes.end()), pixels);
}

TEST_F(ImageFile, BmpFailedWriteKeepsTheOldFileAndSaysWhy) {
    std::vector<std::uint8_t> px(3, 0);
    EXPECT_TRUE(WriteBmp24((dir_ / "no_such_dir" / "x.bmp").string(), 1, 1, px.data(), 3).has_value());
}

TEST_F(ImageFile, PngDecodesToTheSameSizeAndPixels) {
    struct Case {
        int width, height;
        std::size_t padding;  // bytes after each row, which must not be written
    };
    for (const Case c : {Case{1, 1, 0}, Case{3, 2, 5}, Case{640, 480, 0}, Case{257, 3, 1}}) {
        SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
        const std::size_t stride = static_cast<std::size_t>(c.width) * 3 + c.padding;
        std::vector<std::uint8_t> rows(stride * static_cast<std::size_t>(c.height), 0xEE);
        std::vector<std::uint8_t> expected;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                for (int channel = 0; channel < 3; ++channel) {
                    const auto v = static_cast<std::uint8_t>(x * 7 + y * 13 + channel * 101);
                    rows[static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * 3 + channel] = v;
                    expected.push_back(v);
                }
        const auto path = dir_ / "image.png";
        ASSERT_EQ(WritePngRgb(path.string(), c.width, c.height, rows.data(), stride), std::nullopt);
        const auto decoded = decode_png(path);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->width, static_cast<png_uint_32>(c.width));
        EXPECT_EQ(decoded->height, static_cast<png_uint_32>(c.height));
        EXPECT_EQ(decoded->bit_depth, 8);
        EXPECT_EQ(decoded->colour_type, PNG_COLOR_TYPE_RGB);
        EXPECT_EQ(decoded->rgb, expected);
    }
}

TEST_F(ImageFile, PngRefusedByLibpngLeavesNoFileAndTheOldOneUntouched) {
    const std::vector<std::uint8_t> pixels(64 * 3, 0x80);
    const std::string old_contents = "an earlier file";
    testsupport::write_text(folder_.file("old.png"), old_contents);
    // Sizes png_set_IHDR rejects: none, negative, past libpng's width limit.
    for (const auto& [width, height] : {std::pair{0, 4}, {4, 0}, {-3, 4}, {2000000, 1}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const auto fresh = WritePngRgb((dir_ / "new.png").string(), width, height, pixels.data(), 12);
        ASSERT_TRUE(fresh);
        EXPECT_NE(fresh->find("PNG"), std::string::npos) << *fresh;
        EXPECT_TRUE(WritePngRgb((dir_ / "old.png").string(), width, height, pixels.data(), 12));

        EXPECT_EQ(folder_.names(), std::vector<std::string>{"old.png"});
        EXPECT_EQ(testsupport::read_text(folder_.file("old.png")), old_contents);
    }
    EXPECT_TRUE(WritePngRgb((dir_ / "no_such_dir" / "x.png").string(), 1, 1, pixels.data(), 3));
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

}  // namespace
}  // namespace korv
