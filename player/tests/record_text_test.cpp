// The record text, character for character.
#include "player/core/record_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

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

// Records of every shape, from a fixed pseudo-random sequence: edge floats
// (NaN, infinities, signed zeros, subnormals, the largest float, values
// either side of the decimal layout), hundredths as the logs hold them, and
// integers at their ends; the text extras switched on and off in turn.
class RecordSweep {
public:
    float any_float() {
        static constexpr float kEdges[] = {0.0f,
                                           -0.0f,
                                           std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity(),
                                           -std::numeric_limits<float>::infinity(),
                                           std::numeric_limits<float>::denorm_min(),
                                           std::numeric_limits<float>::min(),
                                           std::numeric_limits<float>::max(),
                                           1.0e-3f,
                                           9.999e-4f,
                                           1.0e7f,
                                           9999999.0f,
                                           13.88f,
                                           0.98f,
                                           100.0f,
                                           -2.5f};
        switch (next() % 4) {
        case 0: return kEdges[next() % std::size(kEdges)];
        case 1: return std::bit_cast<float>(static_cast<std::uint32_t>(next()));
        default: return static_cast<float>(static_cast<std::int32_t>(next() % 2000001) - 1000000) / 100.0f;
        }
    }
    std::int32_t any_int() {
        switch (next() % 4) {
        case 0: return 0;
        case 1: return std::numeric_limits<std::int32_t>::min() + static_cast<std::int32_t>(next() % 3);
        case 2: return std::numeric_limits<std::int32_t>::max() - static_cast<std::int32_t>(next() % 3);
        default: return static_cast<std::int32_t>(next() % 20001) - 10000;
        }
    }
    std::int8_t any_int8() { return static_cast<std::int8_t>(next() % 3 == 0 ? 0 : next()); }
    template <typename T>
    std::optional<T> maybe(T v) {
        if (next() % 2) return std::nullopt;
        return v;
    }

    korv::player::PmsRecord pms() {
        korv::player::PmsRecord r;
        r.pms_ecu_rpms = any_int();
        r.pms_ecu_timing = any_int8();
        r.pms_timing = any_int8();
        r.pms_ecu_pulsewidth = any_float();
        r.pms_pulsewidth = any_float();
        r.pms_watertemp = any_int();
        r.pms_o2voltage = any_float();
        r.pms_airtemp = any_int();
        r.pms_tps = any_int8();
        r.pms_pressure = any_float();
        r.pms_hz = any_int();
        r.pms_fueladdition = any_int8();
        r.pms_timingaddition = any_int8();
        r.pms_acc = any_int();
        return r;
    }
    korv::player::PmsSimulation pms_simulation() {
        korv::player::PmsSimulation sim;
        sim.adjust_fuel_pw = any_float();
        sim.adjust_fuel_pcnt = next() % 2 ? 0 : static_cast<std::int32_t>(next() % 201) - 100;
        sim.adjust_fuel_o2 = any_float();
        sim.cell_locked = next() % 2;
        return sim;
    }
    korv::VxmPlayerModel vxm() {
        korv::VxmPlayerModel m;
        m.vxm_timing = any_int8();
        m.vxm_watertemp = any_int();
        m.vxm_o2voltage = any_float();
        m.vxm_tps = any_int8();
        m.vxm_rpms = any_int();
        m.vxm_pulsewidth = any_float();
        m.vxm_airtemp = any_int();
        m.vxm_s1 = any_int();
        m.vxm_l1 = any_int();
        m.vxm_o2trim = any_int();
        m.vxm_knock = any_int8();
        m.vxm_afhz = any_float();
        m.vxm_mtrim = any_int();
        m.vxm_mph = any_int();
        m.vxm_map = any_int();
        m.vxm_s2 = any_int();
        m.vxm_l2 = any_int();
        m.vxm_load = any_int();
        m.vxm_o2 = any_float();
        m.vxm_pressure = any_float();
        return m;
    }
    korv::player::VxmTextExtras vxm_extras() {
        korv::player::VxmTextExtras x;
        x.itc_adjustment = maybe(any_int() % 100);
        x.afc_old_percentage = maybe(any_int() % 100);
        x.afc_new_percentage = maybe(any_int() % 100);
        if (next() % 2) {
            korv::player::VxmSimulatorPiece s;
            s.pulse_width = any_float();
            s.pulse_width_in_full = next() % 2;
            s.delta = any_int();
            s.o2 = any_float();
            x.simulator = s;
        }
        return x;
    }
    std::int64_t cursor() {
        return next() % 8 == 0 ? std::numeric_limits<std::int64_t>::max() : static_cast<std::int64_t>(next() % 2000000);
    }

private:
    std::uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    std::uint64_t state_ = 0x2545F4914F6CDD1Dull;
};

inline void hash_text(std::uint64_t& hash, const std::string& text) {
    for (char c : text) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 1099511628211ull;
    }
    hash ^= 0xFF;
    hash *= 1099511628211ull;
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

