// The analyser filter and the peak and band tables, without a window.
#include "player/core/analyser_filter.h"
#include "player/core/peak_analysis.h"

#include <gtest/gtest.h>

using namespace korv::player;

namespace {

PeakSample sample(std::int32_t rpm, std::int64_t record) {
    PeakSample s;
    s.rpm = rpm;
    s.record = record;
    s.tps = 100;
    return s;
}

}  // namespace

TEST(AnalyserFilter, ThrottleOrRpmAtTheLimitPasses) {
    const AnalyserFilter f;  // 95 %, 4000 rpm: the fields' texts
    EXPECT_FALSE(f.passes(94, 3000));
    EXPECT_TRUE(f.passes(94, 4000));
    EXPECT_TRUE(f.passes(95, 900));
    EXPECT_FALSE(f.passes(94, 3999));
}

TEST(AnalyserFilter, LimitFieldsTakeWholeNumbersInRange) {
    EXPECT_EQ(parse_filter_limit("95", 100), 95);
    EXPECT_EQ(parse_filter_limit(" 50 ", 100), 50);
    EXPECT_EQ(parse_filter_limit("0", 100), 0);
    EXPECT_EQ(parse_filter_limit("100", 100), 100);
    EXPECT_EQ(parse_filter_limit("8000", 8000), 8000);
    for (const char* bad : {"", "abc", "101", "-1", "1.5", "12abc", "nan", "99999999999"}) {
        EXPECT_FALSE(parse_filter_limit(bad, 100).has_value()) << bad;
    }
    EXPECT_FALSE(parse_filter_limit("8001", 8000).has_value());
}

TEST(PeakAnalysis, BandsKeepTheHighestValuesAndTheirRecords) {
    PeakAnalysis a;
    PeakSample s = sample(3250, 7);  // band 6
    s.timing = 20;
    s.o2 = 0.85f;
    s.pressure = 5.5f;
    s.knock = 3;
    AnalysisChange c = a.add(s, false, false, 0);
    EXPECT_EQ(c.band, 6);
    EXPECT_EQ(c.rows, (1u << row_o2) | (1u << row_timing) | (1u << row_pressure) | (1u << row_knock));
    EXPECT_EQ(a.cell_text(row_timing, 6, false), "20.0");
    EXPECT_EQ(a.cell_text(row_o2, 6, false), "0.85");
    EXPECT_EQ(a.cell_text(row_pressure, 6, false), "5.5");
    EXPECT_EQ(a.cell_text(row_knock, 6, false), "3.0");
    EXPECT_EQ(a.band_record(row_timing, 6), 7);

    s.record = 8;
    s.timing = 18;  // lower: kept out
    s.o2 = 0.90f;   // higher: taken
    c = a.add(s, false, false, 0);
    EXPECT_EQ(c.rows, 1u << row_o2);
    EXPECT_EQ(a.band_record(row_o2, 6), 8);
    EXPECT_EQ(a.band_record(row_timing, 6), 7);
}

TEST(PeakAnalysis, LowValsKeepsTheFirstTimingThenLowerOnes) {
    PeakAnalysis a;
    PeakSample s = sample(4000, 1);
    s.timing = 30;
    a.add(s, true, false, 0);
    EXPECT_EQ(a.band_value(row_timing, 8), 30.0f);
    s.timing = 35;
    s.record = 2;
    a.add(s, true, false, 0);
    EXPECT_EQ(a.band_value(row_timing, 8), 30.0f);
    s.timing = 12;
    s.record = 3;
    a.add(s, true, false, 0);
    EXPECT_EQ(a.band_value(row_timing, 8), 12.0f);
    EXPECT_EQ(a.band_record(row_timing, 8), 3);
}

TEST(PeakAnalysis, VacuumNeverShowsInThePressureRow) {
    PeakAnalysis a;
    PeakSample s = sample(2000, 1);
    s.pressure = -8.2f;
    EXPECT_FALSE(a.add(s, false, false, 0).rows & (1u << row_pressure));
    EXPECT_EQ(a.band_value(row_pressure, 4), 0.0f);
}

TEST(PeakAnalysis, PmsKnockRowHoldsTheAirFlowFrequency) {
    PeakAnalysis a;
    PeakSample s = sample(5000, 1);
    s.knock = 0;
    a.add(s, false, true, 1234);
    EXPECT_EQ(a.cell_text(row_knock, 10, true), "1234");
}

TEST(PeakAnalysis, RpmOutsideTheGridBandsStillReachesThePeaks) {
    PeakAnalysis a;
    for (std::int32_t rpm : {499, -600, 0}) {
        PeakSample s = sample(rpm, 5);
        s.o2 = 0.5f;
        s.pulse_width = 2.0f;
        const AnalysisChange c = a.add(s, false, false, 0);
        EXPECT_EQ(c.band, -1) << rpm;
        EXPECT_EQ(c.rows, 0u) << rpm;
    }
    EXPECT_EQ(a.peak_value(peak_rpm), 499.0f);
    EXPECT_EQ(a.peak_value(peak_o2), 0.5f);
    EXPECT_EQ(a.band_value(row_o2, 0), 0.0f);
    // 8000 rpm is band 16, the grid's last.
    EXPECT_EQ(a.add(sample(8000, 9), false, false, 0).band, 16);
}

TEST(PeakAnalysis, PeaksTakeOnlyHigherValuesAndKeepLargeRecordNumbers) {
    PeakAnalysis a;
    const std::int64_t far = (std::int64_t{1} << 24) + 1;  // not a float
    PeakSample s = sample(6000, far);
    s.timing = 25;
    s.pulse_width = 9.5f;
    s.knock = 4;
    s.o2 = 0.95f;
    const AnalysisChange c = a.add(s, false, false, 0);
    EXPECT_EQ(c.peaks, 0x1Fu);
    EXPECT_EQ(a.peak_record(peak_rpm), far);
    EXPECT_EQ(a.band_record(row_o2, 12), far);

    s = sample(6000, 3);
    s.timing = 25;  // equal: the first record stays
    s.pulse_width = 10.0f;
    EXPECT_EQ(a.add(s, false, false, 0).peaks, 1u << peak_pulse_width);
    EXPECT_EQ(a.peak_record(peak_timing), far);

    a.clear_bands();
    EXPECT_EQ(a.band_value(row_o2, 12), 0.0f);
    EXPECT_EQ(a.peak_record(peak_pulse_width), 3);
    a.reset();
    EXPECT_EQ(a.peak_value(peak_pulse_width), 0.0f);
}
