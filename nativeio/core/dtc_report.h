#pragma once
// The trouble-code report dtc.tmp that the logger shows (name and layout in
// nativeio/include/korvio_files.h): one byte with the number of codes, then
// text lines, each ended by a line feed. Built in memory and written whole,
// in binary.
#include "nativeio/core/working_file.h"
#include "nativeio/include/korvio_files.h"

#include <cstdint>
#include <string>

namespace korv::korvio {

class DtcCatalogue;

// OBD-II: the count byte and the count line, or "No error codes found".
std::string obd_status_report(int count, bool light_on);
// OBD-II: the vehicle did not answer the status request.
std::string obd_unable_to_connect_report();
// OBD-II: the catalogue's line for the code; without a catalogue the code
// text alone.
std::string obd_code_line(const std::string& code_text, const DtcCatalogue* catalogue);

// DSM: the count of set bits, then one line per set bit from bit 15 down.
std::string dsm_report(std::uint16_t code_word);

// Writes the report into dtc.tmp, created beforehand, and closes it: true
// when every byte got there.
bool write_dtc_report(WorkingFile& file, const std::string& report);

}  // namespace korv::korvio
