#include "editors/core/pms_cells.h"

#include "editors/core/field_rules.h"

#include <algorithm>
#include <cstring>

namespace korv::editors::pms {
namespace {

constexpr int kFuelRegion = 256;
constexpr int kTimingRegion = 464;
constexpr int kBoostFuel = 48;
constexpr int kBoostTiming = 53;
constexpr int kLine = 16;
constexpr int kNosLine = 10;

constexpr int kFlagByte = 0;
constexpr int kTipInDurationByte = 32;
constexpr int kTipInAmountByte = 33;
constexpr int kBoostLimitByte = 77;
constexpr int kBoostFuelCutByte = 202;

std::int8_t as_signed(std::uint8_t byte) { return static_cast<std::int8_t>(byte); }
std::uint8_t clamp_byte(int value) { return static_cast<std::uint8_t>(std::clamp(value, -128, 127)); }

}  // namespace

int fuel_offset(int row, int column) {
    if (row < kFirstBoostRow) return kFuelRegion + row + kLine * column;
    if (row < kNosRow) return kBoostFuel + (row - kFirstBoostRow) + kLine * column;
    return kFuelRegion + kNosLine + kLine * column;
}

int timing_offset(int row, int column) {
    if (row < kFirstBoostRow) return kTimingRegion + row + kLine * column;
    if (row < kNosRow) return kBoostTiming + (row - kFirstBoostRow) + kLine * column;
    return kTimingRegion + kNosLine + kLine * column;
}

std::array<int, 5> boost_breakpoints(int limit) {
    const double quarter = limit / 4.0;
    return {1, static_cast<int>(quarter), static_cast<int>(2 * quarter), static_cast<int>(3 * quarter), limit};
}

void AdjustCells::clear() { std::memset(cells_, 0, sizeof cells_); }

void AdjustCells::reset_sim() {
    for (int p = 0; p < kPrograms; ++p)
        for (int t = 0; t < 2; ++t)
            for (int r = 0; r < kGridRows; ++r)
                for (int c = 0; c < kColumns; ++c) cells_[1][p][t][r][c] = 0;
}

void AdjustCells::decode_program(int program, const std::uint8_t* block, std::size_t size) {
    const auto byte = [&](int offset) -> std::int8_t {
        return static_cast<std::size_t>(offset) < size ? as_signed(block[offset]) : 0;
    };
    for (int c = 0; c < kColumns; ++c) {
        for (int r = 0; r < kGridRows; ++r) {
            at(0, program, kFuel, r, c) = static_cast<std::int16_t>(byte(fuel_offset(r, c)) * 2);
            at(0, program, kTiming, r, c) = byte(timing_offset(r, c));
        }
    }
    at(0, program, kFuel, kSideRow, kTipInAmount) = byte(kTipInAmountByte);
    at(0, program, kFuel, kSideRow, kTipInDuration) = byte(kTipInDurationByte);
    at(0, program, kFuel, kSideRow, kBoostFuelCut) = byte(kBoostFuelCutByte);
    const int limit = byte(kBoostLimitByte);
    at(0, program, kFuel, kSideRow, kBoostLimit) = static_cast<std::int16_t>(limit);
    const std::array<int, 5> breakpoints = boost_breakpoints(limit);
    for (int i = 0; i < 5; ++i)
        at(0, program, kTiming, kSideRow, kFirstBreakpoint + i) = static_cast<std::int16_t>(breakpoints[i]);
    at(0, program, kTiming, kSideRow, kFlags) = byte(kFlagByte);
}

std::vector<std::uint8_t> AdjustCells::rebuild(const std::vector<std::uint8_t>& image) const {
    std::vector<std::uint8_t> out = image;
    if (out.size() < static_cast<std::size_t>(kPrograms * kBlockSize)) out.resize(kPrograms * kBlockSize, 0);
    for (int p = 0; p < kPrograms; ++p) {
        std::uint8_t* block = out.data() + p * kBlockSize;
        for (int c = 0; c < kColumns; ++c) {
            for (int r = 0; r < kGridRows; ++r) {
                // Halved separately, as the simulator's adjustment is kept apart.
                const int fuel = at(0, p, kFuel, r, c) / 2 + at(1, p, kFuel, r, c) / 2;
                block[fuel_offset(r, c)] = clamp_byte(fuel);
                block[timing_offset(r, c)] = clamp_byte(at(0, p, kTiming, r, c));
            }
        }
        block[kTipInAmountByte] = clamp_byte(at(0, p, kFuel, kSideRow, kTipInAmount));
        block[kTipInDurationByte] = clamp_byte(at(0, p, kFuel, kSideRow, kTipInDuration));
        block[kBoostFuelCutByte] = clamp_byte(at(0, p, kFuel, kSideRow, kBoostFuelCut));
        block[kBoostLimitByte] = clamp_byte(at(0, p, kTiming, kSideRow, kFirstBreakpoint + 4));
        block[kFlagByte] = static_cast<std::uint8_t>(at(0, p, kTiming, kSideRow, kFlags));
    }
    return out;
}

std::optional<int> rpm_column(int rpm) {
    if (rpm < 2000) return std::nullopt;
    int k = (rpm - 1500) / 500;
    if ((2000 + 500 * k - rpm) < (rpm - (1500 + 500 * k))) ++k;
    if (k > kColumns) return std::nullopt;
    return k - 1;
}

PmsAnimation animate_cells(AdjustCells& cells, int program, const PmsLocks& locks, int& adjust_pcnt, int rpm,
                           std::int8_t tps, float boost, std::int8_t acc) {
    PmsAnimation result;
    if (tps < 5) return result;
    const std::optional<int> column = rpm_column(rpm);
    if (!column) return result;
    const int c = *column;

    // Stores the pending correction into an unlocked cell and adds the
    // cell's adjustment to the total.
    const auto feed = [&](int row, bool locked) {
        std::int16_t& adjustment = cells.at(1, program, kFuel, row, c);
        if (!locked && adjust_pcnt != kNoAdjustment) {
            // The cell then shows no more than its field would take typed.
            const int setting = cells.at(0, program, kFuel, row, c);
            adjustment = static_cast<std::int16_t>(move_within_field(setting, adjust_pcnt, kPmsFuelField));
            adjust_pcnt = kNoAdjustment;
            result.stored.push_back({row, c, false});
        }
        result.total_adjust += adjustment;
        return AnimatedCell{row, c, locked};
    };

    const int throttle_row = std::min(tps / 10 + 1, kWotRow + 1) - 1;
    result.throttle = feed(throttle_row, locks.wot);

    const int flags = cells.at(0, program, kTiming, kSideRow, kFlags);
    if (boost >= 1.0f && (flags & kBoostInUse)) {
        float b[5];
        for (int i = 0; i < 5; ++i) b[i] = cells.at(0, program, kTiming, kSideRow, kFirstBreakpoint + i);
        int k = -1;
        for (int i = 4; i >= 0; --i) {
            if (boost >= b[i]) {
                k = i;
                break;
            }
        }
        if (k >= 1 && k <= 3 && (boost - b[k]) > (b[k + 1] - boost)) ++k;
        if (k >= 0) result.boost = feed(kFirstBoostRow + k, locks.boost);
    }
    if (acc != 0 && (flags & kNosInUse)) result.nos = feed(kNosRow, locks.nos);
    return result;
}

std::string_view edit_cell(AdjustCells& cells, int program, int table, int row, int column, std::string_view text) {
    const FieldCheck check = check_field(text, table == kFuel ? kPmsFuelField : kPmsTimingField);
    if (table == kFuel) cells.at(1, program, table, row, column) = 0;
    if (check.value) cells.at(0, program, table, row, column) = static_cast<std::int16_t>(*check.value);
    return check.refusal;
}

}  // namespace korv::editors::pms
