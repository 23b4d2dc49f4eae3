#pragma once
// Windows bitmap files: the information header and a 24-bit writer.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace korv {

struct BitmapInfo {
    std::int32_t width = 0;
    std::int32_t height = 0;  // positive: rows stored bottom-up
    std::uint16_t planes = 1;
    std::uint16_t bit_count = 0;    // 1, 4, 8, 16, 24 or 32
    std::uint32_t compression = 0;  // none
    std::uint32_t image_size = 0;   // bytes of pixel rows, each padded to 4 bytes
    std::uint32_t colours_used = 0;

    std::uint32_t colour_table_bytes() const { return 4 * colours_used; }
    std::uint32_t pixel_offset() const { return 14 + 40 + colour_table_bytes(); }
    std::uint32_t file_size() const { return pixel_offset() + image_size; }
};

// Header of a bitmap of the given planes and bits per plane; the bit count is
// rounded up to one a bitmap can hold. Empty when the size does not fit.
std::optional<BitmapInfo> BuildBitmapInfo(int width, int height, int planes, int bits_per_plane);

// The whole file: 14-byte file header, 40-byte information header, colour
// table, then the pixel rows as given (already bottom-up and padded).
std::vector<std::uint8_t> EncodeBitmapFile(const BitmapInfo& info, const std::vector<std::uint32_t>& colours,
                                           const std::vector<std::uint8_t>& rows);

// A 24-bit file from top-down RGB rows (3 bytes a pixel, `stride` bytes a
// row). Replaces the target only once the file is complete; nullopt on
// success, else the reason.
std::optional<std::string> WriteBmp24(const std::string& path, int width, int height, const std::uint8_t* rgb,
                                      std::size_t stride);

}  // namespace korv
