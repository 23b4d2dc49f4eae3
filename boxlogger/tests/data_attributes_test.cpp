#include "boxlogger/core/data_attributes.h"

#include <gtest/gtest.h>

#include <limits>

#include "boxlogger/core/channel_table.h"

namespace korv::boxlogger {
namespace {

class DataAttributesTest : public ::testing::Test {
protected:
    void SetUp() override { ResetChannelTable(); }
    void TearDown() override { ResetChannelTable(); }
};

TEST_F(DataAttributesTest, CopiesTheRowAndIsNotChangedByLaterEdits) {
    const CDataAttributes coolant(1);
    EXPECT_EQ(coolant.id, 1);
    EXPECT_EQ(coolant.label, "Coolant Temperature");
    EXPECT_EQ(coolant.units, "\xB0");
    EXPECT_EQ(coolant.long_units, "degrees");
    EXPECT_EQ(coolant.min, 100.0f);
    EXPECT_EQ(coolant.max, 300.0f);
    EXPECT_EQ(coolant.colour, 0x800000u);
    EXPECT_EQ(coolant.trace_width, 2);
    EXPECT_EQ(coolant.variable, nullptr);
    SetChannelAttribute(1, 0x111111);
    EXPECT_EQ(coolant.colour, 0x800000u);
    EXPECT_EQ(CDataAttributes(1).colour, 0x111111u);

    const CDataAttributes knock(17);
    EXPECT_EQ(knock.units, "");
    EXPECT_EQ(knock.long_units, "");
}

TEST_F(DataAttributesTest, IdWithoutRowIsACommand) {
    const CDataAttributes command(43);
    EXPECT_EQ(command.id, 43);
    EXPECT_EQ(command.label, "!CMD!");
    EXPECT_EQ(command.trace_width, 2);
    FreeChannelTable();
    EXPECT_EQ(CDataAttributes(9).label, "!CMD!");
}

TEST(LongUnitsTest, NamesTheThreeShortUnits) {
    EXPECT_EQ(LongUnits("\xB0"), "degrees");
    EXPECT_EQ(LongUnits("V"), "volts");
    EXPECT_EQ(LongUnits("%"), "percent");
    EXPECT_EQ(LongUnits("RPM"), "RPM");
    EXPECT_EQ(LongUnits(""), "");
}

TEST_F(DataAttributesTest, AutomaticDecimalsGiveAboutThreeDigits) {
    const CDataAttributes pulse(10);  // precision -1, units "ms"
    struct Case {
        float value;
        const char* text;
    };
    for (const Case& c : {Case{12.3f, "12.3 ms"}, Case{0.5f, "0.500 ms"}, Case{1000.0f, "1000 ms"}, Case{0.0f, "0 ms"},
                          Case{-12.3f, "-12.3 ms"}, Case{0.0001f, "0.00010 ms"}, Case{123456.0f, "123456 ms"}}) {
        EXPECT_EQ(pulse.FormatValue(c.value, false), c.text) << c.value;
    }
    // Not a number or infinite: the decimals stay within 0..5, no crash.
    EXPECT_EQ(pulse.DecimalsFor(std::numeric_limits<float>::infinity()), 0);
    EXPECT_EQ(pulse.DecimalsFor(std::numeric_limits<float>::denorm_min()), 5);
    EXPECT_NO_THROW(pulse.FormatValue(std::numeric_limits<float>::quiet_NaN(), false));
}

TEST_F(DataAttributesTest, ValuesOfKindZeroCarryShortOrLongUnits) {
    EXPECT_EQ(CDataAttributes(1).FormatValue(195.4f, false), "195 \xB0");
    EXPECT_EQ(CDataAttributes(1).FormatValue(195.6f, true), "196 degrees");
    EXPECT_EQ(CDataAttributes(3).FormatValue(0.456f, true), "0.46 volts");
    EXPECT_EQ(CDataAttributes(9).FormatValue(3000.0f, true), "3000 RPM");
    EXPECT_EQ(CDataAttributes(17).FormatValue(4.0f, false), "4 ");
    EXPECT_EQ(CDataAttributes(3).FormatWithoutUnits(0.456f), "0.46");
}

TEST_F(DataAttributesTest, OtherKindsReadAsTexts) {
    struct Case {
        int id;
        float value;
        const char* text;
    };
    for (const Case& c : {
             Case{19, 1.0f, "On"},
             Case{19, 0.49f, "Off"},
             Case{23, 0.5f, "High"},
             Case{23, 0.0f, "Low"},
             Case{53, 0.5f, "Triggered"},
             Case{53, 0.0f, "Off"},
             Case{49, 224.0f, "Engine"},
             Case{50, 201.0f, "2.0 Turbo"},
             Case{52, 37.0f, "1994"},
             Case{51, 3.0f, "11 Oxygen Sensor\n12 Air Flow Sensor"},
             Case{51, 0.0f, ""},
         }) {
        EXPECT_EQ(CDataAttributes(c.id).FormatValue(c.value, true), c.text) << c.id << " " << c.value;
    }
}

TEST_F(DataAttributesTest, FractionStaysWithinTheScale) {
    const CDataAttributes timing(31);  // -10 .. 30
    EXPECT_EQ(timing.ValueAtFraction(0.0f), -10.0f);
    EXPECT_EQ(timing.ValueAtFraction(0.25f), 0.0f);
    EXPECT_EQ(timing.ValueAtFraction(1.0f), 30.0f);
    EXPECT_EQ(timing.ValueAtFraction(1.5f), 30.0f);
    EXPECT_EQ(timing.ValueAtFraction(-0.5f), -10.0f);
}

TEST_F(DataAttributesTest, ParseReadsTheLeadingNumberWithinTheScale) {
    const CDataAttributes gain(26);  // 25 .. 200
    struct Case {
        const char* text;
        float value;
    };
    for (const Case& c : {Case{"100", 100.0f}, Case{" 62.5%", 62.5f}, Case{"1e3", 200.0f}, Case{"1e300", 200.0f},
                          Case{"-5", 25.0f}, Case{"abc", 25.0f}, Case{"", 25.0f}, Case{"150x20", 150.0f}}) {
        EXPECT_EQ(gain.ParseClamped(c.text), c.value) << c.text;
    }
    // No number reads as 0 when 0 lies within the scale.
    EXPECT_EQ(CDataAttributes(31).ParseClamped("x"), 0.0f);
}

}  // namespace
}  // namespace korv::boxlogger
