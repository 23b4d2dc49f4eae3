#include "common/core/log_3d.h"

#include <algorithm>
#include <cmath>

#include "common/core/java_numbers.h"

namespace korv {

std::string log3d_line(const Log3dFields& fields) {
    std::string line;
    line.reserve(kLog3dLineLength);
    for (std::size_t k = 0; k < fields.size(); ++k) {
        // Column 10k, or one blank after the previous field when that is further.
        std::size_t start = k * kLog3dColumnWidth;
        if (k > 0) start = std::max(start, line.size() + 1);
        line.resize(start, ' ');
        line += fields[k];
    }
    line.resize(std::max(line.size(), kLog3dLineLength - 1), ' ');
    line += '\n';
    return line;
}

std::string log3d_names_line() {
    return log3d_line({"Rpms", "O2", "Pressure", "Timing", "Tps", "Fuel", "P/W", "W/T", "A/T", "Rec"});
}

std::string log3d_types_line() {
    Log3dFields types;
    types.fill("NUMERIC");
    return log3d_line(types);
}

std::optional<std::string> log3d_record_line(const Log3dRecord& r, std::int64_t record) {
    const std::array<float, kLog3dFields - 1> values = {r.rpm,  r.o2,          r.pressure, r.timing,         r.tps,
                                                        r.fuel, r.pulse_width, r.coolant,  r.air_temperature};
    Log3dFields fields;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!std::isfinite(values[i])) return std::nullopt;
        fields[i] = java_float_to_string(values[i]);
    }
    fields[kLog3dFields - 1] = std::to_string(record);
    return log3d_line(fields);
}

std::optional<std::string> Log3dFile::create(const std::string& path) {
    count_3d_ = 0;
    if (auto error = out_.open(path)) return error;
    write(log3d_names_line());
    write(log3d_types_line());
    return std::nullopt;
}

bool Log3dFile::add(const Log3dRecord& r, std::int64_t record) {
    if (!out_.is_open()) return false;
    const auto line = log3d_record_line(r, record);
    if (!line) return false;
    write(*line);
    ++count_3d_;
    return true;
}

std::optional<std::string> Log3dFile::close() { return out_.commit(); }

void Log3dFile::discard() { out_.discard(); }

}  // namespace korv
