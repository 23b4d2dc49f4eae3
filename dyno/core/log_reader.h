#pragma once
// Reads a comma-separated acceleration log into the sample array.
//
// Layout: one line of anything, a header line of column names, then one
// data row per line. Empty lines are skipped anywhere; lines may be of any
// length. Columns are found by name among the first 30 header columns.
#include "dyno/core/dyno_sample.h"

#include <filesystem>
#include <string_view>

namespace korv::dyno {

enum class ColumnKind { ignored, time, rpm, throttle, air_temp, barometer };

// Kind of a header column by substring search; the first matching test wins.
ColumnKind classify_column(std::string_view name);

inline constexpr int kMaxLogColumns = 30;

enum class LogReadStatus { ok, cannot_open, no_rpm_or_time, too_few_samples };

struct LogReadResult {
    LogReadStatus status = LogReadStatus::ok;
    SampleArray samples;  // only filled when status is ok
};

// The message shown for a failed read (caption "File Error"); empty for ok.
std::string_view log_read_message(LogReadStatus status);
inline constexpr std::string_view kFileErrorCaption = "File Error";

// Rows lacking the time or RPM field, or whose time does not parse, are
// skipped; other fields without a number read 0.
LogReadResult parse_dyno_log(std::string_view text);
LogReadResult read_dyno_log(const std::filesystem::path& path);

// A time field: "m:s" as minutes and seconds, else a plain number of seconds.
bool parse_log_time(std::string_view field, float& seconds);

}  // namespace korv::dyno
