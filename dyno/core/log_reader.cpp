#include "dyno/core/log_reader.h"

#include "common/core/field_splitter.h"
#include "common/core/line_reader.h"
#include "common/core/number_text.h"

#include <algorithm>
#include <cmath>
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
bool next_filled_line(LineReader& lines, std::string& line) {
    while (lines.next_line(line)) {
        if (!line.empty()) return true;
    }
    return false;
}

struct ColumnMap {
    int time = -1;
    int rpm = -1;
    int throttle = -1;
    int columns = 0;
};

ColumnMap map_header(std::string_view header) {
    ColumnMap map;
    std::vector<std::string_view> names;
    split_row(header, kMaxLogColumns, names);
    map.columns = static_cast<int>(names.size());
    for (int k = 0; k < map.columns; ++k) {
        // A repeated kind would put the columns out of step: the first wins.
        switch (classify_column(names[static_cast<std::size_t>(k)])) {
        case ColumnKind::time:
            if (map.time < 0) map.time = k;
            break;
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

LogReadResult read_log_lines(LineReader& lines) {
    LogReadResult result;
    std::string line;
    next_filled_line(lines, line);  // the first line says nothing we use
    if (!next_filled_line(lines, line)) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }
    const ColumnMap map = map_header(line);
    if (map.time < 0 || map.rpm < 0) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }

    SampleArray samples;
    std::vector<std::string_view> fields;
    while (next_filled_line(lines, line)) {
        split_row(line, map.columns, fields);
        // A missing field reads as an empty one.
        const auto field = [&](int k) {
            return k >= 0 && static_cast<std::size_t>(k) < fields.size() ? fields[static_cast<std::size_t>(k)]
                                                                         : std::string_view();
        };
        const bool has_time_and_rpm = static_cast<std::size_t>(std::max(map.time, map.rpm)) < fields.size();
        float seconds = 0.0f;
        if (!has_time_and_rpm || !parse_log_time(field(map.time), seconds)) continue;
        DynoSample& s = samples.emplace_back();
        s[kTime] = seconds;
        s[kRawRpm] = leading_number(field(map.rpm));
        s[kThrottle] = leading_number(field(map.throttle));
    }
    if (samples.size() < 2) {
        result.status = LogReadStatus::too_few_samples;
        return result;
    }
    result.samples = std::move(samples);
    return result;
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
    }
    return {};
}

bool parse_log_time(std::string_view field, float& seconds) {
    float value = 0.0f;
    if (field.find(':') != std::string_view::npos) {
        auto minutes = korv::parse_int32(field);
        if (!minutes || minutes->end >= field.size() || field[minutes->end] != ':') return false;
        auto secs = korv::parse_float(field.substr(minutes->end + 1));
        if (!secs) return false;
        value = static_cast<float>(minutes->value) * 60.0f + secs->value;
    } else {
        auto secs = korv::parse_float(field);
        if (!secs) return false;
        value = secs->value;
    }
    if (!std::isfinite(value)) return false;
    seconds = value;
    return true;
}

LogReadResult parse_dyno_log(std::string_view text) {
    LineReader lines;
    lines.open_text(text);
    return read_log_lines(lines);
}

LogReadResult read_dyno_log(const std::filesystem::path& path) {
    LogReadResult failed;
    failed.status = LogReadStatus::cannot_open;
    LineReader lines;
    if (!lines.open(path.string())) return failed;
    LogReadResult result = read_log_lines(lines);
    // A file that fails part way cannot be opened, whatever its first lines
    // said, so the rest is read even when they already refused the log.
    std::string rest;
    while (lines.next_line(rest)) {}
    return lines.failed() ? failed : result;
}

}  // namespace korv::dyno
