// The PMS log (.dab): field decoding and record counts, from bytes laid
// out by hand after the record layout.
#include "player/core/dab_reader.h"
#include "player/tests/test_files.h"

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

PmsRecord decode(std::initializer_list<std::pair<int, std::uint8_t>> fields) {
    const Bytes record = dab_record(fields);
    PmsRecord r;
    decode_pms_record(record.data(), record.size(), r);
    return r;
}

}  // namespace

TEST(DabFields, EngineSpeedIsTheLittleEndianCountTimesTen) {
    EXPECT_EQ(decode({{5, 0x2C}, {6, 0x01}}).pms_ecu_rpms, 3000);
    EXPECT_EQ(decode({{5, 0xFF}, {6, 0xFF}}).pms_ecu_rpms, 655350);
}

TEST(DabFields, CoolantCountsDownFrom269InStepsOfThree) {
    EXPECT_EQ(decode({{16, 0}}).pms_watertemp, 269);
    EXPECT_EQ(decode({{16, 1}}).pms_watertemp, 266);
    EXPECT_EQ(decode({{16, 0xFF}}).pms_watertemp, 275);  // -1 counts as -2
    EXPECT_EQ(decode({{16, 0x80}}).pms_watertemp, 269 + 3 * 129);
}

TEST(DabFields, AirTemperatureIgnoresTheSign) {
    EXPECT_EQ(decode({{22, 0}}).pms_airtemp, 201);
    EXPECT_EQ(decode({{22, 10}}).pms_airtemp, 191);
    EXPECT_EQ(decode({{22, 0xF6}}).pms_airtemp, 191);
}

TEST(DabFields, O2VoltsAreTruncatedButTheTargetIsNot) {
    EXPECT_EQ(decode({{19, 0}}).pms_o2voltage, -0.02f);
    EXPECT_EQ(decode({{19, 50}}).pms_o2voltage, 0.98f);
    const PmsRecord quarter = decode({{19, 25}});
    EXPECT_EQ(quarter.pms_o2voltage, 0.48f);
    EXPECT_EQ(quarter.o2_target, 25.0f * 0.02f - 0.02f);    // single precision, untruncated
    EXPECT_EQ(decode({{19, 0xFF}}).pms_o2voltage, -0.04f);  // bytes from 128 up are negative
}

TEST(DabFields, PressureIsBoostPositiveAndVacuumNegative) {
    EXPECT_EQ(decode_pms_pressure(100, 0), 10.0f);
    EXPECT_EQ(decode_pms_pressure(-56, 0), 19.9f);  // -5.6 + 25.5
    EXPECT_EQ(decode_pms_pressure(-50, -1), -5.0f);
    EXPECT_EQ(decode_pms_pressure(-1, -2), -25.4f);  // -0.1 + 25.5, negated
    EXPECT_EQ(decode_pms_pressure(0, -2), -51.2f);
    EXPECT_EQ(decode({{29, 0xC8}, {30, 0}}).pms_pressure, 19.9f);
    EXPECT_EQ(build_int(-2, -1), 0xFEFF);
}

TEST(DabFields, PulseWidthIsCountsTimesPoint1388TruncatedToTwoDecimals) {
    const PmsRecord r = decode({{11, 100}, {13, 144}});
    EXPECT_EQ(r.pms_ecu_pulsewidth, 13.87f);
    EXPECT_EQ(r.pms_pulsewidth, 19.98f);
}

TEST(DabFields, SignedBytesAndTheAccessoryFlag) {
    const PmsRecord r = decode({{7, 0xF6}, {8, 25}, {25, 95}, {31, 0x10}, {32, 0x27}, {37, 0xFB}, {43, 3}, {51, 3}});
    EXPECT_EQ(r.pms_ecu_timing, -10);
    EXPECT_EQ(r.pms_timing, 25);
    EXPECT_EQ(r.pms_tps, 95);
    EXPECT_EQ(r.pms_hz, 10000);
    EXPECT_EQ(r.pms_fueladdition, -5);
    EXPECT_EQ(r.pms_timingaddition, 3);
    EXPECT_EQ(r.pms_acc, 1);
    EXPECT_EQ(decode({{51, 2}}).pms_acc, 0);
    EXPECT_EQ(decode({{51, 0xFF}}).pms_acc, 1);
}

TEST(DabFields, AShortRecordDecodesOnlyTheFieldsItHolds) {
    PmsRecord r;
    r.pms_tps = 42;
    r.pms_airtemp = 7;
    const Bytes record = dab_record({{5, 0x2C}, {6, 0x01}, {16, 1}, {22, 10}, {25, 90}});
    decode_pms_record(record.data(), 23, r);
    EXPECT_EQ(r.pms_ecu_rpms, 3000);
    EXPECT_EQ(r.pms_watertemp, 266);
    EXPECT_EQ(r.pms_airtemp, 191);
    EXPECT_EQ(r.pms_tps, 42);  // byte 25 lies beyond: the earlier value stays
}

class DabFile : public InScratchFolder {};

TEST_F(DabFile, CountsOnlyWholeRecordsAfterTheHeader) {
    const std::pair<std::size_t, std::int64_t> cases[] = {{0, 0}, {64, 0}, {100, 0}, {128, 1}, {64 + 64 * 3 + 10, 3}};
    for (const auto& [length, records] : cases) {
        write_bytes(path("log.dab"), Bytes(length, 0));
        DabReader reader;
        ASSERT_FALSE(reader.open(path("log.dab")));
        ASSERT_FALSE(reader.dab_header());
        EXPECT_EQ(reader.log_records(), records) << length << " bytes";
    }
}

TEST_F(DabFile, ReadsTheRecordItIsPositionedAt) {
    write_bytes(path("log.dab"), dab_log({dab_record({{5, 100}}), dab_record({{5, 200}})}));
    DabReader reader;
    ASSERT_FALSE(reader.open(path("log.dab")));
    ASSERT_FALSE(reader.dab_header());
    reader.seek_record(1);
    ASSERT_TRUE(reader.read_pms_record());
    EXPECT_EQ(reader.record().pms_ecu_rpms, 2000);
    reader.seek_record(0);
    ASSERT_TRUE(reader.read_pms_record());
    EXPECT_EQ(reader.record().pms_ecu_rpms, 1000);
}
