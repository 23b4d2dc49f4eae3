#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "common/core/java_numbers.h"

#include "common/core/vxm_player_model.h"
#include "player/core/log_kind.h"
#include "player/core/pms_record.h"
#include "player/core/record_text.h"

// The player's 22 strip charts: their titles, scales and manager buttons,
// and the point each record sends them (the quantity times 100).
namespace korv::player {

inline constexpr int kMaxCharts = 22;   // slots 1..22
inline constexpr int kChartSlots = 30;  // slot 0 and 23..29 stay empty

struct StripChartSpec {
    const char* title;
    int low;
    int high;
    const char* button;
};

// Slot 1..22.
const StripChartSpec& strip_chart_spec(int slot);

// One record's points, by slot; a slot whose bit is clear gets none.
struct ChartPoints {
    std::array<std::int32_t, kMaxCharts + 1> value{};
    std::uint32_t present = 0;

    bool has(int slot) const { return (present >> slot) & 1u; }
    void set(int slot, std::int32_t v) {
        value[slot] = v;
        present |= 1u << slot;
    }
};

void vxm_chart_points(const VxmPlayerModel& record, ChartPoints& out);

// The same points taken from a VXM record's values by slot (before they
// become its named fields), for a pass over many records at once: every
// chart but the injector duty cycle follows one value.
enum class VxmPointKind { whole, byte, hundredfold, ten_thousandfold };
struct VxmChartChannel {
    int chart;
    int file_slot;
    VxmPointKind kind;
};
inline constexpr int kVxmDutyCycleChart = 22;  // from the pulse width and the rpm
extern const std::array<VxmChartChannel, 19> kVxmChartChannels;

namespace chart_points_detail {
// A whole quantity in hundredths; junk in a log saturates instead of wrapping.
inline std::int32_t hundredths(std::int64_t v) {
    constexpr std::int64_t lo = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t hi = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v * 100, lo, hi));
}
inline std::int32_t scaled(float v, float factor) { return saturating_float_to_int32(v * factor); }
inline std::int32_t duty_cycle_point(float pulse_width, std::int32_t rpm) {
    return hundredths(saturating_float_to_int32(duty_cycle(pulse_width, rpm)));
}
}  // namespace chart_points_detail

// Inline: a pass converts millions of values.
template <VxmPointKind kind>
std::int32_t vxm_point(float value) {
    using namespace chart_points_detail;
    if constexpr (kind == VxmPointKind::whole) return hundredths(saturating_float_to_int32(value));
    if constexpr (kind == VxmPointKind::byte) return hundredths(saturating_float_to_int8(value));
    if constexpr (kind == VxmPointKind::hundredfold) return scaled(value, 100.0f);
    if constexpr (kind == VxmPointKind::ten_thousandfold) return scaled(value, 10000.0f);
}
inline std::int32_t vxm_duty_cycle_point(float pulse_width, float rpms) {
    return chart_points_detail::duty_cycle_point(pulse_width, saturating_float_to_int32(rpms));
}
void pms_chart_points(const PmsRecord& record, ChartPoints& out);

// The slots each record of a log of this type sends a point to, a bit per slot.
std::uint32_t chart_slots_fed(LogFileType type);

// The manager buttons a log offers, a bit per slot: by type, and for a VXM
// log by the channels the file holds.
std::uint32_t enabled_chart_buttons(LogFileType type, const VxmPlayerModel& channels);

}  // namespace korv::player
