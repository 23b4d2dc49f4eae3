#include "player/core/chart_2d_rows.h"

#include "common/core/java_numbers.h"

namespace korv::player {

// Quotients by a double constant are doubles, printed in their own shortest form.
std::string boost_chart_row(float pressure, std::int8_t knock, std::int8_t timing, const PmsRecord* pms) {
    std::string row = java_float_to_string(pressure);
    row += ',' + std::to_string(knock) + ',' + std::to_string(timing);
    if (pms) {
        row += ',' + std::to_string(pms->pms_ecu_timing);
        row += ',' + java_double_to_string(static_cast<double>(pms->pms_tps) / 4.0);
    }
    return row;
}

std::string o2_chart_row(float o2, float pulse_width, const PmsRecord* pms) {
    std::string row = java_float_to_string(o2);
    row += ',' + java_double_to_string(static_cast<double>(pulse_width) / 10.0);
    if (pms) {
        row += ',' + java_double_to_string(static_cast<double>(pms->pms_ecu_pulsewidth) / 10.0);
        row += ',' + java_double_to_string(static_cast<double>(pms->pms_hz) / 2000.0);
    }
    return row;
}

}  // namespace korv::player
