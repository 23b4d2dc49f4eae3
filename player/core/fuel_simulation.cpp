#include "player/core/fuel_simulation.h"

#include "common/core/java_numbers.h"

namespace korv::player {
namespace {

float simulated_o2(std::int32_t rpm, float w, float ratio) { return static_cast<float>(rpm) / (w * 100.0f) * ratio; }

}  // namespace

float pulse_ratio(float o2, std::int32_t rpm, float pulse_width) {
    return o2 / (static_cast<float>(rpm) / (pulse_width * 100.0f));
}

SimulatedFuel pms_simulated_fuel(float pulse_width, std::int32_t rpm, float ratio, std::int32_t percent) {
    const float change = pulse_width * static_cast<float>(percent) / 100.0f;
    const float base = pulse_width - change;
    return {pulse_width + change, simulated_o2(rpm, base, ratio)};
}

SimulatedFuel vxm_simulated_fuel(float pulse_width, std::int32_t rpm, float ratio, std::int32_t delta) {
    const float fraction = static_cast<float>(delta) / 100.0f;
    const float w = pulse_width * (1.0f - fraction);
    return {pulse_width * (1.0f + fraction), simulated_o2(rpm, w, ratio)};
}

std::optional<O2SearchResult> search_fuel_for_o2(const O2SearchInput& in) {
    O2SearchResult result;
    if (in.target == in.o2_target) {
        result.pulse_width = in.pulse_width;
        result.o2 = in.o2_shown;
        return result;
    }
    const bool leaner = in.target < in.o2_target;
    const float sign = leaner ? -1.0f : 1.0f;
    // w: the pulse width that would have given the logged O2 at the target's
    // mixture; adjusted: the pulse width the engine gets.
    float w = in.pulse_width;
    float adjusted = in.pulse_width;
    std::int32_t p = 0;
    int n = 0;
    float s = 0.0f;
    while (true) {
        if (leaner ? p < -in.limit : p > in.limit) return std::nullopt;
        p += leaner ? -in.step : in.step;
        ++n;
        if (in.calc_mthd) {
            const float total = static_cast<float>(n * in.step) * 0.01f;
            w = in.pulse_width * (1.0f - sign * total);
            adjusted = in.pulse_width * (1.0f + sign * total);
        } else {
            const float one = static_cast<float>(in.step) * 0.01f;
            w = w * (1.0f - sign * one);
            adjusted = adjusted * (1.0f + sign * one);
        }
        s = simulated_o2(in.rpm, w, in.ratio);
        if (leaner ? s <= in.target : s >= in.target) break;
    }
    result.percent = p;
    result.pulse_width = trim_decimals(adjusted);
    result.o2 = s;
    result.fuel_base = leaner ? -1 : 1;
    return result;
}

}  // namespace korv::player
