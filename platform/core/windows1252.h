#pragma once
// The Windows-1252 code page, byte by byte. Bytes below 0x80 and from 0xA0
// up stand for the same code point; 0x80..0x9F hold the euro sign, curly
// quotes and the like. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081.., so every byte string survives
// a round trip.
#include <optional>
#include <string>
#include <string_view>

namespace korv::platform {

char16_t unicode_from_windows1252(unsigned char byte);
// nullopt for a character the code page cannot hold.
std::optional<unsigned char> windows1252_from_unicode(char16_t character);

// Whole texts, UTF-16 <-> Windows-1252 bytes. nullopt when the text holds a
// character the code page cannot hold; a high surrogate that ends the text
// is dropped, not refused, as Qt's codec does while it waits for the low
// half, so texts stored through that codec before are stored alike now.
std::u16string utf16_from_windows1252(std::string_view bytes);
std::optional<std::string> windows1252_from_utf16(std::u16string_view text);

}  // namespace korv::platform
