// The strip charts' table, the points each record sends them, the manager
// buttons a log offers, and the 2-D chart's tables and rows.
#include "player/core/chart_2d_rows.h"
#include "player/core/string_table.h"
#include "player/core/strip_chart_feed.h"

#include <gtest/gtest.h>

using namespace korv::player;

TEST(StripChartFeed, TableOfTitlesScalesAndButtons) {
    EXPECT_STREQ(strip_chart_spec(1).title, "RPM");
    EXPECT_EQ(strip_chart_spec(1).high, 8000);
    EXPECT_STREQ(strip_chart_spec(10).title, "Air Flow (hz)");
    EXPECT_STREQ(strip_chart_spec(10).button, "A/F Hz");
    EXPECT_EQ(strip_chart_spec(12).low, 128);
    EXPECT_EQ(strip_chart_spec(12).high, 128);
    EXPECT_STREQ(strip_chart_spec(19).title, "O2v Trim");
    EXPECT_STREQ(strip_chart_spec(19).button, "O2 Trim");
    EXPECT_STREQ(strip_chart_spec(22).button, "Inj D/C");
}

TEST(StripChartFeed, VxmRecordPoints) {
    korv::VxmPlayerModel m;
    m.vxm_rpms = 3250;
    m.vxm_timing = -5;
    m.vxm_pulsewidth = 12.34f;
    m.vxm_o2voltage = 0.85f;
    m.vxm_afhz = 0.25f;
    m.vxm_map = 7;
    m.vxm_o2 = 0.5f;
    m.vxm_mtrim = 3;
    m.vxm_o2trim = -2;
    ChartPoints p;
    vxm_chart_points(m, p);
    EXPECT_EQ(p.value[1], 325000);
    EXPECT_EQ(p.value[2], -500);
    EXPECT_EQ(p.value[3], 1234);
    EXPECT_EQ(p.value[5], 8500);
    EXPECT_EQ(p.value[8], 700);
    EXPECT_EQ(p.value[10], 2500);
    EXPECT_EQ(p.value[11], 5000);
    EXPECT_EQ(p.value[17], 300);
    EXPECT_EQ(p.value[19], -200);
    // 12.34 x 3250 / 1200 = 33.42: whole percent, times 100.
    EXPECT_EQ(p.value[22], 3300);
    EXPECT_FALSE(p.has(20));
    EXPECT_FALSE(p.has(21));
    EXPECT_TRUE(p.has(9));
}

TEST(StripChartFeed, PmsRecordPoints) {
    PmsRecord r;
    r.pms_ecu_rpms = 6000;
    r.pms_timing = 22;
    r.pms_ecu_timing = 18;
    r.pms_pulsewidth = 9.5f;
    r.pms_ecu_pulsewidth = 8.25f;
    r.pms_pressure = 0.99f;
    r.pms_hz = 1500;
    ChartPoints p;
    pms_chart_points(r, p);
    EXPECT_EQ(p.value[2], 2200);
    EXPECT_EQ(p.value[21], 1800);
    EXPECT_EQ(p.value[20], 825);
    EXPECT_EQ(p.value[8], 0);  // below 1 psi
    EXPECT_EQ(p.value[10], 150000);
    EXPECT_EQ(p.value[22], 4700);  // 47.5 %
    for (int slot : {9, 11, 12, 13, 14, 15, 16, 17, 18, 19}) EXPECT_FALSE(p.has(slot)) << slot;
    r.pms_pressure = 12.5f;
    pms_chart_points(r, p);
    EXPECT_EQ(p.value[8], 1250);
}

TEST(StripChartFeed, JunkValuesSaturateInsteadOfWrapping) {
    korv::VxmPlayerModel m;
    m.vxm_rpms = 2000000000;
    m.vxm_pulsewidth = 1e30f;
    ChartPoints p;
    vxm_chart_points(m, p);
    EXPECT_EQ(p.value[1], 2147483647);
    EXPECT_EQ(p.value[3], 2147483647);
}

TEST(StripChartFeed, ButtonsByLogTypeAndChannels) {
    korv::VxmPlayerModel channels;
    const std::uint32_t pms = enabled_chart_buttons(LogFileType::pms, channels);
    for (int slot : {1, 2, 3, 4, 5, 6, 7, 8, 10, 20, 21, 22}) EXPECT_TRUE((pms >> slot) & 1u) << slot;
    for (int slot : {9, 11, 12, 13, 14, 15, 16, 17, 18, 19}) EXPECT_FALSE((pms >> slot) & 1u) << slot;

    // Channel ids 9 (rpm), 15 (O2 trim, slot 16) and 48 (middle trim, slot 49).
    channels.vxm_parm_count = 3;
    channels.vxm_type[1] = 10;
    channels.vxm_type[2] = 16;
    channels.vxm_type[3] = 49;
    const std::uint32_t vxm = enabled_chart_buttons(LogFileType::vxm, channels);
    EXPECT_EQ(vxm, (1u << 1) | (1u << 19) | (1u << 17));
    EXPECT_EQ(enabled_chart_buttons(LogFileType::none, channels), 0u);
}

TEST(Chart2dRows, VxmAndPmsRows) {
    EXPECT_EQ(boost_chart_row(0.0f, 3, 25, nullptr), "0.0,3,25");
    EXPECT_EQ(o2_chart_row(0.85f, 12.5f, nullptr), "0.85,1.25");
    PmsRecord r;
    r.pms_ecu_timing = 20;
    r.pms_tps = 98;
    r.pms_ecu_pulsewidth = 8.0f;
    r.pms_hz = 1000;
    EXPECT_EQ(boost_chart_row(7.5f, 0, 22, &r), "7.5,0,22,20,24.5");
    EXPECT_EQ(o2_chart_row(0.9f, 10.0f, &r), "0.9,1.0,0.8,0.5");
}

TEST(StringTable, HeadersRowsAndRemoval) {
    StringTable t;
    t.setColumnHeaders(kPmsBoostHeaders);
    ASSERT_EQ(t.headers().size(), 5u);
    EXPECT_EQ(t.headers()[3], "ECU Timing");
    t.addRow("1.5,2,x");
    t.addRow("3.0");
    EXPECT_EQ(t.getRowCount(), 2);
    EXPECT_EQ(t.value(0, 0), 1.5);
    EXPECT_EQ(t.value(0, 1), 2.0);
    EXPECT_FALSE(t.value(0, 2).has_value());  // not a number
    EXPECT_FALSE(t.value(1, 1).has_value());  // missing
    EXPECT_FALSE(t.value(5, 0).has_value());
    t.removeRow(7);
    t.removeRow(0);
    EXPECT_EQ(t.getRowCount(), 1);
    EXPECT_EQ(t.value(0, 0), 3.0);
}
