#include "boxlogger/core/lookup_curves.h"
#include "boxlogger/core/serial_port.h"
#include "boxlogger/core/variable.h"
#include "boxlogger/core/variable_list.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korv::boxlogger {
namespace {

// A list whose table has no port behind it: values are set by hand.
struct Catalogue : ::testing::Test {
    CSerialPort port;
    CVariableList list{port};

    // Sets the value slot of a request byte as a reply would.
    void set_reply(int code, std::uint16_t value) {
        auto* slot = const_cast<ValueSlot*>(list.table().AddCode(code));
        slot->store(value);
        list.table().RemoveCode(code);
    }
};

TEST_F(Catalogue, SignedOffsetReadsTheLowByteAsSigned) {
    CVariable* v = list.Acquire(31);
    set_reply(0x5A, 0xF6);
    EXPECT_FLOAT_EQ(v->Value(), -10.0f);
}

TEST_F(Catalogue, ToRawRoundsAndClamps) {
    struct Case {
        int id;
        const char* text;
        int raw;
    } cases[] = {{26, "100", 128}, {31, "-10", 0xF6}};
    for (const Case& c : cases) EXPECT_EQ(list.Acquire(c.id)->ToRaw(c.text), c.raw) << c.id << " " << c.text;
}

TEST_F(Catalogue, CoolantCurveIsFlatAtItsEnd) {
    CVariable* v = list.Acquire(1);
    set_reply(0x07, 250);
    EXPECT_FLOAT_EQ(v->Value(), -62.0f);
}

TEST_F(Catalogue, SwitchesReadTheirBitOfTheStatusByte) {
    CVariable* ac = list.Acquire(19);
    CVariable* steering = list.Acquire(20);
    set_reply(0x02, 0xEF);
    EXPECT_FLOAT_EQ(ac->Value(), 1.0f);
    set_reply(0x02, 0xFF);
    EXPECT_FLOAT_EQ(ac->Value(), 0.0f);
    EXPECT_FLOAT_EQ(steering->Value(), 1.0f);
    set_reply(0x02, 0xF7);
    EXPECT_FLOAT_EQ(steering->Value(), 0.0f);
}

TEST_F(Catalogue, FaultWordJoinsTwoBytes) {
    CVariable* v = list.Acquire(51);
    set_reply(0x3B, 0x01);
    set_reply(0x3C, 0x80);
    EXPECT_EQ(v->Raw(), 0x8001);
    list.Release(v);
    EXPECT_EQ(list.table().count(), 0) << "both bytes leave the table with the descriptor";
}

TEST_F(Catalogue, SharedRequestByteHasOneEntry) {
    CVariable* a = list.Acquire(19);
    CVariable* b = list.Acquire(20);
    EXPECT_EQ(list.table().count(), 1);
    EXPECT_EQ(list.table().use_count(0x02), 2);
    list.Release(a);
    EXPECT_EQ(list.table().use_count(0x02), 1);
    list.Release(b);
    EXPECT_EQ(list.table().count(), 0);
}

TEST_F(Catalogue, AcquireSharesOneDescriptorPerId) {
    CVariable* a = list.Acquire(9);
    EXPECT_EQ(list.Acquire(9), a);
    EXPECT_EQ(a->use_count, 2);
    list.Release(a);
    EXPECT_EQ(list.size(), 1u);
    list.Release(a);
    EXPECT_EQ(list.size(), 0u);
}

TEST_F(Catalogue, SensorTextShowsVoltsForVoltageSensors) {
    CVariable* throttle = list.Acquire(7);
    set_reply(0x17, 128);
    EXPECT_EQ(throttle->SensorText(), "2.50 V");
    CVariable* rpm = list.Acquire(9);
    EXPECT_EQ(rpm->SensorText(), rpm->Text());
}

TEST_F(Catalogue, SixteenBitRequestScalesTheWholeWord) {
    CVariable* v = list.Acquire(25);
    set_reply(0xD0, 0x0102);
    EXPECT_FLOAT_EQ(v->Value(), 258 * 3.90625f);
}

TEST(CatalogueIds, KnownIdsMakeDescriptorsOthersNone) {
    for (int id = 0; id <= 52; ++id) {
        const auto v = CreateVariable(id);
        ASSERT_NE(v, nullptr) << id;
        EXPECT_EQ(v->channel_id(), id);
    }
    EXPECT_EQ(CreateVariable(59), nullptr);
    EXPECT_EQ(CreateVariable(-1), nullptr);
    EXPECT_EQ(CreateVariable(37)->request_byte(), 0xCA);
    EXPECT_FLOAT_EQ(CreateVariable(37)->Value(), 0.0f);
}

TEST(CatalogueIds, ModelYears) {
    const std::pair<int, int> cases[] = {{37, 1994},  {54, 1990},  {55, 1990}, {163, 1993},
                                         {181, 1991}, {203, 1991}, {0, 0},     {38, 0}};
    for (auto [raw, year] : cases) EXPECT_EQ(ModelYearOf(raw), year) << raw;
}

TEST(LookupCurves, PassThroughTheRowsFallingSmoothly) {
    struct Curve {
        const LookupCurve& values;
        int rows[11];
    } curves[] = {
        {CoolantCurve(), {313, 217, 172, 124, 95, 70, 46, 21, 5, -18, -62}},
        {EgrCurve(), {606, 421, 358, 295, 253, 219, 185, 145, 113, 45, -94}},
        {AirCurve(), {363, 241, 185, 133, 100, 73, 48, 19, 1, -24, -74}},
    };
    const int indexes[11] = {0, 16, 32, 64, 96, 128, 160, 192, 208, 224, 240};
    for (const Curve& c : curves) {
        for (int i = 0; i < 11; ++i) EXPECT_EQ(c.values[indexes[i]], c.rows[i]) << indexes[i];
        for (int x = 240; x < 256; ++x) EXPECT_EQ(c.values[x], c.rows[10]) << x;
        for (int x = 0; x < 255; ++x) {
            EXPECT_EQ(c.values[x], std::round(c.values[x])) << x;
            EXPECT_LE(c.values[x + 1], c.values[x]) << x;
        }
        // Smooth: no step differs from the one before by more than a few degrees.
        for (int x = 1; x < 255; ++x) {
            const float before = c.values[x] - c.values[x - 1];
            const float after = c.values[x + 1] - c.values[x];
            EXPECT_LE(std::fabs(after - before), 4.0f) << x;
        }
    }
}

}  // namespace
}  // namespace korv::boxlogger
