#include "common/core/bmp_writer.h"

#include "common/core/atomic_file_writer.h"

namespace korv {
namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFFu);
    put16(out, v >> 16);
}

std::uint16_t rounded_bit_count(int bits) {
    if (bits <= 1) return 1;
    if (bits <= 4) return 4;
    if (bits <= 8) return 8;
    if (bits <= 16) return 16;
    if (bits <= 24) return 24;
    return 32;
}

}  // namespace

std::optional<BitmapInfo> BuildBitmapInfo(int width, int height, int planes, int bits_per_plane) {
    if (width <= 0 || height <= 0 || planes <= 0 || bits_per_plane <= 0 || planes > 0xFFFF || bits_per_plane > 32)
        return std::nullopt;
    BitmapInfo info;
    info.width = width;
    info.height = height;
    info.planes = static_cast<std::uint16_t>(planes);
    info.bit_count = rounded_bit_count(planes * bits_per_plane > 32 ? 32 : planes * bits_per_plane);
    const std::uint64_t row_bytes = (static_cast<std::uint64_t>(width) * info.bit_count + 31) / 32 * 4;
    const std::uint64_t image = row_bytes * static_cast<std::uint64_t>(height);
    info.colours_used = info.bit_count < 24 ? (1u << info.bit_count) : 0u;
    if (image + 14 + 40 + 4ull * info.colours_used > 0xFFFFFFFFull) return std::nullopt;
    info.image_size = static_cast<std::uint32_t>(image);
    return info;
}

std::vector<std::uint8_t> EncodeBitmapFile(const BitmapInfo& info, const std::vector<std::uint32_t>& colours,
                                           const std::vector<std::uint8_t>& rows) {
    std::vector<std::uint8_t> out;
    out.reserve(info.file_size());
    out.push_back('B');
    out.push_back('M');
    put32(out, info.file_size());
    put16(out, 0);
    put16(out, 0);
    put32(out, info.pixel_offset());

    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(info.width));
    put32(out, static_cast<std::uint32_t>(info.height));
    put16(out, info.planes);
    put16(out, info.bit_count);
    put32(out, info.compression);
    put32(out, info.image_size);
    put32(out, 0);  // pixels per metre, x and y: unknown
    put32(out, 0);
    put32(out, info.colours_used);
    put32(out, 0);  // all colours important

    for (std::uint32_t i = 0; i < info.colours_used; ++i) put32(out, i < colours.size() ? colours[i] : 0u);
    out.insert(out.end(), rows.begin(), rows.end());
    out.resize(info.file_size(), 0);  // short pixel data is padded, long data cut
    return out;
}

std::optional<std::string> WriteBmp24(const std::string& path, int width, int height, const std::uint8_t* rgb,
                                      std::size_t stride) {
    const auto info = BuildBitmapInfo(width, height, 1, 24);
    if (!info) return std::string("bitmap too large");
    const std::size_t row_bytes = info->image_size / static_cast<std::uint32_t>(height);
    std::vector<std::uint8_t> rows(info->image_size, 0);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* src = rgb + static_cast<std::size_t>(y) * stride;
        std::uint8_t* dst = rows.data() + static_cast<std::size_t>(height - 1 - y) * row_bytes;
        for (int x = 0; x < width; ++x) {
            dst[3 * x + 0] = src[3 * x + 2];
            dst[3 * x + 1] = src[3 * x + 1];
            dst[3 * x + 2] = src[3 * x + 0];
        }
    }
    const std::vector<std::uint8_t> file = EncodeBitmapFile(*info, {}, rows);

    AtomicFileWriter writer;
    if (auto error = writer.open(path)) return error;
    writer.write(file.data(), file.size());
    return writer.commit();
}

}  // namespace korv
