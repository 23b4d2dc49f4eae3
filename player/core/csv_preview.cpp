#include "player/core/csv_preview.h"

#include <cstddef>
#include <cstdint>

namespace korv::player {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool in(std::uint8_t byte, std::uint8_t low, std::uint8_t high) { return byte >= low && byte <= high; }

}  // namespace

bool is_valid_utf8(std::string_view bytes) {
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return static_cast<std::uint8_t>(bytes[k]); };
    while (i < size) {
        const std::uint8_t lead = at(i);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The second byte's range depends on the lead byte; later ones are
        // always 80..BF.
        std::size_t length = 0;
        std::uint8_t low = 0x80, high = 0xBF;
        if (in(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (lead == 0xE0) {
            length = 3;
            low = 0xA0;
        } else if (lead == 0xED) {
            length = 3;
            high = 0x9F;
        } else if (in(lead, 0xE1, 0xEF)) {
            length = 3;
        } else if (lead == 0xF0) {
            length = 4;
            low = 0x90;
        } else if (lead == 0xF4) {
            length = 4;
            high = 0x8F;
        } else if (in(lead, 0xF1, 0xF3)) {
            length = 4;
        } else {
            return false;
        }
        if (size - i < length) return false;
        if (!in(at(i + 1), low, high)) return false;
        for (std::size_t k = 2; k < length; ++k) {
            if (!in(at(i + k), 0x80, 0xBF)) return false;
        }
        i += length;
    }
    return true;
}

CsvPreview csv_preview(std::string_view bytes) {
    if (!is_valid_utf8(bytes)) return {false, bytes};
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    return {true, bytes};
}

}  // namespace korv::player
