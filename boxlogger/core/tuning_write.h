#pragma once
// New values for the box's tuning registers: what a page of typed values
// sends, and sending it.
#include <cstdint>
#include <string>
#include <vector>

namespace korv::boxlogger {

class CLinkEngine;
class CVariable;

struct TuningEntry {
    const CVariable* variable = nullptr;
    std::string text;  // as typed, Windows-1252
};

struct TuningWrite {
    int row = 0;
    int request_byte = 0;
    std::uint8_t raw = 0;
};

struct TuningPlan {
    std::vector<TuningWrite> writes;  // in row order
    // Rows whose text is not a number: cleared, never sent.
    std::vector<int> not_numbers;
};

// Empty rows are skipped, rows that are not numbers set aside; the rest are
// converted by their variables.
TuningPlan PlanTuningWrites(const std::vector<TuningEntry>& entries);

// The rows to clear once `sent` writes went through: those sent, and the
// rows that are not numbers before the first write that failed (the rows
// after it keep their texts for another try).
std::vector<int> RowsToClear(const TuningPlan& plan, std::size_t sent);

// Sends the writes in order, stopping at the first that fails. Returns how
// many went through. Runs the engine's framed command, seconds at worst.
std::size_t SendTuningWrites(CLinkEngine& engine, const std::vector<TuningWrite>& writes);

}  // namespace korv::boxlogger
