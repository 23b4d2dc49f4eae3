#pragma once
// Reads a comma-separated acceleration log into the sample array.
//
// Layout: one line of anything, a header line of column names, then one
// data row per line. Empty lines are skipped anywhere; lines may be of any
// length. Columns are found by name among the first 30 header columns.
//
// Any column whose name holds "time" or "sec" may be the clock; real exports
// also carry columns such as "Inj Deadtime Scale". The clock is the first
// such column that never goes back and ends above where it starts, else the
// first that ends above where it starts; a log with neither is refused.
#include "dyno/core/dyno_sample.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace korv::dyno {

enum class ColumnKind { ignored, time, rpm, throttle, air_temp, barometer };

// Kind of a header column by substring search; the first matching test wins.
ColumnKind classify_column(std::string_view name);

inline constexpr int kMaxLogColumns = 30;

enum class LogReadStatus { ok, cannot_open, no_rpm_or_time, too_few_samples, out_of_memory };

struct LogReadResult {
    LogReadStatus status = LogReadStatus::ok;
    SampleArray samples;  // only filled when status is ok
    // Data rows that gave no sample: their time or RPM held no number, or
    // the row ended before them.
    std::size_t dropped_rows = 0;
    // The first sample's time as logged. Samples hold their time since it:
    // a clock at 19,000 s would leave a float too coarse for 10 ms steps.
    double time_origin = 0;
};

// The message shown for a failed read (caption "File Error"); empty for ok.
std::string_view log_read_message(LogReadStatus status);
inline constexpr std::string_view kFileErrorCaption = "File Error";
// What a load that left rows out says (caption "File Error" too).
std::string dropped_rows_message(std::size_t rows);

// Rows lacking the time or RPM field, or whose time or RPM holds no number,
// are skipped and counted; a throttle without a number reads 0. Running out
// of memory is reported as out_of_memory, never thrown.
LogReadResult parse_dyno_log(std::string_view text);
LogReadResult read_dyno_log(const std::filesystem::path& path);

// A time field in seconds: "h:m:s" (a clock time), "m:s", or a plain number.
// Refused when it holds no number or one too large for a float.
bool parse_log_time(std::string_view field, double& seconds);

}  // namespace korv::dyno
