// DynoPower and torque estimate, checked against a simulated constant-power pull.
#include "dyno/core/power.h"

#include "common/core/number_text.h"
#include "dyno/core/block_select.h"
#include "dyno/core/car_table.h"
#include "dyno/core/dyno_session.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korv::dyno {
namespace {

// A pull at constant power through the car row's 2nd gear, written as the
// data logger's CSV export writes it: two decimals everywhere.
std::string constant_power_log(double kw, const DynoSettings& s, double seconds, double dt) {
    const double mass_kg = s.mass * kKgPerLb;
    const double rpm_per_ms = s.gear_ratio * s.final_drive * (s.tyre_revs * kMilesPerTyreRev) * 60.0;
    const double v0 = 8.0;
    std::string csv = "Calderis Datalogger\n\nTime,Engine Speed (RPM),Throttle Position (%)\n";
    for (double t = 0; t <= seconds + 1e-9; t += dt) {
        const double v = std::sqrt(v0 * v0 + 2.0 * kw * 1000.0 * t / mass_kg);
        csv += korv::format_fixed(t, 2) + "," + korv::format_fixed(v * rpm_per_ms, 2) + ",100.00\n";
    }
    return csv;
}

TEST(DynoPower, ConstantPowerPullGivesItsPowerBack) {
    DynoSession session;
    session.settings.bspline_en = 0;  // mode 0: the raw samples
    const double kw = 110.0;
    ASSERT_EQ(session.load_text(constant_power_log(kw, session.settings, 4.0, 0.05), "pull.csv"), LogReadStatus::ok);
    const SampleRange r = session.range();
    EXPECT_EQ(r.start, 0);
    EXPECT_EQ(r.end, static_cast<int>(session.samples().size()));  // the whole pull rises

    const int computed = static_cast<int>(session.samples().size()) - (1 + 1 + 2);
    for (int i = 0; i < computed; ++i) {
        const DynoSample& s = session.samples()[i];
        ASSERT_NEAR(s[kPower], kw * 1.3, kw * 1.3 * 0.01) << "sample " << i;
        // Torque divides by the mean RPM of the two windows.
        const auto& all = session.samples();
        const double rpm =
            (all[i][kSmoothRpm] + all[i + 1][kSmoothRpm] + all[i + 2][kSmoothRpm] + all[i + 3][kSmoothRpm]) / 4;
        ASSERT_NEAR(s[kTorque], kw * 1.3 * 5252 / rpm, kw * 1.3 * 5252 / rpm * 0.01) << "sample " << i;
    }
    // Samples past the last computable one are cleared.
    EXPECT_EQ(session.samples().back()[kPower], 0.0f);
}

TEST(DynoPower, BlendedPullStaysCloseInside) {
    DynoSession session;  // mode 1, blend 0.7 s
    const double kw = 90.0;
    ASSERT_EQ(session.load_text(constant_power_log(kw, session.settings, 6.0, 0.05), "pull.csv"), LogReadStatus::ok);
    const int n = static_cast<int>(session.samples().size());
    // Away from the ends by more than the blend's reach.
    for (int i = 20; i < n - 20; ++i) ASSERT_NEAR(session.samples()[i][kPower], kw * 1.3, kw * 1.3 * 0.03) << i;
}

TEST(DynoPower, RoadSpeedAndCorrections) {
    EXPECT_NEAR(RoadSpeed(3000, 1.684, 4.929, 861), 11.26, 0.01);
    EXPECT_NEAR(SaeFactor(80.0f, 1013.0f), 0.9764286, 1e-6);

    DynoSession base, lossy;
    lossy.settings.loss_en = 1;
    lossy.settings.loss = 15.0f;
    const std::string log = constant_power_log(100, base.settings, 3.0, 0.05);
    base.load_text(log, "a");
    lossy.load_text(log, "a");
    EXPECT_NEAR(lossy.samples()[10][kPower] / base.samples()[10][kPower], 1 / 0.85, 1e-5);

    DynoSession drag;
    drag.settings.drag_en = 1;
    drag.load_text(log, "a");
    EXPECT_GT(drag.samples()[10][kPower], base.samples()[10][kPower]);
}

SampleArray steady_samples(int n) {
    SampleArray s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        s[i][kBlendedTime] = i * 0.1f;
        s[i][kSmoothRpm] = 2000.0f + 100.0f * i;
    }
    return s;
}

