#include "player/core/strip_chart_feed.h"

#include <algorithm>
#include <limits>

#include "common/core/java_numbers.h"
#include "player/core/record_text.h"

namespace korv::player {
namespace {

constexpr std::array<StripChartSpec, kMaxCharts + 1> kCharts = {{
    {"", 0, 0, ""},
    {"RPM", 0, 8000, "RPM"},
    {"Timing", 0, 64, "Timing"},
    {"Pulse Width", 0, 100, "P/W"},
    {"Coolant", 0, 300, "Water"},
    {"O2v", 0, 150, "O2v"},
    {"Intake Temp", 0, 250, "Air"},
    {"TPS", 0, 100, "TPS"},
    {"Boost", 0, 30, "Boost"},
    {"Knock", 0, 75, "Knock"},
    {"Air Flow (hz)", 0, 3000, "A/F Hz"},
    {"O2v 2", 0, 150, "O2v 2"},
    {"High Trim", 128, 128, "L Trim 1"},
    {"Low Trim", 128, 128, "S Trim 1"},
    {"Long Trim 2", 128, 128, "L Trim 2"},
    {"Short Trim 2", 128, 128, "S Trim 2"},
    {"MPH", 0, 255, "MPH"},
    {"Medium Trim", 0, 255, "M Trim"},
    {"Load", 0, 255, "Load"},
    {"O2v Trim", 0, 255, "O2 Trim"},
    {"ECU P/W", 0, 100, "ECU P/W"},
    {"ECU Timing", 0, 64, "ECU Tim"},
    {"Inj D/C", 0, 100, "Inj D/C"},
}};

using chart_points_detail::duty_cycle_point;
using chart_points_detail::hundredths;
using chart_points_detail::scaled;

// VXM file slots (channel id + 1) and the chart each one offers.
struct SlotButton {
    int file_slot;
    int chart;
};
constexpr SlotButton kVxmButtons[] = {
    {player_slot::kTiming, 2},     {player_slot::kO2Voltage, 5}, {player_slot::kTps, 7},     {player_slot::kRpms, 1},
    {player_slot::kPulseWidth, 3}, {player_slot::kKnock, 9},     {player_slot::kMph, 16},    {player_slot::kMap, 8},
    {player_slot::kS1, 13},        {player_slot::kS2, 15},       {player_slot::kL1, 12},     {player_slot::kL2, 14},
    {player_slot::kLoad, 18},      {player_slot::kO2, 11},       {player_slot::kO2Trim, 19}, {player_slot::kMTrim, 17},
    {player_slot::kAfHz, 10},      {player_slot::kWaterTemp, 4}, {player_slot::kAirTemp, 6},
};

constexpr int kPmsCharts[] = {1, 2, 3, 4, 5, 6, 7, 8, 10, 20, 21, 22};

// The slots each kind of record feeds, as a mask.
template <std::size_t N>
constexpr std::uint32_t slot_mask(const int (&slots)[N]) {
    std::uint32_t mask = 0;
    for (int slot : slots) mask |= 1u << slot;
    return mask;
}
constexpr int kVxmCharts[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 22};
constexpr std::uint32_t kVxmChartSlots = slot_mask(kVxmCharts);
constexpr std::uint32_t kPmsChartSlots = slot_mask(kPmsCharts);

}  // namespace

const StripChartSpec& strip_chart_spec(int slot) { return kCharts.at(static_cast<std::size_t>(slot)); }

// Each chart's value and the named field it passes through: a whole number
// or a byte (saturated to 32 bits, then wrapped to 8) in hundredths, or a
// float scaled.
const std::array<VxmChartChannel, 19> kVxmChartChannels = {{
    {1, player_slot::kRpms, VxmPointKind::whole},
    {2, player_slot::kTiming, VxmPointKind::byte},
    {3, player_slot::kPulseWidth, VxmPointKind::hundredfold},
    {4, player_slot::kWaterTemp, VxmPointKind::whole},
    {5, player_slot::kO2Voltage, VxmPointKind::ten_thousandfold},
    {6, player_slot::kAirTemp, VxmPointKind::whole},
    {7, player_slot::kTps, VxmPointKind::byte},
    {8, player_slot::kMap, VxmPointKind::whole},
    {9, player_slot::kKnock, VxmPointKind::byte},
    {10, player_slot::kAfHz, VxmPointKind::ten_thousandfold},
    {11, player_slot::kO2, VxmPointKind::ten_thousandfold},
    {12, player_slot::kL1, VxmPointKind::whole},
    {13, player_slot::kS1, VxmPointKind::whole},
    {14, player_slot::kL2, VxmPointKind::whole},
    {15, player_slot::kS2, VxmPointKind::whole},
    {16, player_slot::kMph, VxmPointKind::whole},
    {17, player_slot::kMTrim, VxmPointKind::whole},
    {18, player_slot::kLoad, VxmPointKind::whole},
    {19, player_slot::kO2Trim, VxmPointKind::whole},
}};

// The values are written first and the mask once at the end: setting the
// mask beside each value would make the compiler store it twenty times, as
// a value's store might change it.
void vxm_chart_points(const VxmPlayerModel& r, ChartPoints& out) {
    auto& v = out.value;
    v[1] = hundredths(r.vxm_rpms);
    v[2] = hundredths(r.vxm_timing);
    v[3] = scaled(r.vxm_pulsewidth, 100.0f);
    v[4] = hundredths(r.vxm_watertemp);
    v[5] = scaled(r.vxm_o2voltage, 10000.0f);
    v[6] = hundredths(r.vxm_airtemp);
    v[7] = hundredths(r.vxm_tps);
    v[8] = hundredths(r.vxm_map);
    v[9] = hundredths(r.vxm_knock);
    v[10] = scaled(r.vxm_afhz, 10000.0f);
    v[11] = scaled(r.vxm_o2, 10000.0f);
    v[12] = hundredths(r.vxm_l1);
    v[13] = hundredths(r.vxm_s1);
    v[14] = hundredths(r.vxm_l2);
    v[15] = hundredths(r.vxm_s2);
    v[16] = hundredths(r.vxm_mph);
    v[17] = hundredths(r.vxm_mtrim);
    v[18] = hundredths(r.vxm_load);
    v[19] = hundredths(r.vxm_o2trim);
    v[22] = duty_cycle_point(r.vxm_pulsewidth, r.vxm_rpms);
    out.present = kVxmChartSlots;
}

void pms_chart_points(const PmsRecord& r, ChartPoints& out) {
    auto& v = out.value;
    v[1] = hundredths(r.pms_ecu_rpms);
    v[2] = hundredths(r.pms_timing);
    v[3] = scaled(r.pms_pulsewidth, 100.0f);
    v[4] = hundredths(r.pms_watertemp);
    v[5] = scaled(r.pms_o2voltage, 10000.0f);
    v[6] = hundredths(r.pms_airtemp);
    v[7] = hundredths(r.pms_tps);
    v[8] = r.pms_pressure < 1.0f ? 0 : scaled(r.pms_pressure, 100.0f);
    v[10] = hundredths(r.pms_hz);
    v[20] = scaled(r.pms_ecu_pulsewidth, 100.0f);
    v[21] = hundredths(r.pms_ecu_timing);
    v[22] = duty_cycle_point(r.pms_pulsewidth, r.pms_ecu_rpms);
    out.present = kPmsChartSlots;
}

std::uint32_t chart_slots_fed(LogFileType type) {
    switch (type) {
    case LogFileType::vxm: return kVxmChartSlots;
    case LogFileType::pms: return kPmsChartSlots;
    default: return 0;
    }
}

std::uint32_t enabled_chart_buttons(LogFileType type, const VxmPlayerModel& channels) {
    std::uint32_t on = 0;
    if (type == LogFileType::pms) {
        for (int chart : kPmsCharts) on |= 1u << chart;
    } else if (type == LogFileType::vxm) {
        const int n = std::clamp(channels.vxm_parm_count, 0, kPlayerSlots - 1);
        for (int i = 1; i <= n; ++i) {
            for (const SlotButton& b : kVxmButtons) {
                if (channels.vxm_type[static_cast<std::size_t>(i)] == b.file_slot) on |= 1u << b.chart;
            }
        }
    }
    return on;
}

}  // namespace korv::player
