// The log's clock: clock-time stamps, large times, and which time column is
// the clock when several names hold "time".
#include "dyno/core/dyno_session.h"
#include "dyno/core/log_reader.h"

#include "common/core/number_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace korv::dyno {
namespace {

TEST(DynoLogClock, TimeFieldsReadInSeconds) {
    const struct {
        const char* field;
        double seconds;
    } read[] = {
        {"05:14:12.051", 18852.051}, {"23:59:59.99", 86399.99}, {"0:00:00", 0.0}, {"1:02.5", 62.5}, {" 62.5", 62.5},
        {"18852.051", 18852.051},
    };
    for (const auto& c : read) {
        double t = -1;
        ASSERT_TRUE(parse_log_time(c.field, t)) << c.field;
        EXPECT_NEAR(t, c.seconds, 1e-9) << c.field;
    }
    for (const char* bad : {"5:14:", "5::12", "a:14:12", "5:b:12", "1e39", "1:1e39"}) {
        double t = 0;
        EXPECT_FALSE(parse_log_time(bad, t)) << bad;
    }
}

// One 6 s pull sampled every 16 ms, its time written by `stamp`.
template <typename Stamp>
std::string pull(Stamp stamp) {
    std::string csv = "logger export\nTime,RPM,TPS\n";
    for (int i = 0; i <= 375; ++i) {
        const double t = i * 0.016;
        const double rpm = 2500 + 4500 * (1 - std::exp(-t / 3));
        csv += stamp(i) + "," + format_fixed(rpm, 1) + ",100\n";
    }
    return csv;
}

std::string clock_text(int ms) {  // hh:mm:ss.mmm
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    std::string ms_text = std::to_string(ms % 1000);
    ms_text.insert(0, 3 - ms_text.size(), '0');
    const int s = ms / 1000;
    return two(s / 3600) + ":" + two(s / 60 % 60) + ":" + two(s % 60) + "." + ms_text;
}

TEST(DynoLogClock, WhereTheClockStartsDoesNotChangeTheCurve) {
    constexpr int kStartMs = 18852051;  // 05:14:12.051
    DynoSession from_zero, since_midnight, clock_time;
    ASSERT_EQ(from_zero.load_text(pull([](int i) { return format_fixed(i * 0.016, 3); }), "zero.csv"),
              LogReadStatus::ok);
    ASSERT_EQ(since_midnight.load_text(pull([](int i) { return format_fixed((kStartMs + 16 * i) / 1000.0, 3); }),
                                       "midnight.csv"),
              LogReadStatus::ok);
    ASSERT_EQ(clock_time.load_text(pull([](int i) { return clock_text(kStartMs + 16 * i); }), "clock.csv"),
              LogReadStatus::ok);

    const auto peak = [](const DynoSession& s) {
        float best = 0;
        for (const DynoSample& x : s.samples()) best = std::max(best, x[kPower]);
        return best;
    };
    ASSERT_GT(peak(from_zero), 100.0f);
    EXPECT_EQ(from_zero.time_origin(), 0.0);
    for (const DynoSession* s : {&since_midnight, &clock_time}) {
        EXPECT_NEAR(s->time_origin(), 18852.051, 1e-9);
        ASSERT_EQ(s->samples().size(), from_zero.samples().size());
        EXPECT_EQ(s->range(), from_zero.range());
        EXPECT_NEAR(peak(*s), peak(from_zero), 1e-3 * peak(from_zero));
        for (std::size_t k = 0; k < s->samples().size(); ++k) {
            EXPECT_NEAR(s->samples()[k][kTime], from_zero.samples()[k][kTime], 1e-5) << k;
        }
    }
}

// Each case: a header with the time columns before RPM, then rows of their
// values; the times the samples get (since the first), or the refusal.
struct ClockCase {
    const char* name;
    const char* header;
    std::vector<const char*> rows;
    LogReadStatus status;
    std::vector<float> times;
};

void PrintTo(const ClockCase& c, std::ostream* out) { *out << c.name; }

class DynoLogClockChoice : public testing::TestWithParam<ClockCase> {};

TEST_P(DynoLogClockChoice, FirstAdvancingColumnIsTheClock) {
    const ClockCase& c = GetParam();
    std::string csv = std::string("x\n") + c.header + ",RPM\n";
    for (std::size_t k = 0; k < c.rows.size(); ++k)
        csv += std::string(c.rows[k]) + "," + std::to_string(3000 + k) + "\n";
    const LogReadResult r = parse_dyno_log(csv);
    ASSERT_EQ(r.status, c.status);
    std::vector<float> times;
    for (const DynoSample& s : r.samples) times.push_back(s[kTime]);
    EXPECT_EQ(times, c.times);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DynoLogClockChoice,
    testing::Values(
        ClockCase{"DeadTimeBeforeTime",
                  "Inj Deadtime Scale,Time",
                  {"1.00,10.5", "1.00,10.75", "1.00,11"},
                  LogReadStatus::ok,
                  {0, 0.25f, 0.5f}},
        ClockCase{"SteadyClockWinsOverAnEarlierOneThatStepsBack",
                  "Sec,Time",
                  {"1,7", "3,8", "2,9"},
                  LogReadStatus::ok,
                  {0, 1, 2}},
        ClockCase{
            "AdvancingClockWhenNoneIsSteady", "Time,Inj Deadtime", {"1,5", "3,5", "2,5"}, LogReadStatus::ok, {0, 2, 1}},
        ClockCase{
            "RowsWhereTheClockIsEmptyAreSkipped", "Deadtime,Time", {"1,1", "1,", "1,2"}, LogReadStatus::ok, {0, 1}},
        ClockCase{"ConstantClockIsRefused", "Time", {"1.00", "1.00", "1.00"}, LogReadStatus::no_rpm_or_time, {}},
        ClockCase{"FallingClocksAreRefused", "Time,Deadtime", {"3,1", "2,1", "1,1"}, LogReadStatus::no_rpm_or_time, {}},
        ClockCase{"OneRowIsTooFewWhateverTheClock", "Deadtime,Time", {"1,1"}, LogReadStatus::too_few_samples, {}}),
    [](const testing::TestParamInfo<ClockCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace korv::dyno
