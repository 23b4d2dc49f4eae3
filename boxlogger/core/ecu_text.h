#pragma once
// Texts for the ECU's identification bytes and its fault-code word, as the
// box program shows them. Windows-1252 bytes (all ASCII here).
#include <cstdint>
#include <string>

namespace korv::boxlogger {

std::string FormatModuleType(std::uint8_t b);
std::string FormatEngineCode(std::uint8_t b);
std::string FormatModelYear(std::uint8_t b);
// One fault name per set bit, bit 0 first, joined by newlines; "" for none.
std::string FormatFaultCodes(std::uint16_t mask);

}  // namespace korv::boxlogger
