#include "common/core/counted_string.h"

#include "common/core/buffered_file_reader.h"
#include "common/core/byte_order.h"

namespace korv {

std::size_t encode_counted_string_length(std::uint64_t length, std::uint8_t (&out)[kMaxCountedStringPrefix]) {
    if (length < 0xFF) {
        out[0] = static_cast<std::uint8_t>(length);
        return 1;
    }
    out[0] = 0xFF;
    if (length < 0xFFFE) {
        store_u16_le(out + 1, static_cast<std::uint16_t>(length));
        return 3;
    }
    store_u16_le(out + 1, 0xFFFF);
    store_u32_le(out + 3, static_cast<std::uint32_t>(length));
    return 7;
}

std::optional<std::uint32_t> read_counted_string_length(BufferedFileReader& in, std::string& error) {
    std::uint8_t short_length = 0;
    if (!in.read_u8(short_length)) {
        error = in.last_error();
        return std::nullopt;
    }
    if (short_length < 0xFF) return short_length;

    std::uint16_t mid_length = 0;
    if (!in.read_u16_le(mid_length)) {
        error = in.last_error();
        return std::nullopt;
    }
    if (mid_length == 0xFFFE) {
        error = "a UTF-16 string marker where a single-byte string belongs";
        return std::nullopt;
    }
    if (mid_length < 0xFFFF) return mid_length;

    std::uint32_t long_length = 0;
    if (!in.read_u32_le(long_length)) {
        error = in.last_error();
        return std::nullopt;
    }
    if (long_length == 0xFFFFFFFFu) {
        error = "a 64-bit string length";
        return std::nullopt;
    }
    return long_length;
}

}  // namespace korv
