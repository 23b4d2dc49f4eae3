#pragma once
// Hand-built PMS images and memory dumps for the editors' tests.
#include "testsupport/file_bytes.h"

#include <cstdio>
#include <string>

namespace korv::editors::testing_support {

using testsupport::Bytes;

// An image whose bytes differ from their neighbours and stay within -25..25.
inline Bytes sample_image(std::size_t size = 8191) {
    Bytes image(size);
    for (std::size_t i = 0; i < size; ++i) image[i] = static_cast<std::uint8_t>((i * 7 + 3) % 51 - 25);
    return image;
}

// The library's dump of memory: 36-character records, one per 16 bytes.
inline std::string dump_text(const Bytes& memory) {
    std::string text;
    char digits[8];
    for (std::size_t block = 0; block * 16 < memory.size(); ++block) {
        std::snprintf(digits, sizeof digits, "%04X", unsigned(0xA000 + 16 * block));
        text += digits;
        for (std::size_t i = 0; i < 16; ++i) {
            std::snprintf(digits, sizeof digits, "%02X", unsigned(memory[16 * block + i]));
            text += digits;
        }
    }
    return text;
}

}  // namespace korv::editors::testing_support
