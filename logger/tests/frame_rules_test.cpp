// The settings frame's decisions without a window: which boxes a cable
// offers, what the item list and the charts get, the link test's calls and
// the trouble-code report.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "logger/core/dtc_report.h"
#include "logger/core/interface_settings.h"
#include "logger/core/link_test.h"
#include "logger/core/port_use.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

namespace korv::logger {
namespace {

using testsupport::TempFolder;
using testsupport::write_bytes;

std::set<ItemBox> as_set(const std::vector<ItemBox>& boxes) { return {boxes.begin(), boxes.end()}; }

TEST(FrameControlPlan, CablesThatChangeNothing) {
    EXPECT_FALSE(plan_controls(true, 0));
    EXPECT_FALSE(plan_controls(false, 0));
    EXPECT_FALSE(plan_controls(true, 5));
    EXPECT_FALSE(plan_controls(false, 5));
    // The OBD-II frame leaves its boxes alone for the DSM cable.
    EXPECT_FALSE(plan_controls(true, 4));
}

TEST(FrameControlPlan, ObdCablesOfferNineItemsAndNeverPressureOrMph) {
    for (int cable : {-1, 1, 2, 3}) {
        const auto plan = plan_controls(true, cable);
        ASSERT_TRUE(plan) << cable;
        EXPECT_EQ(as_set(plan->show),
                  (std::set<ItemBox>{ItemBox::rpm, ItemBox::timing, ItemBox::tps, ItemBox::o2, ItemBox::st_trim,
                                     ItemBox::lt_trim, ItemBox::air_flow, ItemBox::water_temp, ItemBox::air_temp}));
        EXPECT_EQ(as_set(plan->hide),
                  (std::set<ItemBox>{ItemBox::pressure, ItemBox::mph, ItemBox::knock, ItemBox::pw}));
        EXPECT_FALSE(plan->dsm_labels);
        EXPECT_FALSE(plan->hide_trouble_code_controls);
    }
}

TEST(FrameControlPlan, DsmCableOffersTenItemsAndHidesTheTroubleCodeControls) {
    const auto plan = plan_controls(false, 4);
    ASSERT_TRUE(plan);
    EXPECT_EQ(as_set(plan->show), (std::set<ItemBox>{ItemBox::rpm, ItemBox::timing, ItemBox::tps, ItemBox::o2,
                                                     ItemBox::st_trim, ItemBox::lt_trim, ItemBox::air_flow,
                                                     ItemBox::knock, ItemBox::pw, ItemBox::high_trim}));
    EXPECT_EQ(as_set(plan->hide),
              (std::set<ItemBox>{ItemBox::pressure, ItemBox::mph, ItemBox::water_temp, ItemBox::air_temp}));
    EXPECT_TRUE(plan->dsm_labels);
    EXPECT_TRUE(plan->hide_trouble_code_controls);
}

TEST(FrameLogItems, EveryBoxFillsItsSlotWithItsCodeAndChart) {
    const LogItemsPlan plan = plan_log_items([](ItemBox) { return true; }, 1);
    const ItemList expected = {-1, 9, 0, 10, 1, 3, 11, 7, 18, 17, 12, 13, 20, -1, 48, -1, -1, -1, -1, -1};
    EXPECT_EQ(plan.items, expected);
    EXPECT_TRUE(plan.any_item);
    // One chart per item, in the rebuild order; Pressure feeds nothing.
    std::vector<int> slots;
    for (const ChartSetting& chart : plan.charts) slots.push_back(chart.slot);
    EXPECT_EQ(slots, (std::vector<int>{1, 2, 7, 5, 10, 11, 8, 12, 9, 3, 4, 6, 14}));
    const ChartSetting& rpm = plan.charts[0];
    EXPECT_EQ(rpm.title, "RPMS");
    EXPECT_TRUE(rpm.has_bounds);
    EXPECT_EQ(rpm.low, 0);
    EXPECT_EQ(rpm.high, 8000);
    const ChartSetting& timing = plan.charts[1];
    EXPECT_EQ(timing.low, -40);
    EXPECT_EQ(timing.high, 40);
    const ChartSetting& pw = plan.charts[9];
    EXPECT_EQ(pw.title, "Injector Pulse Width");
    EXPECT_FALSE(pw.has_bounds);
    EXPECT_EQ(plan.charts[4].title, "Short Term Fuel Trim");
    EXPECT_EQ(plan.charts[5].title, "Long Term Fuel Trim");
}

TEST(FrameLogItems, DsmCableRetitlesTheTrimCharts) {
    const LogItemsPlan plan =
        plan_log_items([](ItemBox box) { return box == ItemBox::st_trim || box == ItemBox::lt_trim; }, kDsmCableNumber);
    ASSERT_EQ(plan.charts.size(), 2u);
    EXPECT_EQ(plan.charts[0].title, "Low Fuel Trim");
    EXPECT_EQ(plan.charts[1].title, "Medium Fuel Trim");
    EXPECT_EQ(plan.charts[0].low, -20);
    EXPECT_EQ(plan.charts[1].high, 20);
}

TEST(FrameLogItems, OnlyHighTrimStillOffersStartAndNothingOffersNone) {
    const LogItemsPlan high = plan_log_items([](ItemBox box) { return box == ItemBox::high_trim; }, 4);
    EXPECT_TRUE(high.any_item);
    EXPECT_EQ(high.items[14], 48);
    const LogItemsPlan pressure = plan_log_items([](ItemBox box) { return box == ItemBox::pressure; }, 1);
    EXPECT_FALSE(pressure.any_item);
    EXPECT_TRUE(std::all_of(pressure.items.begin(), pressure.items.end(), [](int code) { return code == -1; }));
}

TEST(FrameChoices, NumbersAndFamilies) {
    EXPECT_EQ(kPortChoices[5], "Random Data");
    EXPECT_EQ(number_of_choice(5), 4);
    EXPECT_EQ(number_of_choice(6), kClosePortCommand);
    EXPECT_EQ(kCableChoices[2], "Mutiplexer Engineering");
    EXPECT_EQ(family_of_cable(-1), LogFamily::obd);
    EXPECT_EQ(family_of_cable(3), LogFamily::obd);
    EXPECT_EQ(family_of_cable(4), LogFamily::dsm);
    EXPECT_EQ(family_of_cable(5), LogFamily::pms);
}

TEST(FramePortUse, OutOfTableIsNeverUsedNorMarked) {
    PortUsed table{};
    mark_port(table, -1, true);
    mark_port(table, 10, true);
    EXPECT_EQ(table, PortUsed{});
    EXPECT_FALSE(port_in_use(table, -1));
    mark_port(table, 4, true);
    EXPECT_TRUE(port_in_use(table, 4));
    mark_port(table, 4, false);
    EXPECT_FALSE(port_in_use(table, 4));
}

struct ScriptedLink final : LinkCalls {
    int SioReset(int cable, int port) override {
        calls.push_back("reset " + std::to_string(cable) + " " + std::to_string(port));
        return reset_result;
    }
    int SioDone(int port) override {
        calls.push_back("done " + std::to_string(port));
        return 1;
    }
    int probe(int port, int cable, const ItemList& items) override {
        calls.push_back("probe " + std::to_string(port) + " " + std::to_string(cable) + " " + std::to_string(items[0]));
        return probe_result;
    }
    int reset_result = 0;
    int probe_result = 0;
    std::vector<std::string> calls;
};

ItemList probe_items() {
    ItemList items;
    items.fill(-1);
    items[0] = kProbeItem;
    return items;
}

TEST(FrameLinkProbe, OperationalLinkKeepsItsPort) {
    ScriptedLink link;
    std::vector<int> opened;
    const LinkResult result = run_link_probe(link, 2, 1, probe_items(), [&](int r) { opened.push_back(r); });
    EXPECT_EQ(result.outcome, LinkOutcome::operational);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"reset 1 2", "probe 2 1 49"}));
    EXPECT_EQ(opened, std::vector<int>{0});
}

