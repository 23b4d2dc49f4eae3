#pragma once
// The logger charts' own tables: each chart slot's preset title, item code
// and range, and the chart control's toggle buttons.
#include <array>
#include <string_view>

namespace korv::logger {

struct ChartPreset {
    int slot;
    int code;  // the chart's item code
    std::string_view title;
    int low;
    int high;
};

// Slots 1-12 and 14; nothing for any other slot.
const ChartPreset* chart_preset(int slot);

struct ChartButton {
    int slot;
    std::string_view text;
    std::string_view tool_tip;  // empty: none
};

// Slots 1-12, 14 and 15; slots 0, 13 and 16-19 have no button.
inline constexpr std::array<ChartButton, 14> kChartButtons = {{
    {1, "RPM", ""},
    {2, "Timing", ""},
    {3, "P/W", ""},
    {4, "Coolant", ""},
    {5, "O2v", ""},
    {6, "Air Temp", ""},
    {7, "TPS", ""},
    {8, "Air Flow", ""},
    {9, "Knock", ""},
    {10, "S/L Trim", "Chart Short/Low Fuel Trim"},
    {11, "L/M Trim", "Long/Medium Fuel Trim"},
    {12, "MPH", "Vehicle Speed"},
    {14, "H Trim", "High Fuel Trim"},
    {15, "O2 Trim", "O2 Fuel Trim"},
}};

// The "Range" box resets the scale of these slots.
inline constexpr int kRangeFirstSlot = 1;
inline constexpr int kRangeLastSlot = 10;

}  // namespace korv::logger
