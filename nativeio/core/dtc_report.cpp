#include "nativeio/core/dtc_report.h"

#include "nativeio/core/dtc_catalogue.h"
#include "nativeio/core/trouble_codes.h"

#include <bit>

namespace korv::korvio {
namespace {

std::string count_byte(int count) {
    static_assert(korvio_files::kDtcCountBytes == 1);
    return std::string(1, static_cast<char>(count));
}

}  // namespace

std::string obd_status_report(int count, bool light_on) {
    if (count == 0) return count_byte(0) + "No error codes found\n";
    return count_byte(count) + std::to_string(count) + " error codes found, C/E light is " + (light_on ? "on" : "off") +
           "\n";
}

std::string obd_unable_to_connect_report() { return count_byte(0) + "Unable to connect to the vehicle\n"; }

std::string obd_code_line(const std::string& code_text, const DtcCatalogue* catalogue) {
    if (!catalogue) return code_text + "\n";
    if (auto line = catalogue->find(code_text)) return *line;
    return code_text + " Unknown DTC code, contact the author\n";
}

std::string dsm_report(std::uint16_t code_word) {
    const int count = std::popcount(code_word);
    if (count == 0) return count_byte(0) + "No trouble codes found\n";
    std::string report = count_byte(count) + std::to_string(count) + " trouble codes found\n";
    for (int bit = 15; bit >= 0; --bit)
        if (code_word & (1u << bit)) report += std::string(dsm_code_text(bit)) + "\n";
    return report;
}

bool write_dtc_report(WorkingFile& file, const std::string& report) {
    const bool appended = file.append(reinterpret_cast<const std::uint8_t*>(report.data()), report.size());
    return file.close() && appended;
}

}  // namespace korv::korvio
