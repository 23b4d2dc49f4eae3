// The Windows-1252 table both ways: Latin-1 where the code page agrees with
// it, its own characters at 0x80..0x9F, and the five undefined bytes.
#include "platform/core/windows1252.h"

#include <gtest/gtest.h>

namespace korv::platform {
namespace {

// 0x80..0x9F: the euro sign, quotes, dashes and a few letters, with the
// undefined bytes standing for their own code points.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

TEST(Windows1252, EveryByteStandsForOneCharacterAndBack) {
    for (unsigned byte = 0; byte < 256; ++byte) {
        const char16_t expected = byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t(byte);
        EXPECT_EQ(unicode_from_windows1252(static_cast<unsigned char>(byte)), expected) << std::hex << byte;
        EXPECT_EQ(windows1252_from_unicode(expected), byte) << std::hex << byte;
    }
}

TEST(Windows1252, UndefinedBytesKeepTheirCodePoints) {
    for (unsigned byte : {0x81u, 0x8Du, 0x8Fu, 0x90u, 0x9Du}) {
        EXPECT_EQ(unicode_from_windows1252(static_cast<unsigned char>(byte)), char16_t(byte));
        EXPECT_EQ(windows1252_from_unicode(char16_t(byte)), byte);
    }
}

TEST(Windows1252, CharactersTheCodePageCannotHoldHaveNoByte) {
    // The C1 controls other than the five undefined bytes, the first
    // character past Latin-1, neighbours of the table's own characters,
    // surrogates, a byte-order mark and the replacement character.
    for (char16_t c :
         {0x0080, 0x0085, 0x009F, 0x0100, 0x0154, 0x20AD, 0x2123, 0x4E2D, 0xD800, 0xDC00, 0xFEFF, 0xFFFD, 0xFFFF}) {
        EXPECT_EQ(windows1252_from_unicode(c), std::nullopt) << std::hex << unsigned(c);
    }
    int held = 0;
    for (unsigned c = 0; c <= 0xFFFF; ++c) held += windows1252_from_unicode(char16_t(c)).has_value();
    EXPECT_EQ(held, 256);
}

}  // namespace
}  // namespace korv::platform
