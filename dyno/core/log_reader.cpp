#include "dyno/core/log_reader.h"

#include "common/core/count_text.h"
#include "common/core/field_splitter.h"
#include "common/core/line_reader.h"
#include "common/core/number_text.h"
#include "common/core/plain_decimal.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace korv::dyno {
namespace {

bool contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

// The field's leading number, if it has one.
std::optional<float> leading_number(std::string_view field) {
    auto parsed = korv::parse_float(field);
    if (!parsed) return std::nullopt;
    return parsed->value;
}

// Rows read before the rest are estimated from their mean length.
constexpr std::size_t kRowsToMeasure = 64;
// However short the rows look, a row takes 4 bytes ("0,0" and its end).
constexpr std::size_t kShortestRowBytes = 4;

// How many rows the log holds, from the bytes the first `rows` took since
// `data_start` and the bytes left, with room to spare; `rows` when the size
// is unknown.
std::size_t estimate_rows(const LineReader& lines, std::size_t data_start, std::size_t rows) {
    const std::size_t total = lines.total_bytes();
    const std::size_t read = lines.bytes_read();
    if (total <= read || read <= data_start) return rows;
    const std::size_t left = total - read;
    const double row_bytes = static_cast<double>(read - data_start) / static_cast<double>(rows);
    const auto expected = static_cast<std::size_t>(static_cast<double>(left) / row_bytes * 1.125);
    return rows + std::min(expected, left / kShortestRowBytes) + 1;
}

// The first `limit` comma-separated fields; empty fields keep their place so
// the columns stay in step.
void split_row(std::string_view line, int limit, std::vector<std::string_view>& fields) {
    split_fields(line, {.max_fields = static_cast<std::size_t>(limit)}, fields);
}

// Empty lines count for nothing anywhere in a log.
bool next_filled_line(LineReader& lines, std::string_view& line) {
    while (lines.next_line_view(line)) {
        if (!line.empty()) return true;
    }
    return false;
}

struct ColumnMap {
    std::vector<int> times;  // every candidate clock, in header order
    int rpm = -1;
    int throttle = -1;
    int columns = 0;
};

// What each column a row is read up to feeds: a clock (its index among the
// candidates), the RPM, the throttle or nothing.
enum ColumnRole : int { kUnread = -1, kRpmColumn = -2, kThrottleColumn = -3 };

std::vector<int> column_roles(const ColumnMap& map) {
    int last = std::max(map.rpm, map.throttle);
    for (int t : map.times) last = std::max(last, t);
    std::vector<int> roles(static_cast<std::size_t>(std::min(last + 1, map.columns)), kUnread);
    for (std::size_t c = 0; c < map.times.size(); ++c)
        roles[static_cast<std::size_t>(map.times[c])] = static_cast<int>(c);
    roles[static_cast<std::size_t>(map.rpm)] = kRpmColumn;
    if (map.throttle >= 0) roles[static_cast<std::size_t>(map.throttle)] = kThrottleColumn;
    return roles;
}

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

// One row's numbers: each clock's time (NaN where it does not read), the
// RPM (NaN where it does not read) and the throttle (0 when the row has no
// such field or no number in it).
struct RowValues {
    double times[kMaxLogColumns];
    float rpm = 0;
    float throttle = 0;
};

constexpr float kNoRpm = std::numeric_limits<float>::quiet_NaN();

// Reads a row's comma-separated fields up to the last one used, each number
// where its field lies; returns how many of those fields the row has. Empty
// fields keep their place so the columns stay in step.
std::size_t read_row(std::string_view line, const std::vector<int>& roles, std::size_t clocks, RowValues& row) {
    std::fill_n(row.times, clocks, kNoTime);
    row.rpm = kNoRpm;
    row.throttle = 0;
    const char* p = line.data();
    const char* const end = p + line.size();
    auto to_field_end = [&p, end] {
        while (p != end && *p != ',') ++p;
    };
    for (std::size_t k = 0; k < roles.size(); ++k) {
        const char* const start = p;
        const int role = roles[k];
        // Most fields are a plain decimal alone, read here; others go the
        // general way.
        if (role >= 0) {
            double t = 0;
            const char* q = p;
            if (read_plain_decimal(q, end, t) && (q == end || *q == ',') &&
                std::fabs(t) <= std::numeric_limits<float>::max()) {
                p = q;
                row.times[role] = t;
            } else {
                to_field_end();
                if (parse_log_time(std::string_view(start, static_cast<std::size_t>(p - start)), t))
                    row.times[role] = t;
            }
        } else if (role != kUnread) {
            float value = 0;
            const char* q = p;
            if (read_plain_decimal(q, end, value)) {
                p = q;
            } else {
                to_field_end();
                const std::optional<float> number =
                    leading_number(std::string_view(start, static_cast<std::size_t>(p - start)));
                value = number.value_or(role == kRpmColumn ? kNoRpm : 0.0f);
            }
            (role == kRpmColumn ? row.rpm : row.throttle) = value;
        }
        to_field_end();
        if (p == end) return k + 1;
        ++p;
    }
    return roles.size();
}

ColumnMap map_header(std::string_view header) {
    ColumnMap map;
    std::vector<std::string_view> names;
    split_row(header, kMaxLogColumns, names);
    map.columns = static_cast<int>(names.size());
    for (int k = 0; k < map.columns; ++k) {
        // A repeated kind would put the columns out of step: the first wins.
        switch (classify_column(names[static_cast<std::size_t>(k)])) {
        case ColumnKind::time: map.times.push_back(k); break;
        case ColumnKind::rpm:
            if (map.rpm < 0) map.rpm = k;
            break;
        case ColumnKind::throttle:
            if (map.throttle < 0) map.throttle = k;
            break;
        default: break;  // air temperature and barometer are recognised but unused
        }
    }
    return map;
}

// How one candidate clock runs over the rows where it reads.
struct ClockTrack {
    std::size_t rows = 0;
    double first = 0;
    double last = 0;
    bool never_back = true;

