#include "editors/core/vcd_map.h"

#include "common/core/byte_order.h"
#include "editors/core/field_rules.h"

namespace korv::editors {

VcdMap interpolate(const VcdSettings& s) {
    const auto& rpm = s.adjust_cells[vcd_rpm];
    VcdMap map{};
    for (int r = 0; r < kVcdRows; ++r) {
        const int t = 10 * r;
        const bool low = t <= s.low_tps;
        const bool high = !low && t >= s.hi_tps;
        int i = 0;
        for (int c = 0; c < kVcdColumns; ++c) {
            const int x = 500 * c;
            std::int64_t v;
            if (low || high) {
                const auto& line = s.adjust_cells[low ? vcd_low : vcd_high];
                if (c == kVcdColumns - 1 || i == kSetPoints - 1)
                    v = line[i];
                else
                    v = calculate_point(line[i + 1], line[i], rpm[i + 1], rpm[i], x);
            } else {
                v = calculate_point(s.adjust_cells[vcd_high][i], s.adjust_cells[vcd_low][i], s.hi_tps, s.low_tps, t);
            }
            map[r][c] = v;
            if (x > rpm[i] && i < kSetPoints - 1) ++i;
        }
    }
    return map;
}

std::optional<VcdCell> vcd_cell(int rpm, int tps) {
    if (rpm < 0 || rpm >= 500 * kVcdColumns || tps < 0 || tps >= 10 * kVcdRows) return std::nullopt;
    return VcdCell{tps / 10, rpm / 500};
}

int nearest_set_point(const VcdSettings& s, int rpm) {
    const auto& r = s.adjust_cells[vcd_rpm];
    if (rpm < r[0]) return 0;
    for (int k = 1; k < kSetPoints; ++k) {
        if (r[k] >= rpm) return std::int64_t{r[k]} - rpm <= std::int64_t{rpm} - r[k - 1] ? k : k - 1;
    }
    return kSetPoints - 1;
}

std::vector<std::uint8_t> encode_vcd_file(const VcdSettings& s) {
    std::vector<std::uint8_t> out;
    out.reserve(kVcdFileBytes);
    append_header(out, ControllerTag::vcd_afc);
    for (int k = 0; k < kSetPoints; ++k) {
        for (int line = 0; line < 3; ++line) append_i16_be(out, s.adjust_cells[line][k]);
    }
    append_i16_be(out, s.hi_tps);
    append_i16_be(out, s.low_tps);
    return out;
}

VcdSettings decode_vcd_file(const std::vector<std::uint8_t>& file) {
    const auto at = [&](std::size_t offset) {
        return int{static_cast<std::int16_t>(load_u16_be(file.data() + offset))};
    };
    VcdSettings s;
    for (int k = 0; k < kSetPoints; ++k) {
        for (int line = 0; line < 3; ++line) s.adjust_cells[line][k] = at(kHeaderBytes + 6 * k + 2 * line);
    }
    s.hi_tps = at(87);
    s.low_tps = at(89);
    return s;
}

bool vcd_control(VcdSettings& s, int rpm, int tps, std::int64_t target, int step) {
    const auto cell = vcd_cell(rpm, tps);
    if (!cell || step == 0) return false;
    const auto short_of_target = [&](const VcdSettings& now) {
        const std::int64_t v = interpolate(now)[cell->row][cell->column];
        return (v < target && step > 0) || (v > target && step < 0);
    };
    // A record shown again finds its cell already there and moves nothing.
    if (!short_of_target(s)) return false;
    const int line = tps <= s.low_tps ? vcd_low : vcd_high;
    int& value = s.adjust_cells[line][nearest_set_point(s, rpm)];
    const int start = value;
    do {
        if (move_within_field(value, step, kVcdAdjustField) != step) {
            value = start;
            return false;
        }
        value += step;
    } while (short_of_target(s));
    return true;
}

}  // namespace korv::editors