TEST(DynoPower, OnlyComputableSamplesAreWritten) {
    DynoSettings settings;  // AA 1, gap 1: i runs below N - 4
    SampleArray s = steady_samples(5);
    for (auto& x : s) x[kPower] = x[kTorque] = 77;
    EXPECT_EQ(ComputePower(s, settings, {0, 5}), PowerResult::computed);
    EXPECT_GT(s[0][kPower], 0.0f);
    for (int i = 1; i < 5; ++i) EXPECT_EQ(s[i][kPower], 0.0f) << i;

    SampleArray four = steady_samples(4);
    for (auto& x : four) x[kPower] = 77;
    EXPECT_EQ(ComputePower(four, settings, {0, 4}), PowerResult::too_few_samples);
    for (const auto& x : four) EXPECT_EQ(x[kPower], 0.0f);

    SampleArray outside = steady_samples(10);
    ComputePower(outside, settings, {2, 3});
    EXPECT_EQ(outside[1][kPower], 0.0f);
    EXPECT_GT(outside[2][kPower], 0.0f);
    EXPECT_GT(outside[3][kPower], 0.0f);  // the end is inclusive here
    EXPECT_EQ(outside[4][kPower], 0.0f);
}

TEST(DynoPower, NoTimeStepOrNoRpmGivesZero) {
    DynoSettings settings;
    SampleArray s = steady_samples(10);
    for (auto& x : s) x[kBlendedTime] = 1.0f;  // equal times
    ComputePower(s, settings, {0, 10});
    for (const auto& x : s) EXPECT_EQ(x[kPower], 0.0f);

    SampleArray stalled = steady_samples(10);
    for (auto& x : stalled) x[kSmoothRpm] = 0;
    ComputePower(stalled, settings, {0, 10});
    for (const auto& x : stalled) EXPECT_EQ(x[kTorque], 0.0f);
}

TEST(DynoPower, RefusedSettingsLeaveCurvesEmpty) {
    auto refused = [](auto change) {
        DynoSettings settings;
        change(settings);
        SampleArray s = steady_samples(20);
        for (auto& x : s) x[kPower] = 5;
        const PowerResult result = ComputePower(s, settings, {0, 20});
        for (const auto& x : s) {
            if (x[kPower] != 0.0f || x[kTorque] != 0.0f) return false;
        }
        return result == PowerResult::refused;
    };
    EXPECT_TRUE(refused([](DynoSettings& s) {
        s.choose_car(8);
        s.choose_gear(4);
    }));  // no 5th gear
    EXPECT_TRUE(refused([](DynoSettings& s) { s.tyre_revs = 0; }));
    EXPECT_TRUE(refused([](DynoSettings& s) {
        s.sae_en = 1;
        s.sae_pressure = 0;
    }));
    EXPECT_TRUE(refused([](DynoSettings& s) {
        s.sae_en = 1;
        s.sae_temp = -460;
    }));
    EXPECT_TRUE(refused([](DynoSettings& s) {
        s.loss_en = 1;
        s.loss = 100;
    }));
    EXPECT_TRUE(refused([](DynoSettings& s) { s.aa = -1; }));
    EXPECT_TRUE(refused([](DynoSettings& s) { s.gap = -1; }));
    EXPECT_TRUE(refused([](DynoSettings& s) { s.gap = 21; }));
    // Off switches make their values harmless.
    EXPECT_FALSE(refused([](DynoSettings& s) {
        s.sae_pressure = 0;
        s.loss = 100;
    }));
}

TEST(DynoPower, HugeValuesNeverReachTheChartAsInfinity) {
    DynoSettings settings;
    settings.mass = 3e38f;
    SampleArray s = steady_samples(20);
    ComputePower(s, settings, {0, 20});
    for (const auto& x : s) {
        EXPECT_TRUE(std::isfinite(x[kPower]));
        EXPECT_TRUE(std::isfinite(x[kTorque]));
    }
}

}  // namespace
}  // namespace korv::dyno
