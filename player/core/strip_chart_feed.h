#pragma once

#include <array>
#include <cstdint>

#include "common/core/vxm_player_model.h"
#include "player/core/log_kind.h"
#include "player/core/pms_record.h"

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
void pms_chart_points(const PmsRecord& record, ChartPoints& out);

// The slots each record of a log of this type sends a point to, a bit per slot.
std::uint32_t chart_slots_fed(LogFileType type);

// The manager buttons a log offers, a bit per slot: by type, and for a VXM
// log by the channels the file holds.
std::uint32_t enabled_chart_buttons(LogFileType type, const VxmPlayerModel& channels);

}  // namespace korv::player