TEST(FrameLinkProbe, AnyNonZeroBringUpResultIsAFailureAndNothingIsProbed) {
    for (int code : {-1, 5997, 397}) {
        ScriptedLink link;
        link.reset_result = code;
        bool opened = false;
        const LinkResult result = run_link_probe(link, 0, 4, probe_items(), [&](int) { opened = true; });
        EXPECT_EQ(result.outcome, LinkOutcome::open_failed) << code;
        EXPECT_EQ(result.code, code);
        EXPECT_FALSE(opened);
        EXPECT_EQ(link.calls, std::vector<std::string>{"reset 4 0"});
    }
}

TEST(FrameLinkProbe, SilentInterfaceGivesItsPortBack) {
    ScriptedLink link;
    link.probe_result = -1;
    const LinkResult result = run_link_probe(link, 3, 0, probe_items(), nullptr);
    EXPECT_EQ(result.outcome, LinkOutcome::probe_failed);
    EXPECT_EQ(result.code, -1);
    EXPECT_EQ(link.calls, (std::vector<std::string>{"reset 0 3", "probe 3 0 49", "done 3"}));
}

std::vector<std::uint8_t> bytes_of(std::uint8_t first, const std::string& text) {
    std::vector<std::uint8_t> out(text.size() + 1, first);
    std::copy(text.begin(), text.end(), out.begin() + 1);
    return out;
}

