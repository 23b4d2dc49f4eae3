#include "logger/core/chart_presets.h"

namespace korv::logger {

namespace {

constexpr std::array<ChartPreset, 13> kPresets = {{
    {1, 9, "RPMS", 0, 8000},
    {2, 0, "Timing", -40, 40},
    {3, 10, "Injector Pulse Width", 0, 50},
    {4, 1, "Coolant Temperature", 0, 255},
    {5, 3, "O2 Voltage", 0, 200},
    {6, 11, "Intake Charge Temperature", 0, 255},
    {7, 7, "TPS", 0, 10000},
    {8, 18, "Air Flow", 0, 255},
    {9, 17, "Knock Sum", 0, 100},
    {10, 12, "Low/Short Fuel Trim", -20, 20},
    {11, 13, "Medium Fuel Trim", -20, 20},
    {12, 20, "Speed (MPH)", 0, 200},
    {14, 48, "Long/High Fuel Trim", -20, 20},
}};

}  // namespace

const ChartPreset* chart_preset(int slot) {
    for (const ChartPreset& preset : kPresets) {
        if (preset.slot == slot) return &preset;
    }
    return nullptr;
}

}  // namespace korv::logger
