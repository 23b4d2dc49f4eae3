#include "common/core/vxm_player_model.h"

#include "common/core/java_numbers.h"

namespace korv {

void VxmPlayerModel::fill_named_fields() {
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