// The texts of 200,000 records of every shape, hashed: the hashes are those of
// the texts as the player first showed them, so any changed character in any
// record shows. Built into a reused buffer, each text is also the one the
// string form gives, whatever the buffer held before.
TEST(RecordTextSweep, EveryCharacterAsBefore) {
    RecordSweep sweep;
    std::uint64_t vxm_hash = 1469598103934665603ull;
    std::uint64_t pms_hash = 1469598103934665603ull;
    RecordTextBuffer buffer;
    int mismatches = 0;
    for (int i = 0; i < 200000; ++i) {
        const std::int64_t vxm_cursor = sweep.cursor();
        const korv::VxmPlayerModel m = sweep.vxm();
        const VxmTextExtras x = sweep.vxm_extras();
        const std::string vxm = vxm_record_text(vxm_cursor, m, x);
        hash_text(vxm_hash, vxm);
        const std::string_view vxm_in_place = vxm_record_text(buffer, vxm_cursor, m, x);
        if ((vxm_in_place != vxm || buffer.text() != vxm) && ++mismatches < 5) {
            ADD_FAILURE() << "buffer: " << buffer.text() << "\nstring: " << vxm;
        }

        const std::int64_t pms_cursor = sweep.cursor();
        const PmsRecord r = sweep.pms();
        const PmsSimulation sim = sweep.pms_simulation();
        const std::string pms = pms_record_text(pms_cursor, r, sim);
        hash_text(pms_hash, pms);
        const std::string_view pms_in_place = pms_record_text(buffer, pms_cursor, r, sim);
        if ((pms_in_place != pms || buffer.text() != pms) && ++mismatches < 5) {
            ADD_FAILURE() << "buffer: " << buffer.text() << "\nstring: " << pms;
        }
    }
    EXPECT_EQ(vxm_hash, 0x6e0ff12ba88de794ull);
    EXPECT_EQ(pms_hash, 0x00b40f86b3a754cbull);
}

// The buffer is written without a check for room: every field at its
// longest text and every extra shown still leaves half of it free.
TEST(RecordTextBuffer, HalfTheRoomHoldsTheLongestTextOfEitherKind) {
    float longest_float = 0.0f;
    for (float v : {-std::numeric_limits<float>::min(), -std::numeric_limits<float>::max(), -1.23456789e-38f,
                    -1.4e-45f, -9999999.0f, -0.0012345678f}) {
        if (korv::java_float_to_string(v).size() > korv::java_float_to_string(longest_float).size()) longest_float = v;
    }
    constexpr std::int32_t kLongestInt = std::numeric_limits<std::int32_t>::min();
    constexpr std::int8_t kLongestInt8 = std::numeric_limits<std::int8_t>::min();
    constexpr std::int64_t kLongestCursor = std::numeric_limits<std::int64_t>::min();

    PmsRecord r;
    r.pms_ecu_rpms = r.pms_watertemp = r.pms_airtemp = r.pms_hz = r.pms_acc = kLongestInt;
    r.pms_ecu_timing = r.pms_timing = r.pms_tps = r.pms_fueladdition = r.pms_timingaddition = kLongestInt8;
    r.pms_ecu_pulsewidth = r.pms_pulsewidth = r.pms_o2voltage = r.pms_pressure = longest_float;
    PmsSimulation sim;
    sim.adjust_fuel_pw = sim.adjust_fuel_o2 = longest_float;
    sim.adjust_fuel_pcnt = kLongestInt;
    sim.cell_locked = true;

    korv::VxmPlayerModel m;
    m.vxm_timing = m.vxm_tps = m.vxm_knock = kLongestInt8;
    for (std::int32_t* field : {&m.vxm_watertemp, &m.vxm_rpms, &m.vxm_airtemp, &m.vxm_s1, &m.vxm_l1, &m.vxm_o2trim,
                                &m.vxm_mtrim, &m.vxm_mph, &m.vxm_map, &m.vxm_s2, &m.vxm_l2, &m.vxm_load}) {
        *field = kLongestInt;
    }
    for (float* field : {&m.vxm_o2voltage, &m.vxm_pulsewidth, &m.vxm_afhz, &m.vxm_o2, &m.vxm_pressure}) {
        *field = longest_float;
    }
    VxmTextExtras x;
    x.itc_adjustment = x.afc_old_percentage = x.afc_new_percentage = kLongestInt;
    x.simulator = VxmSimulatorPiece{longest_float, true, kLongestInt, longest_float};

    RecordTextBuffer buffer;
    EXPECT_LE(pms_record_text(buffer, kLongestCursor, r, sim).size(), RecordTextBuffer::kRoom / 2) << buffer.text();
    EXPECT_LE(vxm_record_text(buffer, kLongestCursor, m, x).size(), RecordTextBuffer::kRoom / 2) << buffer.text();
}