    void add(double t) {
        if (rows == 0) first = t;
        if (rows > 0 && t < last) never_back = false;
        last = t;
        ++rows;
    }
    bool advances() const { return rows > 1 && last > first; }
};

// The clock to use: the first that never goes back and advances, else the
// first that advances; -1 when none does.
int choose_clock(const std::vector<ClockTrack>& tracks) {
    for (std::size_t c = 0; c < tracks.size(); ++c) {
        if (tracks[c].never_back && tracks[c].advances()) return static_cast<int>(c);
    }
    for (std::size_t c = 0; c < tracks.size(); ++c) {
        if (tracks[c].advances()) return static_cast<int>(c);
    }
    return -1;
}

LogReadResult read_log_lines(LineReader& lines) {
    LogReadResult result;
    std::string_view line;
    next_filled_line(lines, line);  // the first line says nothing we use
    if (!next_filled_line(lines, line)) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }
    const ColumnMap map = map_header(line);
    if (map.times.empty() || map.rpm < 0) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }

    // Rows go straight into samples; with more than one candidate clock the
    // times of each are kept beside them (NaN where a clock does not read),
    // since the clock is known only once all rows are in.
    const std::size_t clocks = map.times.size();
    std::vector<ClockTrack> tracks(clocks);
    std::vector<double> times;  // clocks per row, with two clocks or more
    SampleArray samples;
    const std::vector<int> roles = column_roles(map);
    const auto rpm_at = static_cast<std::size_t>(map.rpm);
    const std::size_t data_start = lines.bytes_read();
    bool reserved = false;
    RowValues row;
    const double* const row_times = row.times;
    std::size_t rows = 0;
    while (next_filled_line(lines, line)) {
        ++rows;
        if (rpm_at >= read_row(line, roles, clocks, row)) continue;
        if (std::isnan(row.rpm)) continue;
        bool any = false;
        for (std::size_t c = 0; c < clocks; ++c) {
            if (std::isnan(row_times[c])) continue;
            tracks[c].add(row_times[c]);
            any = true;
        }
        if (!any) continue;
        if (clocks == 1) {
            // The one clock reads here: its first time is the origin.
            const double since = row_times[0] - tracks[0].first;
            if (!(std::fabs(since) <= std::numeric_limits<float>::max())) continue;
        }
        if (!reserved && samples.size() == kRowsToMeasure) {
            reserved = true;
            const std::size_t rows = estimate_rows(lines, data_start, samples.size());
            samples.reserve(rows);
            if (clocks > 1) times.reserve(rows * clocks);
        }
        DynoSample& s = samples.emplace_back();
        if (clocks == 1) {
            s[kTime] = static_cast<float>(row_times[0] - tracks[0].first);
        } else {
            times.insert(times.end(), row_times, row_times + clocks);
        }
        s[kRawRpm] = row.rpm;
        s[kThrottle] = row.throttle;
    }

    if (std::none_of(tracks.begin(), tracks.end(), [](const ClockTrack& t) { return t.rows >= 2; })) {
        result.status = LogReadStatus::too_few_samples;
        return result;
    }
    const int clock = choose_clock(tracks);
    if (clock < 0) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }

    // Times are worked out in double and stored from the first row on; rows
    // where the chosen clock does not read are dropped.
    const double origin = tracks[static_cast<std::size_t>(clock)].first;
    if (clocks > 1) {
        std::size_t kept = 0;
        for (std::size_t r = 0; r < samples.size(); ++r) {
            const double t = times[r * clocks + static_cast<std::size_t>(clock)];
            if (std::isnan(t)) continue;
            const double since = t - origin;
            if (!(std::fabs(since) <= std::numeric_limits<float>::max())) continue;
            DynoSample& s = samples[kept++];
            s = samples[r];
            s[kTime] = static_cast<float>(since);
        }
        samples.resize(kept);
    }
    if (samples.size() < 2) {
        result.status = LogReadStatus::too_few_samples;
        return result;
    }
    result.dropped_rows = rows - samples.size();
    result.samples = std::move(samples);
    result.time_origin = origin;
    return result;
}

