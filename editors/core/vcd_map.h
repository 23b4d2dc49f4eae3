#pragma once
// The second-generation (VCD) AFC: eight rpm set points with a low- and a
// high-throttle adjustment each, two throttle points, the 11 x 17 map built
// from them and the 91-byte settings file.
#include "editors/core/controller_file.h"

#include <array>
#include <cstdint>
#include <optional>

namespace korv::editors {

inline constexpr int kSetPoints = 8;
inline constexpr int kVcdRows = 11;     // 0, 10, ... 100 % throttle
inline constexpr int kVcdColumns = 17;  // 0, 500, ... 8000 rpm
inline constexpr std::size_t kVcdFileBytes = 91;

enum VcdLine { vcd_rpm = 0, vcd_low = 1, vcd_high = 2 };

struct VcdSettings {
    std::array<std::array<int, kSetPoints>, 3> adjust_cells{};  // [line][set point]
    int low_tps = 0;
    int hi_tps = 0;

    bool operator==(const VcdSettings&) const = default;
};

using VcdMap = std::array<std::array<std::int64_t, kVcdColumns>, kVcdRows>;

VcdMap interpolate(const VcdSettings& s);

struct VcdCell {
    int row;
    int column;
};
// The cell of a record, or none outside 0..8499 rpm and 0..109 % throttle.
std::optional<VcdCell> vcd_cell(int rpm, int tps);

// The set point nearest rpm (a tie goes to the upper one).
int nearest_set_point(const VcdSettings& s, int rpm);

std::vector<std::uint8_t> encode_vcd_file(const VcdSettings& s);
VcdSettings decode_vcd_file(const std::vector<std::uint8_t>& file);

// Moves the nearest set point's adjustment on the record's line one step at
// a time until the record's cell reaches `target`; a cell already there
// moves nothing. A move that would leave what the adjustment's field takes
// (-50..50) ends the search with the adjustment as it was. True when a setting changed.
bool vcd_control(VcdSettings& s, int rpm, int tps, std::int64_t target, int step);

}  // namespace korv::editors
