#include "platform/core/windows1252.h"

#include <array>

namespace korv::platform {

namespace {

// 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char16_t, 32> high_controls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool same_in_latin1(unsigned code) { return code < 0x80 || (code >= 0xA0 && code <= 0xFF); }

}  // namespace

char16_t unicode_from_windows1252(unsigned char byte) {
    return same_in_latin1(byte) ? char16_t(byte) : high_controls[byte - 0x80];
}

std::optional<unsigned char> windows1252_from_unicode(char16_t character) {
    if (same_in_latin1(character)) return static_cast<unsigned char>(character);
    for (std::size_t k = 0; k < high_controls.size(); ++k) {
        if (high_controls[k] == character) return static_cast<unsigned char>(0x80 + k);
    }
    return std::nullopt;
}

std::u16string utf16_from_windows1252(std::string_view bytes) {
    std::u16string text(bytes.size(), u'\0');
    for (std::size_t k = 0; k < bytes.size(); ++k)
        text[k] = unicode_from_windows1252(static_cast<unsigned char>(bytes[k]));
    return text;
}

std::optional<std::string> windows1252_from_utf16(std::u16string_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t k = 0; k < text.size(); ++k) {
        if (const std::optional<unsigned char> byte = windows1252_from_unicode(text[k])) {
            bytes += static_cast<char>(*byte);
            continue;
        }
        const bool high_surrogate = text[k] >= 0xD800 && text[k] <= 0xDBFF;
        if (k + 1 == text.size() && high_surrogate) break;
        return std::nullopt;
    }
    return bytes;
}

}  // namespace korv::platform