// The whole read, with running out of memory as a result of its own.
template <typename Read>
LogReadResult guarded(Read&& read) {
    try {
        return read();
    } catch (const std::bad_alloc&) {
    } catch (const std::length_error&) {}
    LogReadResult failed;
    failed.status = LogReadStatus::out_of_memory;
    return failed;
}

}  // namespace

ColumnKind classify_column(std::string_view name) {
    if (contains(name, "Time") || contains(name, "Sec") || contains(name, "time") || contains(name, "sec"))
        return ColumnKind::time;
    if (contains(name, "RPM") || contains(name, "Rpm") || contains(name, "rpm")) return ColumnKind::rpm;
    if (contains(name, "TPS") || contains(name, "Throttle")) return ColumnKind::throttle;
    if (contains(name, "Air Temp")) return ColumnKind::air_temp;
    if (contains(name, "Barometer")) return ColumnKind::barometer;
    return ColumnKind::ignored;
}

std::string_view log_read_message(LogReadStatus status) {
    switch (status) {
    case LogReadStatus::ok: return {};
    case LogReadStatus::cannot_open: return "Can't open file";
    case LogReadStatus::no_rpm_or_time: return "Can't read RPM or Time from log";
    case LogReadStatus::too_few_samples: return "Can't enough samples from log";
    case LogReadStatus::out_of_memory: return "Not enough memory to load this log";
    }
    return {};
}

std::string dropped_rows_message(std::size_t rows) {
    return counted(rows, "row", "rows") + " " + std::string(was_or_were(rows)) +
           " left out: " + (rows == 1 ? "its" : "their") + " time or RPM held no number.";
}

bool parse_log_time(std::string_view field, double& seconds) {
    // Most fields are a plain number and nothing else: no colon to count.
    const char* const end = field.data() + field.size();
    const char* p = field.data();
    if (double plain = 0; read_plain_decimal(p, end, plain) && p == end) {
        if (!(std::fabs(plain) <= std::numeric_limits<float>::max())) return false;
        seconds = plain;
        return true;
    }
    if (const auto plain = korv::parse_double(field); plain && plain->end == field.size()) {
        if (!(std::fabs(plain->value) <= std::numeric_limits<float>::max())) return false;
        seconds = plain->value;
        return true;
    }
    // Hours and minutes are whole numbers before their colons ("%d:%d:%f",
    // or "%d:%f" with one colon); the seconds after the last one may be a
    // fraction.
    const std::size_t colons = static_cast<std::size_t>(std::count(field.begin(), field.end(), ':'));
    double value = 0;
    std::string_view rest = field;
    for (std::size_t k = 0; k < std::min<std::size_t>(colons, 2); ++k) {
        auto whole = korv::parse_int32(rest);
        if (!whole || whole->end >= rest.size() || rest[whole->end] != ':') return false;
        value = value * 60.0 + whole->value;
        rest.remove_prefix(whole->end + 1);
    }
    auto secs = korv::parse_double(rest);
    if (!secs) return false;
    value = colons > 0 ? value * 60.0 + secs->value : secs->value;
    if (!(std::fabs(value) <= std::numeric_limits<float>::max())) return false;
    seconds = value;
    return true;
}

LogReadResult parse_dyno_log(std::string_view text) {
    return guarded([&] {
        LineReader lines;
        lines.open_text(text);
        return read_log_lines(lines);
    });
}

LogReadResult read_dyno_log(const std::filesystem::path& path) {
    return guarded([&] {
        LogReadResult failed;
        failed.status = LogReadStatus::cannot_open;
        LineReader lines;
        if (!lines.open(path.string())) return failed;
        LogReadResult result = read_log_lines(lines);
        // A file that fails part way cannot be opened, whatever its first lines
        // said, so the rest is read even when they already refused the log.
        std::string_view rest;
        while (lines.next_line_view(rest)) {}
        if (lines.failed()) return failed;
        return result;  // moved, not copied as a conditional's value would be
    });
}

}  // namespace korv::dyno
