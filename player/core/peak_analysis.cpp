#include "player/core/peak_analysis.h"

#include "common/core/java_numbers.h"

namespace korv::player {

void PeakAnalysis::reset() {
    clear_bands();
    peak_values_ = {};
    peak_records_ = {};
}

void PeakAnalysis::clear_bands() {
    values_ = {};
    records_ = {};
}

void PeakAnalysis::store(int row, int band, float value, std::int64_t record) {
    values_[index(row)][band] = value;
    records_[index(row)][band] = record;
}

AnalysisChange PeakAnalysis::add(const PeakSample& s, bool low_vals, bool pms_log, std::int32_t air_flow_hz) {
    AnalysisChange change;
    const int b = band_of(s.rpm);
    if (band_in_grid(b)) {
        change.band = b;
        auto keeps = [&](int row, float value) {
            const float stored = band_value(row, b);
            return (stored < value && !low_vals) || (stored > value && low_vals) || stored == 0.0f;
        };
        // Vacuum never shows: a band keeps 0 while its pressures are negative.
        if (band_value(row_pressure, b) < s.pressure) {
            store(row_pressure, b, s.pressure, s.record);
            change.rows |= 1u << row_pressure;
        }
        const float timing = static_cast<float>(s.timing);
        if (keeps(row_timing, timing)) {
            store(row_timing, b, timing, s.record);
            change.rows |= 1u << row_timing;
        }
        if (keeps(row_o2, s.o2)) {
            store(row_o2, b, s.o2, s.record);
            change.rows |= 1u << row_o2;
        }
        const float knock = pms_log ? static_cast<float>(air_flow_hz) : static_cast<float>(s.knock);
        if (band_value(row_knock, b) < knock) {
            store(row_knock, b, knock, s.record);
            change.rows |= 1u << row_knock;
        }
    }

    const std::array<float, kPeakColumns> peaks = {static_cast<float>(s.rpm), s.o2, static_cast<float>(s.timing),
                                                   s.pulse_width, static_cast<float>(s.knock)};
    for (int c = 0; c < kPeakColumns; ++c) {
        if (peaks[c] > peak_values_[c]) {
            peak_values_[c] = peaks[c];
            peak_records_[c] = s.record;
            change.peaks |= 1u << c;
        }
    }
    return change;
}

std::string PeakAnalysis::cell_text(int row, int band, bool pms_log) const {
    const float v = band_value(row, band);
    if (row == row_knock && pms_log) return std::to_string(saturating_float_to_int32(v));
    return java_float_to_string(v);
}

}  // namespace korv::player
