#include "dyno/core/log_reader.h"

#include "common/core/number_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace korv::dyno {
namespace {

bool contains(std::string_view text, std::string_view word) {
    return text.find(word) != std::string_view::npos;
}

// The field's leading number, 0 when it has none.
float leading_number(std::string_view field) {
    auto parsed = korv::parse_float(field);
    return parsed ? parsed->value : 0.0f;
}

// Calls take(k, field) for each comma-separated field k < limit; empty
// fields keep their place so the columns stay in step.
template <typename Take>
int split_fields(std::string_view line, int limit, Take take) {
    int k = 0;
    std::size_t from = 0;
    while (k < limit) {
        std::size_t comma = line.find(',', from);
        std::string_view field = line.substr(from, comma == std::string_view::npos ? line.size() - from : comma - from);
        take(k, field);
        ++k;
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    return k;
}

struct ColumnMap {
    int time = -1;
    int rpm = -1;
    int throttle = -1;
    int columns = 0;
};

ColumnMap map_header(std::string_view header) {
    ColumnMap map;
    map.columns = split_fields(header, kMaxLogColumns, [&](int k, std::string_view name) {
        // A repeated kind would put the columns out of step: the first wins.
        switch (classify_column(name)) {
        case ColumnKind::time:
            if (map.time < 0) map.time = k;
            break;
        case ColumnKind::rpm:
            if (map.rpm < 0) map.rpm = k;
            break;
        case ColumnKind::throttle:
            if (map.throttle < 0) map.throttle = k;
            break;
        default:
            break;  // air temperature and barometer are recognised but unused
        }
    });
    return map;
}

} // namespace

ColumnKind classify_column(std::string_view name) {
    if (contains(name, "Time") || contains(name, "Sec") || contains(name, "time") || contains(name, "sec"))
        return ColumnKind::time;
    if (contains(name, "RPM") || contains(name, "Rpm") || contains(name, "rpm")) return ColumnKind::rpm;
    if (contains(name, "TPS") || contains(name, "Throttle")) return ColumnKind::throttle;
    if (contains(name, "Air Temp")) return ColumnKind::air_temp;
    if (contains(name, "Barometer")) return ColumnKind::barometer;
    return ColumnKind::ignored;
}

bool LineReader::ReadLine(std::string_view& line) {
    while (pos_ < text_.size() && (text_[pos_] == '\r' || text_[pos_] == '\n')) ++pos_;
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find_first_of("\r\n", pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    pos_ = end;
    return true;
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
    LogReadResult result;
    LineReader lines(text);
    std::string_view line;
    lines.ReadLine(line);  // the first line says nothing we use
    if (!lines.ReadLine(line)) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }
    const ColumnMap map = map_header(line);
    if (map.time < 0 || map.rpm < 0) {
        result.status = LogReadStatus::no_rpm_or_time;
        return result;
    }

    SampleArray samples;
    samples.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    while (lines.ReadLine(line)) {
        std::string_view time_field, rpm_field, throttle_field;
        bool has_time = false, has_rpm = false;
        split_fields(line, map.columns, [&](int k, std::string_view field) {
            if (k == map.time) { time_field = field; has_time = true; }
            else if (k == map.rpm) { rpm_field = field; has_rpm = true; }
            else if (k == map.throttle) throttle_field = field;
        });
        float seconds = 0.0f;
        if (!has_time || !has_rpm || !parse_log_time(time_field, seconds)) continue;
        DynoSample& s = samples.emplace_back();
        s[kTime] = seconds;
        s[kRawRpm] = leading_number(rpm_field);
        s[kThrottle] = leading_number(throttle_field);
    }
    if (samples.size() < 2) {
        result.status = LogReadStatus::too_few_samples;
        return result;
    }
    result.samples = std::move(samples);
    return result;
}

LogReadResult read_dyno_log(const std::filesystem::path& path) {
    LogReadResult failed;
    failed.status = LogReadStatus::cannot_open;
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return failed;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) return failed;

    std::string text;
    const auto size = std::filesystem::file_size(path, ec);
    if (!ec) text.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) text.append(buffer, got);
    if (std::ferror(file.get())) return failed;
    return parse_dyno_log(text);
}

} // namespace korv::dyno
