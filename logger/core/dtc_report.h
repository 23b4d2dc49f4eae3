#pragma once
// Reading the trouble-code report dtc.tmp that the library writes (name and
// layout in nativeio/include/korvio_files.h): a count byte, then text lines
// (a count line or "no codes" line first).
#include <string>
#include <vector>

namespace korv::logger {

struct DtcReport {
    enum class Status {
        ok,
        no_file,  // missing, not a regular file, or cannot be opened
        no_data,  // empty, or no text after the count byte
    };
    Status status = Status::no_file;
    int count = 0;                   // the first byte, signed
    std::vector<std::string> lines;  // as stored (Windows-1252), without line ends
};

// Reads at most a bounded amount: a report is a few kilobytes, and a larger
// file shows its first part rather than filling memory.
DtcReport read_dtc_report(const std::string& path);

// The list's text: every line followed by a line end.
std::string dtc_list_text(const std::vector<std::string>& lines);

}  // namespace korv::logger
