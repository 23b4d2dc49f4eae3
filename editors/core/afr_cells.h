#pragma once
// The air/fuel statistics grid: per boost row (1, 3, ... 29 psi) and rpm
// column (2000 ... 8000), the highest or lowest value of five logged
// quantities seen at wide-open throttle under boost.
#include <cstdint>
#include <optional>
#include <string>

namespace korv::editors::afr {

inline constexpr int kKinds = 5;  // O2 volts, timing, air flow, pulse width, duty cycle
inline constexpr int kRows = 17;
inline constexpr int kColumns = 14;
inline constexpr int kAirFlowKind = 2;

// Grid row (1-15) of a boost pressure: the nearest of 1, 3, ... 29 psi, a
// tie to the lower; none below 1 psi.
std::optional<int> boost_row(float boost);

class AfrCells {
public:
    AfrCells() { clear(); }
    void clear();
    float value(int kind, int row, int column) const { return values_[kind][row][column]; }

    // One record's value of one kind. Ignored below 2000 rpm, above 8250,
    // under 98 % throttle or 1 psi. Without low a cell keeps the highest
    // value, with low the lowest; an empty cell (0) takes the first value.
    void animate_cells(int rpm, std::int8_t tps, float boost, float value, int kind, bool low);

    // A cell's text: empty when it holds nothing; air flow as a whole number.
    std::string text(int kind, int row, int column) const;

private:
    float values_[kKinds][kRows][kColumns];
};

}  // namespace korv::editors::afr