TEST(FrameDtcReport, ReadsTheCountAndEveryLine) {
    TempFolder folder;
    const std::string path = folder.file("dtc.tmp");
    write_bytes(path, bytes_of(2, "2 error codes found, C/E light is on\nP0143 O2 sensor\r\nP0301 \xB0 misfire"));
    const DtcReport report = read_dtc_report(path);
    EXPECT_EQ(report.status, DtcReport::Status::ok);
    EXPECT_EQ(report.count, 2);
    EXPECT_EQ(report.lines, (std::vector<std::string>{"2 error codes found, C/E light is on", "P0143 O2 sensor",
                                                      "P0301 \xB0 misfire"}));
    EXPECT_EQ(dtc_list_text(report.lines),
              "2 error codes found, C/E light is on\nP0143 O2 sensor\nP0301 \xB0 misfire\n");
}

TEST(FrameDtcReport, CountByteIsSigned) {
    TempFolder folder;
    write_bytes(folder.file("dtc.tmp"), bytes_of(0xFF, "odd\n"));
    EXPECT_EQ(read_dtc_report(folder.file("dtc.tmp")).count, -1);
}

TEST(FrameDtcReport, MissingEmptyAndHeaderlessReports) {
    TempFolder folder;
    EXPECT_EQ(read_dtc_report(folder.file("dtc.tmp")).status, DtcReport::Status::no_file);
    std::filesystem::create_directory(folder.file("dir.tmp"));
    EXPECT_EQ(read_dtc_report(folder.file("dir.tmp")).status, DtcReport::Status::no_file);

    write_bytes(folder.file("dtc.tmp"), {});
    EXPECT_EQ(read_dtc_report(folder.file("dtc.tmp")).status, DtcReport::Status::no_data);
    write_bytes(folder.file("dtc.tmp"), {3});
    EXPECT_EQ(read_dtc_report(folder.file("dtc.tmp")).status, DtcReport::Status::no_data);
    write_bytes(folder.file("dtc.tmp"), bytes_of(0, "\n\n"));
    EXPECT_EQ(read_dtc_report(folder.file("dtc.tmp")).status, DtcReport::Status::no_data);
}

}  // namespace
}  // namespace korv::logger
