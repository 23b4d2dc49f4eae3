#pragma once
// The PMS unit's three fuel/ignition programs as the editor and the log
// player's simulator see them: where each table byte lies in the memory
// image, the two-layer table model, and the cells a log record falls in.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace korv::editors::pms {

inline constexpr int kPrograms = 3;
inline constexpr int kBlockSize = 672;   // one program's bytes in the image
inline constexpr int kReadWindow = 703;  // what a load reads from a block's start
inline constexpr int kColumns = 13;      // 2000 ... 8000 rpm
inline constexpr int kGridRows = 16;     // throttle 0-9, boost 10-14, NOS 15
inline constexpr int kWotRow = 9;
inline constexpr int kFirstBoostRow = 10;
inline constexpr int kNosRow = 15;
inline constexpr int kSideRow = 16;
inline constexpr int kFuel = 0;
inline constexpr int kTiming = 1;
inline constexpr int kNoAdjustment = -100;

// Side values in row 16 of the settings layer.
inline constexpr int kTipInAmount = 0;      // fuel table
inline constexpr int kTipInDuration = 1;    // fuel table
inline constexpr int kBoostFuelCut = 2;     // fuel table
inline constexpr int kBoostLimit = 3;       // fuel table
inline constexpr int kFirstBreakpoint = 4;  // timing table, 4-8
inline constexpr int kFlags = 9;            // timing table
inline constexpr int kLockWot = 11;         // either table
inline constexpr int kLockNos = 12;
inline constexpr int kLockBoost = 13;

inline constexpr std::uint8_t kBoostInUse = 0x04;
inline constexpr std::uint8_t kNosInUse = 0x08;

// Block-relative offsets of a table cell (row 0-15, column 0-12).
int fuel_offset(int row, int column);
int timing_offset(int row, int column);

// 1, L/4, L/2, 3L/4 and L psi, each truncated toward zero.
std::array<int, 5> boost_breakpoints(int limit);

// [layer][program][table][row][column]: layer 0 the settings, layer 1 the
// simulator's fuel adjustments. Shown values are the sum of both.
class AdjustCells {
public:
    AdjustCells() { clear(); }
    std::int16_t& at(int layer, int program, int table, int row, int column) {
        return cells_[layer][program][table][row][column];
    }
    std::int16_t at(int layer, int program, int table, int row, int column) const {
        return cells_[layer][program][table][row][column];
    }
    int shown(int program, int table, int row, int column) const {
        return at(0, program, table, row, column) + at(1, program, table, row, column);
    }
    void clear();
    // Clears the simulator layer.
    void reset_sim();

    // Fills program p's tables and side values from its block; bytes not
    // given (a short block) read as 0. Locks are kept.
    void decode_program(int program, const std::uint8_t* block, std::size_t size);
    // The image with the three blocks' table and side bytes replaced by the
    // model's; every other byte is carried over. Fuel bytes take half the
    // setting plus half the adjustment, each halved toward zero, clamped.
    std::vector<std::uint8_t> rebuild(const std::vector<std::uint8_t>& image) const;

private:
    std::int16_t cells_[2][kPrograms][2][20][20];
};

// A typed cell of program p's table (row 0-15, column 0-12): the text becomes
// the setting when the table's rule takes it. A fuel cell's simulator
// adjustment is dropped either way, so the cell then shows its setting. The
// message that refuses the text; empty when it is taken.
std::string_view edit_cell(AdjustCells& cells, int program, int table, int row, int column, std::string_view text);

// Where a record lies in the grid (rows and columns as the model indexes them).
struct PmsLocks {
    bool wot = false;
    bool nos = false;
    bool boost = false;
};

struct AnimatedCell {
    int row = 0;
    int column = 0;
    bool locked = false;  // painted as locked: nothing is stored there
};

struct PmsAnimation {
    int total_adjust = 0;
    std::optional<AnimatedCell> throttle;
    std::optional<AnimatedCell> boost;
    std::optional<AnimatedCell> nos;
    std::vector<AnimatedCell> stored;  // cells whose adjustment changed
};

// The model column (0-12) nearest to rpm, a tie to the lower; none below
// 2000 or above 8250.
std::optional<int> rpm_column(int rpm);

// Highlights and feeds one log record to program p's fuel table: the
// pending correction goes to the first unlocked cell that applies
// (throttle, then boost, then NOS) and is then consumed.
PmsAnimation animate_cells(AdjustCells& cells, int program, const PmsLocks& locks, int& adjust_pcnt, int rpm,
                           std::int8_t tps, float boost, std::int8_t acc);

}  // namespace korv::editors::pms
