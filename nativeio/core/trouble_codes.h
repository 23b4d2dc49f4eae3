#pragma once
// Reading and clearing the ECU's stored trouble codes: the OBD-II reader
// through the interface box (any cable but 4) and the first-generation DSM
// reader (cable 4). Both write the report dtc.tmp (dtc_report.h); the
// entry points are read_trouble_codes and clear_trouble_codes of engines.h.
#include <cstdint>
#include <string>

namespace korv::korvio {

// The letter and four lower-case hexadecimal digits of an OBD-II code:
// 03 01 gives P0301, D1 23 gives U1123.
std::string obd_code_text(std::uint8_t high, std::uint8_t low);

// The DSM reader's texts, by bit of its 16-bit code word.
const char* dsm_code_text(int bit);

// 0 once dtc.tmp is written. -1 when the vehicle did not answer (the
// report then says so), -100 when dtc.tmp cannot be written, or the
// port's own failure.
int read_obd_trouble_codes(int port);

// 0 once dtc.tmp is written, or the failing handshake step (no new
// dtc.tmp then); -100 when dtc.tmp cannot be written.
int read_dsm_trouble_codes(int port);

// The DSM reader's handshake steps.
inline constexpr int kDsmFirstEchoWrong = -151;
inline constexpr int kDsmHighEchoWrong = -152;
inline constexpr int kDsmHighByteMissing = -153;
inline constexpr int kDsmLowEchoWrong = -162;
inline constexpr int kDsmLowByteMissing = -163;
inline constexpr int kDsmLastEchoWrong = -171;

}  // namespace korv::korvio
