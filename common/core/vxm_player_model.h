#pragma once

#include <array>
#include <cstdint>

#include "common/core/channel_ids.h"
#include "common/core/java_numbers.h"

// What the player knows of the open VXM log and of its current record.
namespace korv {

struct VxmPlayerModel {
    std::int32_t vxm_parm_count = 0;                    // N, channels per record
    std::array<std::int32_t, kPlayerSlots> vxm_type{};  // entry i (1..N): slot of the i-th channel
    std::array<float, kPlayerSlots> vxm_data_fields{};  // current record by slot; entry 0 = time
    std::int64_t first_record = 0;                      // file offset of record 0
    std::int64_t log_record_length = 0;                 // (N + 1) * 4
    std::int64_t log_records = 0;

    // Named slots. Integer and 8-bit fields hold the slot's value truncated
    // toward zero; the 8-bit ones keep the low byte of that.
    std::int8_t vxm_timing = 0;
    std::int32_t vxm_watertemp = 0;
    float vxm_o2voltage = 0.0f;
    std::int8_t vxm_tps = 0;
    std::int32_t vxm_rpms = 0;
    float vxm_pulsewidth = 0.0f;
    std::int32_t vxm_airtemp = 0;
    std::int32_t vxm_s1 = 0;
    std::int32_t vxm_l1 = 0;
    std::int32_t vxm_o2trim = 0;
    std::int8_t vxm_knock = 0;
    float vxm_afhz = 0.0f;
    std::int32_t vxm_mtrim = 0;
    std::int32_t vxm_mph = 0;
    std::int32_t vxm_map = 0;
    std::int32_t vxm_s2 = 0;
    std::int32_t vxm_l2 = 0;
    std::int32_t vxm_load = 0;
    float vxm_o2 = 0.0f;
    std::int32_t vxm_ticks = 0;
    float vxm_pressure = 0.0f;  // a VXM log carries no boost value: always 0

    // Copies the named slots of vxm_data_fields into their fields. Inline:
    // the chart feed fills a record's fields and reads them straight back.
    void fill_named_fields();
};

inline void VxmPlayerModel::fill_named_fields() {
    namespace s = player_slot;
    const auto& f = vxm_data_fields;
    vxm_timing = saturating_float_to_int8(f[s::kTiming]);
    vxm_watertemp = saturating_float_to_int32(f[s::kWaterTemp]);
    vxm_o2voltage = f[s::kO2Voltage];
    vxm_tps = saturating_float_to_int8(f[s::kTps]);
    vxm_rpms = saturating_float_to_int32(f[s::kRpms]);
    vxm_pulsewidth = f[s::kPulseWidth];
    vxm_airtemp = saturating_float_to_int32(f[s::kAirTemp]);
    vxm_s1 = saturating_float_to_int32(f[s::kS1]);
    vxm_l1 = saturating_float_to_int32(f[s::kL1]);
    vxm_o2trim = saturating_float_to_int32(f[s::kO2Trim]);
    vxm_knock = saturating_float_to_int8(f[s::kKnock]);
    vxm_afhz = f[s::kAfHz];
    vxm_mtrim = saturating_float_to_int32(f[s::kMTrim]);
    vxm_mph = saturating_float_to_int32(f[s::kMph]);
    vxm_map = saturating_float_to_int32(f[s::kMap]);
    vxm_s2 = saturating_float_to_int32(f[s::kS2]);
    vxm_l2 = saturating_float_to_int32(f[s::kL2]);
    vxm_load = saturating_float_to_int32(f[s::kLoad]);
    vxm_o2 = f[s::kO2];
    vxm_ticks = saturating_float_to_int32(f[s::kTicks]);
    vxm_pressure = 0.0f;
}

}  // namespace korv
