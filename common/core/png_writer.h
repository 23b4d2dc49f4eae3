#pragma once
// PNG files of 8-bit RGB pixels, written through libpng.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace korv {

// A PNG file from top-down RGB rows (3 bytes a pixel, `stride` bytes a row).
// Replaces the target only once the file is complete, so a failure leaves
// any earlier file of that name as it was; nullopt on success, else the
// reason.
std::optional<std::string> WritePngRgb(const std::string& path, int width, int height, const std::uint8_t* rgb,
                                       std::size_t stride);

}  // namespace korv
