#pragma once

#include <array>
#include <cstdint>
#include <string>

// The log's peak values and the per-rpm-band analysis behind the player's
// grid. Records are counted here only after they passed the analyser
// filter; the caller decides that.
namespace korv::player {

// Columns of the peak table and of the five peak buttons.
enum PeakColumn : int { peak_rpm = 0, peak_o2 = 1, peak_timing = 2, peak_pulse_width = 3, peak_knock = 4 };
inline constexpr int kPeakColumns = 5;

// Band b holds the engine speeds b * 500 .. b * 500 + 499. The grid shows
// bands 1..16 (500 .. 8000 rpm); records outside them reach the peak table
// only.
inline constexpr std::int32_t kRpmPerBand = 500;
inline constexpr int kAnalysisBands = 20;
inline constexpr int kFirstGridBand = 1;
inline constexpr int kLastGridBand = 16;

// Data rows of the grid, under its row of band starts.
enum AnalysisRow : int { row_o2 = 1, row_timing = 2, row_pressure = 3, row_knock = 4 };
inline constexpr int kFirstAnalysisRow = row_o2;
inline constexpr int kLastAnalysisRow = row_knock;

// What the player hands over for each record it shows.
struct PeakSample {
    std::int8_t timing = 0;
    std::int8_t knock = 0;
    float pulse_width = 0.0f;
    std::int32_t rpm = 0;
    float o2 = 0.0f;
    std::int64_t record = 0;
    float pressure = 0.0f;
    std::int32_t tps = 0;
    std::int32_t fuel = 0;
    std::int32_t air_temperature = 0;
    std::int32_t coolant_temperature = 0;
};

// What one record changed.
struct AnalysisChange {
    int band = -1;       // the band of the changed cells
    unsigned rows = 0;   // bit r set: grid row r took a new value
    unsigned peaks = 0;  // bit c set: peak column c took a new value
};

class PeakAnalysis {
public:
    // A log is being opened: both tables empty.
    void reset();
    // The grid is cleared: the band table empty, the peaks kept.
    void clear_bands();

    // Counts a record that passed the filter. With low_vals the O2 and
    // timing rows keep the lowest value instead of the highest. A PMS log's
    // knock row holds the air-flow frequency.
    AnalysisChange add(const PeakSample& s, bool low_vals, bool pms_log, std::int32_t air_flow_hz);

    static int band_of(std::int32_t rpm) { return rpm / kRpmPerBand; }
    static bool band_in_grid(int band) { return band >= kFirstGridBand && band <= kLastGridBand; }

    // 0 means empty.
    float band_value(int row, int band) const { return values_[index(row)][band]; }
    std::int64_t band_record(int row, int band) const { return records_[index(row)][band]; }
    float peak_value(int column) const { return peak_values_[column]; }
    std::int64_t peak_record(int column) const { return peak_records_[column]; }

    // The text a grid cell shows: floats in their shortest form ("25.0"),
    // the air-flow frequency of a PMS log as an integer.
    std::string cell_text(int row, int band, bool pms_log) const;

private:
    static int index(int row) { return row - kFirstAnalysisRow; }
    void store(int row, int band, float value, std::int64_t record);

    std::array<std::array<float, kAnalysisBands>, 4> values_{};
    std::array<std::array<std::int64_t, kAnalysisBands>, 4> records_{};
    std::array<float, kPeakColumns> peak_values_{};
    std::array<std::int64_t, kPeakColumns> peak_records_{};
};

}  // namespace korv::player
