#include "dyno/core/log_reader.h"

#include "common/core/field_splitter.h"
#include "common/core/line_reader.h"
#include "common/core/number_text.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace korv::dyno {
namespace {

bool contains(std::string_view text, std::string_view word) { return text.find(word) != std::string_view::npos; }

// The field's leading number, 0 when it has none.
float leading_number(std::string_view field) {
    auto parsed = korv::parse_float(field);
    return parsed ? parsed->value : 0.0f;
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

// The first `count` comma-separated fields of a row, as split_row gives
// them, without splitting the rest: `fields` holds at least the ones it is
// asked for; how many the row has is what it returns.
std::size_t split_leading(std::string_view line, std::size_t count, std::string_view* fields) {
    const char* p = line.data();
    const char* const end = p + line.size();
    for (std::size_t k = 0; k < count; ++k) {
        // Fields are short: a plain walk beats a library call per field.
        const char* field_end = p;
        while (field_end != end && *field_end != ',') ++field_end;
        fields[k] = std::string_view(p, static_cast<std::size_t>(field_end - p));
        if (field_end == end) return k + 1;
        p = field_end + 1;
    }
    return count;
}

struct ColumnMap {
    std::vector<int> times;  // every candidate clock, in header order
    int rpm = -1;
    int throttle = -1;
    int columns = 0;
    // Fields a row needs split: up to the last one read.
    std::size_t needed() const {
        int last = std::max(rpm, throttle);
        for (int t : times) last = std::max(last, t);
        return static_cast<std::size_t>(std::min(last + 1, columns));
    }
};

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

constexpr double kNoTime = std::numeric_limits<double>::quiet_NaN();

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

    // Rows as read, with the time of every candidate clock (NaN where it
    // does not read); the clock is known only once all rows are in.
    const std::size_t clocks = map.times.size();
    std::vector<ClockTrack> tracks(clocks);
    std::vector<double> times;  // clocks per row
    std::vector<float> rpm, throttle;
    const std::size_t needed = map.needed();
    std::string_view fields[kMaxLogColumns];
    while (next_filled_line(lines, line)) {
        const std::size_t field_count = split_leading(line, needed, fields);
        if (static_cast<std::size_t>(map.rpm) >= field_count) continue;
        const std::size_t row_start = times.size();
        bool any = false;
        for (std::size_t c = 0; c < clocks; ++c) {
            const auto k = static_cast<std::size_t>(map.times[c]);
            double t = 0;
            if (k < field_count && parse_log_time(fields[k], t)) {
                tracks[c].add(t);
                any = true;
            } else {
                t = kNoTime;
            }
            times.push_back(t);
        }
        if (!any) {
            times.resize(row_start);
            continue;
        }
        rpm.push_back(leading_number(fields[static_cast<std::size_t>(map.rpm)]));
        // A missing field reads as an empty one.
        const auto tps = static_cast<std::size_t>(map.throttle);
        throttle.push_back(map.throttle >= 0 && tps < field_count ? leading_number(fields[tps]) : 0.0f);
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

    // Times are worked out in double and stored from the first row on.
    const double origin = tracks[static_cast<std::size_t>(clock)].first;
    SampleArray samples;
    samples.reserve(tracks[static_cast<std::size_t>(clock)].rows);  // counted above
    for (std::size_t r = 0; r < rpm.size(); ++r) {
        const double t = times[r * clocks + static_cast<std::size_t>(clock)];
        if (std::isnan(t)) continue;
        const double since = t - origin;
        if (!(std::fabs(since) <= std::numeric_limits<float>::max())) continue;
        DynoSample& s = samples.emplace_back();
        s[kTime] = static_cast<float>(since);
        s[kRawRpm] = rpm[r];
        s[kThrottle] = throttle[r];
    }
    if (samples.size() < 2) {
        result.status = LogReadStatus::too_few_samples;
        return result;
    }
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

bool parse_log_time(std::string_view field, double& seconds) {
    // Most fields are a plain number and nothing else: no colon to count.
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
