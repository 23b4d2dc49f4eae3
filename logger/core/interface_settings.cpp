#include "logger/core/interface_settings.h"

namespace korv::logger {

std::optional<ControlPlan> plan_controls(bool obd_link, int cable) {
    if ((obd_link && cable == kDsmCableNumber) || cable == 0 || cable == kPmsCableNumber) return std::nullopt;
    ControlPlan plan;
    if (cable <= kHighestObdCable) {
        plan.show = {ItemBox::rpm,     ItemBox::timing,   ItemBox::tps,        ItemBox::o2,      ItemBox::st_trim,
                     ItemBox::lt_trim, ItemBox::air_flow, ItemBox::water_temp, ItemBox::air_temp};
        plan.hide = {ItemBox::pressure, ItemBox::mph, ItemBox::knock, ItemBox::pw};
        return plan;
    }
    if (cable == kDsmCableNumber) {
        plan.show = {ItemBox::rpm,     ItemBox::timing,   ItemBox::tps,   ItemBox::o2, ItemBox::st_trim,
                     ItemBox::lt_trim, ItemBox::air_flow, ItemBox::knock, ItemBox::pw, ItemBox::high_trim};
        plan.hide = {ItemBox::pressure, ItemBox::mph, ItemBox::water_temp, ItemBox::air_temp};
        plan.dsm_labels = true;
        plan.hide_trouble_code_controls = true;
        return plan;
    }
    return std::nullopt;
}

}  // namespace korv::logger
