#pragma once
// The tables of an interface settings frame (LOGOBDframe): its port and
// cable choices, its item boxes with the chart each one feeds, and the
// rules that decide which boxes a cable offers and what the item list
// holds. Plain C++ so the frame's decisions are tested without a window.
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "common/core/colour.h"
#include "logger/core/log_family.h"

namespace korv::logger {

// Port choice: port number = index - 1.
inline constexpr std::array<std::string_view, 7> kPortChoices = {"Choose port", "COM1",        "COM2",      "COM3",
                                                                 "COM4",        "Random Data", "Close Port"};
inline constexpr int kNoPort = -1;
// "Close Port": a command, never a port that is held.
inline constexpr int kClosePortCommand = 5;
// The highest port number a frame can hold; 4 is the demonstration port.
inline constexpr int kHighestPort = 4;

// Cable choice: cable number = index - 1.
inline constexpr std::array<std::string_view, 7> kCableChoices = {
    "Choose cable", "Not Used", "Mutiplexer Engineering", "PPT Racing OBD-II", "EaseSim", "1st Gen DSM", "Not Used"};
inline constexpr int kNoCable = -1;
// Cable numbers of the multiplexer box, of the first-generation DSM link
// and of the PMS preset.
inline constexpr int kMultiplexerCableNumber = 1;
inline constexpr int kDsmCableNumber = 4;
inline constexpr int kPmsCableNumber = 5;
// The highest cable number the OBD-II frame accepts.
inline constexpr int kHighestObdCable = 3;
// A preset cable choice from this index on is locked (DSM 5, PMS 6).
inline constexpr int kFirstLockedCableChoice = 5;

constexpr int number_of_choice(int index) { return index - 1; }

// The family whose stop flag ends a run of this cable: OBD-II for cable 3
// or less, DSM for 4, PMS for 5.
constexpr LogFamily family_of_cable(int cable) {
    return cable <= kHighestObdCable ? LogFamily::obd : cable == kDsmCableNumber ? LogFamily::dsm : LogFamily::pms;
}

// A family button's colour is its link state.
enum class LinkColour {
    none,        // never tested
    red,         // port refused, port error, probe failed, port closed
    light_grey,  // being tested, not enabled, or disabled by the user
    green,       // link operational
};
constexpr Colour rgb_of(LinkColour colour) {
    switch (colour) {
    case LinkColour::red: return {255, 0, 0};
    case LinkColour::light_grey: return {192, 192, 192};
    case LinkColour::green: return {0, 255, 0};
    case LinkColour::none: break;
    }
    return {204, 204, 204};
}

// The item the link probe puts in slot 0.
inline constexpr int kProbeItem = 49;

enum class ItemBox {
    rpm,
    timing,
    pw,
    water_temp,
    o2,
    air_temp,
    tps,
    air_flow,
    knock,
    st_trim,
    lt_trim,
    mph,
    high_trim,
    pressure,
};
inline constexpr int kItemBoxCount = 14;

struct ItemBoxInfo {
    ItemBox box;
    std::string_view name;  // the widget's name
    std::string_view text;
    std::string_view tool_tip;
    int code;  // -1: the box feeds nothing
    int slot;  // -1: the box feeds nothing
    std::string_view chart_title;
    std::string_view dsm_chart_title;  // with cable 4; empty: chart_title
    bool has_bounds;
    int low;
    int high;
};

// Indexed by ItemBox.
inline constexpr std::array<ItemBoxInfo, kItemBoxCount> kItemBoxes = {{
    {ItemBox::rpm, "log_rpm", "Rpm", "Log rpms", 9, 1, "RPMS", "", true, 0, 8000},
    {ItemBox::timing, "log_timing", "Timing", "Log timing", 0, 2, "Timing", "", true, -40, 40},
    {ItemBox::pw, "log_pw", "Pulse width", "Log injector pulsewidth", 10, 3, "Injector Pulse Width", "", false, 0, 0},
    {ItemBox::water_temp, "log_water_temp", "Coolant temp", "Log coolant temp", 1, 4, "Coolant Temperature", "", false,
     0, 0},
    {ItemBox::o2, "log_o2", "O2v", "Log o2 voltage", 3, 5, "O2 Voltage", "", true, 0, 2},
    {ItemBox::air_temp, "log_air_temp", "Air temp", "Log intake air temperature", 11, 6, "Intake Charge Temperature",
     "", false, 0, 0},
    {ItemBox::tps, "log_tps", "Tps", "Log TPS", 7, 7, "TPS", "", true, 0, 100},
    {ItemBox::air_flow, "log_air_flow", "Air flow", "Log air flow (lb. min)", 18, 8, "Air Flow", "", false, 0, 0},
    {ItemBox::knock, "log_knock", "Knock", "Log knock sum", 17, 9, "Knock Sum", "", false, 0, 0},
    {ItemBox::st_trim, "log_st_trim", "S/T trim", "Log short term fuel trim", 12, 10, "Short Term Fuel Trim",
     "Low Fuel Trim", true, -20, 20},
    {ItemBox::lt_trim, "log_lt_trim", "L/T trim", "Log long term fuel trim", 13, 11, "Long Term Fuel Trim",
     "Medium Fuel Trim", true, -20, 20},
    {ItemBox::mph, "log_mph", "MPH", "Log vehicle speed (mph)", 20, 12, "Speed (MPH)", "", false, 0, 0},
    {ItemBox::high_trim, "log_high_trim", "High trim", "Log long term fuel trim", 48, 14, "High Fuel Trim", "", false,
     0, 0},
    {ItemBox::pressure, "log_pressure", "Pressure", "Log manifold pressure", -1, -1, "", "", false, 0, 0},
}};

constexpr const ItemBoxInfo& info_of(ItemBox box) { return kItemBoxes[static_cast<std::size_t>(box)]; }

// The order in which the item list is rebuilt.
inline constexpr std::array<ItemBox, 13> kLogItemsOrder = {
    ItemBox::rpm,        ItemBox::timing,   ItemBox::tps,      ItemBox::o2,    ItemBox::st_trim,
    ItemBox::lt_trim,    ItemBox::air_flow, ItemBox::mph,      ItemBox::knock, ItemBox::pw,
    ItemBox::water_temp, ItemBox::air_temp, ItemBox::high_trim};

// What set_controls does to the boxes for a cable; boxes not listed keep
// their state.
struct ControlPlan {
    std::vector<ItemBox> show;
    std::vector<ItemBox> hide;
    // The DSM set: the trim boxes read "Low trim" and "Med trim", and the
    // trouble-code controls and "Actuators" go.
    bool dsm_labels = false;
    bool hide_trouble_code_controls = false;
};
inline constexpr std::string_view kLowTrimText = "Low trim";
inline constexpr std::string_view kMedTrimText = "Med trim";

// None: change nothing (cable 0, cable 5, or cable 4 on the OBD-II frame).
std::optional<ControlPlan> plan_controls(bool obd_link, int cable);

// One chosen item's chart settings.
struct ChartSetting {
    int slot;
    int code;
    std::string_view title;
    bool has_bounds;
    int low;
    int high;
};

struct LogItemsPlan {
    ItemList items{};
    std::vector<ChartSetting> charts;
    // Some slot 1-14 holds a code: Start may be offered.
    bool any_item = false;
};

// ticked_and_shown(box) tells whether a box counts; cable is the chosen
// cable number (4 gives the DSM trim titles).
template <class Counts>
LogItemsPlan plan_log_items(Counts&& ticked_and_shown, int cable) {
    LogItemsPlan plan;
    plan.items.fill(-1);
    for (ItemBox box : kLogItemsOrder) {
        const ItemBoxInfo& info = info_of(box);
        if (info.slot < 0 || !ticked_and_shown(box)) continue;
        plan.items[static_cast<std::size_t>(info.slot)] = info.code;
        const std::string_view title =
            cable == kDsmCableNumber && !info.dsm_chart_title.empty() ? info.dsm_chart_title : info.chart_title;
        plan.charts.push_back({info.slot, info.code, title, info.has_bounds, info.low, info.high});
    }
    for (int slot = 1; slot <= 14; ++slot) {
        if (plan.items[static_cast<std::size_t>(slot)] >= 0) plan.any_item = true;
    }
    return plan;
}

}  // namespace korv::logger
