#include "editors/core/afr_cells.h"

#include "common/core/java_numbers.h"
#include "editors/core/pms_cells.h"

#include <string>

namespace korv::editors::afr {
namespace {
constexpr int kBreakpoints = 15;
float breakpoint(int i) { return static_cast<float>(1 + 2 * i); }
}  // namespace

std::optional<int> boost_row(float boost) {
    if (!(boost >= 1.0f)) return std::nullopt;
    int i = kBreakpoints - 1;
    while (i > 0 && boost < breakpoint(i)) --i;
    if (i == kBreakpoints - 1) return kBreakpoints;
    return (boost - breakpoint(i)) <= (breakpoint(i + 1) - boost) ? i + 1 : i + 2;
}

void AfrCells::clear() {
    for (auto& kind : values_)
        for (auto& row : kind)
            for (float& cell : row) cell = 0.0f;
}

void AfrCells::animate_cells(int rpm, std::int8_t tps, float boost, float value, int kind, bool low) {
    if (kind < 0 || kind >= kKinds || tps < 98) return;
    const std::optional<int> row = boost_row(boost);
    const std::optional<int> column = pms::rpm_column(rpm);
    if (!row || !column) return;
    float& cell = values_[kind][*row][*column + 1];
    if (low ? (cell == 0.0f || value < cell) : value > cell) cell = value;
}

std::string AfrCells::text(int kind, int row, int column) const {
    const float v = values_[kind][row][column];
    if (v == 0.0f) return {};
    if (kind == kAirFlowKind) return std::to_string(saturating_float_to_int32(v));
    return java_float_to_string(v);
}

}  // namespace korv::editors::afr
