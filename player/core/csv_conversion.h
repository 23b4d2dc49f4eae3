#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/core/line_reader.h"

// Conversion of a comma-separated text log into a minimal-header VXM log
// (big-endian floats) that the player then plays like any other. The user
// maps each column to a quantity; see csv_columns.h.
namespace korv::player {

inline constexpr std::size_t kCsvHeaderSearchLines = 5;
// Past this a line is cut and its row counted bad, so a file without line
// breaks cannot exhaust memory.
inline constexpr std::size_t kMaxCsvLineBytes = std::size_t{1} << 20;
// More columns than this would swamp the mapping dialog.
inline constexpr std::size_t kMaxCsvColumns = 1000;
// A VXM log's channel count is one byte, and the player reads at most 99.
inline constexpr std::size_t kMaxCsvKeptColumns = 99;

struct CsvHeaderScan {
    std::string lines_read;        // every line read, each followed by "\n"
    std::string header_line;       // the line whose tokens name the columns
    std::size_t column_count = 0;  // 0: no header line among the first five lines
};

enum class CsvOutcome {
    converted,         // the log is written
    nothing_chosen,    // no column was given a quantity: nothing is written
    no_records,        // no row converted: nothing is written
    too_many_columns,  // more than kMaxCsvKeptColumns columns to convert
    file_error,        // reading the text or writing the log failed
};

struct CsvConversionResult {
    CsvOutcome outcome = CsvOutcome::file_error;
    std::string error;  // file_error: the reason
    std::size_t kept_columns = 0;
    std::int64_t records = 0;   // records written
    std::int64_t bad_rows = 0;  // rows skipped: a kept cell missing or not a number
};

// The likeliest reason why no row of a file converted, judged from its
// header line: quoted fields, semicolons for commas, or no number at all.
std::string csv_no_rows_reason(std::string_view header_line);

class CsvLogConverter {
public:
    // nullopt on success, else the reason.
    std::optional<std::string> open(const std::string& path);

    // Reads up to five lines, stopping at the first that holds more than one
    // comma-separated token: the header, whose token count is the column
    // count. Returns the reason on a read error or a header beyond
    // kMaxCsvColumns.
    std::optional<std::string> scan_header(CsvHeaderScan& scan);

    // Converts the rows after the header. `items` holds the item chosen for
    // each column, left to right (missing ones count as ignored). Only whole
    // records are written; blank lines are passed over. The target is
    // replaced only when the conversion succeeds with at least one record
    // (a log without records would open as if it had worked). `progress` is
    // called now and then so a window can keep itself painted.
    CsvConversionResult convert(std::span<const int> items, const std::string& out_path,
                                const std::function<void()>& progress = {});

private:
    LineReader in_{kMaxCsvLineBytes};
};

}  // namespace korv::player
