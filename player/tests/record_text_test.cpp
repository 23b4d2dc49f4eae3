// The record text, character for character.
#include "player/core/record_text.h"

#include <gtest/gtest.h>

using namespace korv::player;

namespace {

PmsRecord pms_sample() {
    PmsRecord r;
    r.pms_ecu_rpms = 3000;
    r.pms_pressure = 10.0f;
    r.pms_tps = 95;
    r.pms_airtemp = 191;
    r.pms_watertemp = 266;
    r.pms_o2voltage = 0.98f;
    r.pms_ecu_timing = 20;
    r.pms_timing = 25;
    r.pms_timingaddition = 5;
    r.pms_ecu_pulsewidth = 13.87f;
    r.pms_pulsewidth = 14.4f;
    r.pms_hz = 10000;
    return r;
}

korv::VxmPlayerModel vxm_sample() {
    korv::VxmPlayerModel m;
    m.vxm_rpms = 3000;
    m.vxm_o2voltage = 0.45f;
    m.vxm_tps = 95;
    m.vxm_watertemp = 85;
    m.vxm_pulsewidth = 2.5f;
    m.vxm_timing = 20;
    m.vxm_knock = 3;
    m.vxm_afhz = 123.45f;
    return m;
}

}  // namespace

TEST(DutyCycle, IsPulseWidthTimesRpmOver1200Truncated) {
    EXPECT_EQ(duty_cycle(2.5f, 3000), 6.25f);
    EXPECT_EQ(duty_cycle(13.87f, 3000), 34.67f);
    EXPECT_TRUE(record_is_shown(8000));
    EXPECT_FALSE(record_is_shown(8001));
}

TEST(PmsRecordText, PlainRecord) {
    const PmsRecord r = pms_sample();
    EXPECT_EQ(pms_record_text(7, r, unsimulated(r)),
              "{7} Rpms: 3000  Prs/Vac 10.0\n"
              "TPS: 95  Air: 191  Clt: 266  O2: 0.98\n"
              "Timing 20/25(5) Dc:36.0%\n"
              "Fuel(pw) 13.87 Hz:10000");
}

TEST(PmsRecordText, ZeroTemperaturesAndNoAdditionsAreLeftOut) {
    PmsRecord r = pms_sample();
    r.pms_airtemp = 0;
    r.pms_watertemp = 0;
    r.pms_timingaddition = 0;
    r.pms_acc = 1;
    r.pms_pressure = -5.0f;
    EXPECT_EQ(pms_record_text(0, r, unsimulated(r)),
              "{0} Rpms: 3000  Prs/Vac -5.0\n"
              "TPS: 95  O2: 0.98\n"
              "Timing 20 Dc:36.0% NOS\n"
              "Fuel(pw) 13.87 Hz:10000");
}

TEST(PmsRecordText, FuelAdditionAndSimulation) {
    PmsRecord r = pms_sample();
    r.pms_fueladdition = 5;
    EXPECT_EQ(pms_record_text(1, r, unsimulated(r)).substr(pms_record_text(1, r, unsimulated(r)).rfind('\n')),
              "\nFuel(pw) 13.87/14.4(5%) Hz:10000");
    PmsSimulation sim;
    sim.adjust_fuel_pw = 12.6789f;
    sim.adjust_fuel_pcnt = -12;
    sim.adjust_fuel_o2 = 0.7991f;
    sim.cell_locked = true;
    const std::string text = pms_record_text(1, r, sim);
    EXPECT_EQ(text.substr(text.rfind('\n')), "\nFuel(pw) 13.87/12.67(-7%)(0.79) Hz:10000");
}

TEST(VxmRecordText, PlainRecordAlwaysCarriesMph) {
    EXPECT_EQ(vxm_record_text(0, vxm_sample(), {}),
              "{0} Rpms: 3000  Prs/Vac 0.0 O2: 0.45\n"
              "TPS: 95  Clt: 85 Dc:6.25%\n"
              "Timing 20  Knock: 3\n"
              "Fuel(pw) 2.5 Hz:123.45 MPH:0");
}

TEST(VxmRecordText, SpeedPressureLoadAndTrimLines) {
    korv::VxmPlayerModel m = vxm_sample();
    m.vxm_o2 = 0.6f;
    m.vxm_airtemp = 30;
    m.vxm_mph = 55;
    m.vxm_map = 100;
    m.vxm_s2 = 5;
    EXPECT_EQ(vxm_record_text(12, m, {}),
              "{12} Rpms: 3000  Prs/Vac 0.0 O2: 0.45/0.6\n"
              "TPS: 95  Air: 30  Clt: 85 Dc:6.25%\n"
              "Timing 20  Knock: 3\n"
              "Fuel(pw) 2.5 Hz:123.45 MPH:55\n"
              "MPH: 55 MAP: 100 \n"
              "STrim 2: 5 ");
    m.vxm_s2 = 0;
    m.vxm_s1 = -3;
    m.vxm_l1 = 7;
    m.vxm_l2 = 2;
    m.vxm_o2trim = 9;
    m.vxm_load = 40;
    const std::string text = vxm_record_text(12, m, {});
    EXPECT_EQ(text.substr(text.find("MPH:55")),
              "MPH:55\nMPH: 55 MAP: 100 Load: 40 \nSTrim 1: -3 LTrim 1: 7 2: 2 O2 Trim: 9 ");
}

TEST(VxmRecordText, AnimatedEditorsAndSimulatorPieces) {
    VxmTextExtras extras;
    extras.itc_adjustment = 4;
    extras.afc_old_percentage = 10;
    extras.afc_new_percentage = 0;  // a zero percentage is not shown
    VxmSimulatorPiece sim;
    sim.pulse_width = 2.7567f;
    sim.delta = 10;
    sim.o2 = 0.5039f;
    extras.simulator = sim;
    EXPECT_EQ(vxm_record_text(0, vxm_sample(), extras),
              "{0} Rpms: 3000  Prs/Vac 0.0 O2: 0.45\n"
              "TPS: 95  Clt: 85 Dc:6.25%\n"
              "Timing 20/24(4)  Knock: 3\n"
              "Fuel(pw) 2.5(10)/2.75(10)|0.5 Hz:123.45 MPH:0");
}

TEST(VxmAnimation, WithoutEditorsTheAnalysisGetsTheLoggedValues) {
    const VxmAnimation a = unanimated(vxm_sample());
    EXPECT_EQ(a.timing, 20);
    EXPECT_EQ(a.pulse_width, 2.5f);
    EXPECT_EQ(a.o2, 0.45f);
    EXPECT_FALSE(a.text.simulator.has_value());
}
