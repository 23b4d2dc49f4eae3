#pragma once
// The Windows-1252 code page, byte by byte. Bytes below 0x80 and from 0xA0
// up stand for the same code point; 0x80..0x9F hold the euro sign, curly
// quotes and the like. The five bytes the code page leaves undefined (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) stand for U+0081.., so every byte string survives
// a round trip.
#include <optional>

namespace korv::platform {

char16_t unicode_from_windows1252(unsigned char byte);
// nullopt for a character the code page cannot hold.
std::optional<unsigned char> windows1252_from_unicode(char16_t character);

}  // namespace korv::platform
