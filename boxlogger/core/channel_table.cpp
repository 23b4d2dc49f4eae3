#include "boxlogger/core/channel_table.h"

#include <array>
#include <vector>

namespace korv::boxlogger {
namespace {

ChannelRow row(std::int32_t id, const char* label, std::int32_t kind, float min, float max, const char* units,
               std::int32_t precision, std::uint32_t colour) {
    ChannelRow r;
    r.id = id;
    r.label = label;
    r.kind = kind;
    r.min = min;
    r.max = max;
    if (units != nullptr) r.units = units;
    r.precision = precision;
    r.colour = colour;
    return r;
}

const std::vector<ChannelRow>& built_in() {
    static const std::vector<ChannelRow> rows = [] {
        const char* deg = kDegreeSign;
        return std::vector<ChannelRow>{
            row(0, "Timing Advance", kKindValue, 0, 50, deg, 0, 0x00FF00),
            row(1, "Coolant Temperature", kKindValue, 100, 300, deg, 0, 0x800000),
            row(2, "EGR Temperature", kKindValue, 100, 400, deg, 0, 0x800080),
            row(3, "Oxygen Sensor", kKindValue, 0, 1, "V", 2, 0xFF0000),
            row(4, "Battery", kKindValue, 8, 16, "V", 1, 0xFFFFFF),
            row(5, "Barometer", kKindValue, 0.7f, 1.1f, "bar", 2, 0x808000),
            row(6, "ISC Steps", kKindValue, 0, 130, nullptr, 0, 0x008000),
            row(7, "Throttle Position", kKindValue, 0, 100, "%", 0, 0xFFFF00),
            row(8, "Air Flow Hz", kKindValue, 0, 1600, "Hz", 0, 0x800000),
            row(9, "Engine Speed", kKindValue, 0, 8000, "RPM", 0, 0x0000FF),
            row(10, "Injector Pulse Width", kKindValue, 0, 25, "ms", -1, 0xFF00FF),
            row(11, "Air Temperature", kKindValue, 0, 200, deg, 0, 0x00FFFF),
            row(12, "Fuel Trim Low", kKindValue, 60, 140, "%", 0, 0x000080),
            row(13, "Fuel Trim Middle", kKindValue, 60, 140, "%", 0, 0x008000),
            row(14, "Fuel Trim High", kKindValue, 60, 140, "%", 0, 0x800000),
            row(15, "Oxy Feedback Trim", kKindValue, 60, 140, "%", 0, 0x008080),
            row(16, "Accel Enrichment", kKindValue, 0, 100, "%", 0, 0x000080),
            row(17, "Knock Sum", kKindValue, 0, 43, nullptr, 0, 0x008000),
            row(18, "Air Volume", kKindValue, 0, 255, nullptr, 0, 0xFFFFFF),
            row(25, "VXM Engine Speed", kKindValue, 0, 10000, "RPM", 0, 0x0000FF),
            row(26, "Idle Fuel Gain", kKindValue, 25, 200, "%", 0, 0x000000),
            row(27, "Low RPM Fuel Gain", kKindValue, 25, 200, "%", 0, 0x000000),
            row(28, "4k WOT Fuel Gain", kKindValue, 25, 200, "%", 0, 0x000000),
            row(29, "6k WOT Fuel Gain", kKindValue, 25, 200, "%", 0, 0x000000),
            row(30, "8k WOT Fuel Gain", kKindValue, 25, 200, "%", 0, 0x000000),
            row(31, "WOT Timing Offset", kKindValue, -10, 30, deg, 0, 0x000000),
            row(32, "1.5k Timing Offset", kKindValue, -10, 30, deg, 0, 0x000000),
            row(33, "2.5k Timing Offset", kKindValue, -10, 30, deg, 0, 0x000000),
            row(34, "Overall Airflow Scale", kKindValue, 25, 200, "%", 0, 0x000000),
            row(35, "Overall Inj Scale", kKindValue, 25, 200, "%", 0, 0x000000),
            row(36, "Inj Deadtime Scale", kKindValue, 25, 200, "%", 0, 0x000000),
            row(19, "A/C Switch", kKindSwitch, 0, 1, nullptr, 0, 0x800000),
            row(20, "Power Steering Switch", kKindSwitch, 0, 1, nullptr, 0, 0x008000),
            row(21, "Idle Switch", kKindSwitch, 0, 1, nullptr, 0, 0xFF00FF),
            row(22, "Park/Neutral", kKindSwitch, 0, 1, nullptr, 0, 0x00FF00),
            row(23, "TDC Sensor", kKindTdcSensor, 0, 1, nullptr, 0, 0x800080),
            row(24, "A/C Clutch Relay", kKindSwitch, 0, 1, nullptr, 0, 0xFF0000),
            row(49, "Module ID", kKindModuleId, 0, 255, nullptr, 0, 0x000000),
            row(50, "ECU ID", kKindEcuId, 0, 255, nullptr, 0, 0x000000),
            row(52, "Software Version", kKindSoftwareVersion, 0, 255, nullptr, 0, 0x000000),
            row(51, "Fault Codes", kKindFaultCodes, 0, 65535, nullptr, 0, 0x0000FF),
            row(53, "Trigger 1", kKindTrigger, 0, 1, nullptr, 0, 0x0000FF),
            row(54, "Trigger 2", kKindTrigger, 0, 1, nullptr, 1, 0x00FF00),
            row(55, "Trigger 3", kKindTrigger, 0, 1, nullptr, 2, 0xFF0000),
            row(56, "Trigger 4", kKindTrigger, 0, 1, nullptr, 3, 0x00FFFF),
            row(57, "Trigger 5", kKindTrigger, 0, 1, nullptr, 4, 0xFFFF00),
            row(58, "Trigger 6", kKindTrigger, 0, 1, nullptr, 5, 0xFF00FF),
        };
    }();
    return rows;
}

// The current table; nullopt while freed. It starts as the built-in rows.
std::optional<std::vector<ChannelRow>>& current() {
    static std::optional<std::vector<ChannelRow>> table{built_in()};
    return table;
}

char ascii_lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool equal_ignoring_case(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i])) return false;
    }
    return true;
}

