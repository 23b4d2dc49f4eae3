#include "editors/core/knob_map.h"

#include "common/core/byte_order.h"
#include "editors/core/field_rules.h"

namespace korv::editors {

std::int64_t knob_point(const Knobs& k, int x) {
    const auto& p = kKnobSetPoints;
    if (x <= p[0]) return calculate_point(k[0], 0, p[0], 0, x);
    for (int i = 1; i < kKnobs; ++i) {
        if (x <= p[i]) return calculate_point(k[i], k[i - 1], p[i], p[i - 1], x);
    }
    return k[kKnobs - 1];
}

KnobMap knob_map(const Knobs& k) {
    KnobMap map{};
    for (int n = 1; n <= kKnobCells; ++n) map[n - 1] = knob_point(k, 500 * n);
    return map;
}

std::optional<int> knob_cell(int rpm) {
    if (rpm < 500 || rpm >= 500 * (kKnobCells + 1)) return std::nullopt;
    return rpm / 500 - 1;
}

int knob_for_rpm(int rpm) {
    const auto& p = kKnobSetPoints;
    if (rpm < p[0]) return 0;
    for (int k = 0; k + 1 < kKnobs; ++k) {
        const int lo = p[k], hi = p[k + 1];
        if (rpm < hi) return (hi - rpm) < (rpm - lo) ? k + 1 : k;
    }
    return kKnobs - 1;
}

std::vector<std::uint8_t> encode_knob_file(ControllerTag tag, const Knobs& adjust_value) {
    std::vector<std::uint8_t> out;
    out.reserve(kKnobFileBytes);
    append_header(out, tag);
    for (int p : kKnobSetPoints) append_i16_be(out, p);
    for (int v : adjust_value) append_i16_be(out, v);
    return out;
}

Knobs decode_knob_settings(const std::vector<std::uint8_t>& file) {
    Knobs k{};
    for (int i = 0; i < kKnobs; ++i) k[i] = static_cast<std::int16_t>(load_u16_be(file.data() + 49 + 2 * i));
    return k;
}

Knobs KnobSimulation::effective() const {
    Knobs k{};
    for (int i = 0; i < kKnobs; ++i) k[i] = adjust_value[i] + sim_adjust[i];
    return k;
}

void KnobSimulation::rebase() {
    sim_adjust = {};
    sim_base = map();
}

std::optional<int> KnobSimulation::control(int rpm, int adjustment, int step) {
    const auto cell = knob_cell(rpm);
    if (!cell) return std::nullopt;
    const int knob = knob_for_rpm(rpm);
    sim_adjust[knob] = 0;
    if (adjustment == 0) return std::nullopt;
    const std::int64_t target = sim_base[*cell] + adjustment;
    // Every cell leans on its knob, so the search ends, at the latest where
    // the knob reaches the end of what its field takes; the cap only guards
    // against a step of 0.
    for (int moves = 0; moves < 100000; ++moves) {
        if (move_within_field(effective()[knob], step, kKnobField) != step) break;
        sim_adjust[knob] += step;
        const std::int64_t v = knob_point(effective(), 500 * (*cell + 1));
        if (!((v < target && step >= 0) || (v > target && step <= 0))) break;
    }
    return knob;
}

}  // namespace korv::editors
