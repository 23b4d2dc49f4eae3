// The simulator's arithmetic. Expected values were worked out apart from
// the code, step by step in single precision.
#include "player/core/fuel_simulation.h"

#include <gtest/gtest.h>

using namespace korv::player;

namespace {

O2SearchInput pms_record(float o2, float target) {
    O2SearchInput in;
    in.rpm = 3000;
    in.pulse_width = 10.0f;
    in.ratio = pulse_ratio(o2, 3000, 10.0f);
    in.o2_target = o2;
    in.o2_shown = o2;
    in.target = target;
    in.limit = kPmsSearchLimit;
    in.step = kPmsSearchStep;
    return in;
}

}  // namespace

TEST(FuelSimulation, PulseRatioGivesBackTheLoggedO2) {
    const float ratio = pulse_ratio(0.9f, 3000, 10.0f);
    EXPECT_FLOAT_EQ(ratio, 0.3f);  // 0.9 x 10 x 100 / 3000
    // No change: the same O2.
    EXPECT_FLOAT_EQ(pms_simulated_fuel(10.0f, 3000, ratio, 0).o2, 0.9f);
    EXPECT_FLOAT_EQ(vxm_simulated_fuel(10.0f, 3000, ratio, 0).o2, 0.9f);
}

TEST(FuelSimulation, PmsEditorPercentScalesPulseAndO2) {
    const float ratio = pulse_ratio(0.9f, 3000, 10.0f);
    const SimulatedFuel richer = pms_simulated_fuel(10.0f, 3000, ratio, 10);
    EXPECT_FLOAT_EQ(richer.pulse_width, 11.0f);
    EXPECT_FLOAT_EQ(richer.o2, 1.0f);  // 0.9 x 10 / 9
    const SimulatedFuel leaner = pms_simulated_fuel(10.0f, 3000, ratio, -10);
    EXPECT_FLOAT_EQ(leaner.pulse_width, 9.0f);
    EXPECT_LT(leaner.o2, 0.9f);
}

TEST(FuelSimulation, NegativeAfcDeltaIsLessFuel) {
    const float ratio = pulse_ratio(0.9f, 3000, 10.0f);
    const SimulatedFuel more = vxm_simulated_fuel(10.0f, 3000, ratio, 10);
    EXPECT_FLOAT_EQ(more.pulse_width, 11.0f);
    EXPECT_FLOAT_EQ(more.o2, 1.0f);  // 0.9 / (1 - 0.1)
    const SimulatedFuel less = vxm_simulated_fuel(10.0f, 3000, ratio, -10);
    EXPECT_FLOAT_EQ(less.pulse_width, 9.0f);
    EXPECT_NEAR(less.o2, 0.9f / 1.1f, 1e-6f);
}

TEST(FuelSimulation, LeanerSearchStepsByTwoFromTheLastStep) {
    // 0.90 / 1.02^k falls to 0.80 or below at k = 6: 0.7992.
    const auto r = search_fuel_for_o2(pms_record(0.9f, 0.8f));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->percent, -12);
    EXPECT_EQ(r->fuel_base, -1);
    EXPECT_FLOAT_EQ(r->pulse_width, 8.85f);  // 10 x 0.98^6 = 8.858, two decimals
    EXPECT_FLOAT_EQ(r->o2, 0.799174427986145f);
}

TEST(FuelSimulation, CumulativeCalcStepsFromTheLoggedPulse) {
    O2SearchInput in = pms_record(0.9f, 0.8f);
    in.calc_mthd = true;
    // 0.90 / (1 + 0.02 n) reaches 0.80 at n = 7.
    const auto r = search_fuel_for_o2(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->percent, -14);
    EXPECT_FLOAT_EQ(r->pulse_width, 8.6f);
    EXPECT_FLOAT_EQ(r->o2, 0.7894736528396606f);
}

TEST(FuelSimulation, RicherSearchWithTheKnobAfc) {
    O2SearchInput in = pms_record(0.5f, 0.6f);
    in.limit = kKnobAfcSearchLimit;
    in.step = kAfcSearchStep;
    const auto r = search_fuel_for_o2(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->percent, 19);
    EXPECT_EQ(r->fuel_base, 1);
    EXPECT_FLOAT_EQ(r->pulse_width, 12.08f);
    EXPECT_FLOAT_EQ(r->o2, 0.6052033305168152f);
}

TEST(FuelSimulation, SearchGivesUpPastItsLimit) {
    // 0.5 to 0.8 needs 37.5 %: beyond the knob AFC's 30, within the VCD AFC's 50.
    O2SearchInput in = pms_record(0.5f, 0.8f);
    in.step = kAfcSearchStep;
    in.limit = kKnobAfcSearchLimit;
    EXPECT_FALSE(search_fuel_for_o2(in).has_value());
    in.limit = kVcdAfcSearchLimit;
    const auto vcd = search_fuel_for_o2(in);
    ASSERT_TRUE(vcd);
    EXPECT_LE(vcd->percent, 50);
    // A PMS record needing more than 50 %.
    EXPECT_FALSE(search_fuel_for_o2(pms_record(0.9f, 0.3f)).has_value());
    // The largest change tried is limit + 1 for a step of 1.
    in = pms_record(0.5f, 0.67f);  // 0.5 / 0.99^29 = 0.669, / 0.99^30 = 0.676
    in.step = kAfcSearchStep;
    in.limit = kKnobAfcSearchLimit;
    const auto edge = search_fuel_for_o2(in);
    ASSERT_TRUE(edge);
    EXPECT_EQ(edge->percent, 30);
}

TEST(FuelSimulation, TargetAtTheLoggedO2MeansNoChange) {
    O2SearchInput in = pms_record(0.9f, 0.9f);
    in.o2_shown = 0.89f;  // a PMS log shows its O2 truncated
    const auto r = search_fuel_for_o2(in);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->percent, 0);
    EXPECT_FLOAT_EQ(r->pulse_width, 10.0f);
    EXPECT_FLOAT_EQ(r->o2, 0.89f);
    EXPECT_FALSE(r->fuel_base.has_value());
}

TEST(FuelSimulation, SearchEndsOnNonFiniteRatios) {
    O2SearchInput in = pms_record(0.9f, 0.8f);
    in.rpm = 0;
    in.ratio = pulse_ratio(0.9f, 0, 10.0f);  // infinite
    EXPECT_FALSE(search_fuel_for_o2(in).has_value());
}