constexpr std::array<ChannelGroup, 7> kGroups{{
    {"Fuel", 1},
    {"Air", 2},
    {"Spark", 4},
    {"Idle", 8},
    {"Misc", 16},
    {"VXM", 32},
    {"Trigger", 64},
}};

constexpr std::array<ChannelGroupEntry, 32> kGroupTable{{
    {0, 4},  {1, 13},  {2, 16},  {3, 9},   {4, 16},  {5, 2},   {6, 10},  {7, 19},  {8, 2},   {9, 15},  {10, 1},
    {11, 2}, {12, 9},  {13, 1},  {14, 1},  {15, 9},  {16, 1},  {17, 4},  {18, 2},  {19, 24}, {20, 24}, {21, 8},
    {22, 8}, {23, 16}, {24, 16}, {25, 32}, {53, 64}, {54, 64}, {55, 64}, {56, 64}, {57, 64}, {58, 64},
}};

}  // namespace

std::span<const ChannelRow> BuiltInChannelRows() { return built_in(); }

void ResetChannelTable() { current() = built_in(); }

void FreeChannelTable() { current().reset(); }

std::span<ChannelRow> ChannelRows() {
    auto& table = current();
    if (!table) return {};
    return *table;
}

ChannelRow* FindChannelById(int id) {
    for (ChannelRow& r : ChannelRows()) {
        if (r.id == id) return &r;
    }
    return nullptr;
}

ChannelRow* FindChannelByLabel(std::string_view label) {
    for (ChannelRow& r : ChannelRows()) {
        if (equal_ignoring_case(r.label, label)) return &r;
    }
    return nullptr;
}

std::optional<std::string> GetChannelLabel(int id) {
    const ChannelRow* r = FindChannelById(id);
    if (r == nullptr) return std::nullopt;
    return r->label;
}

int GetChannelIdByLabel(std::string_view label) {
    const ChannelRow* r = FindChannelByLabel(label);
    return r == nullptr ? -1 : r->id;
}

std::int64_t GetChannelAttribute(int id) {
    const ChannelRow* r = FindChannelById(id);
    return r == nullptr ? -1 : static_cast<std::int64_t>(r->colour);
}

void SetChannelAttribute(int id, std::uint32_t colour) {
    if (ChannelRow* r = FindChannelById(id)) r->colour = colour;
}

int ResolveChannelLabel(std::string_view label) {
    if (const ChannelRow* r = FindChannelByLabel(label)) return r->id;
    // Names older versions stored in quick selects and triggers.
    static constexpr std::array<std::array<std::string_view, 2>, 3> kAliases{{
        {"RPM", "Engine Speed"},
        {"Oxy Trim", "Oxy Feedback Trim"},
        {"Acceleration Enrichment", "Accel Enrichment"},
    }};
    for (const auto& [old_name, name] : kAliases) {
        if (equal_ignoring_case(label, old_name)) return GetChannelIdByLabel(name);
    }
    return -1;
}

std::span<const ChannelGroup> ChannelGroups() { return kGroups; }

std::span<const ChannelGroupEntry> ChannelGroupTable() { return kGroupTable; }

std::uint32_t ChannelGroupMask(int id) {
    for (const ChannelGroupEntry& e : kGroupTable) {
        if (e.id == id) return e.mask;
    }
    return 0;
}

}  // namespace korv::boxlogger
