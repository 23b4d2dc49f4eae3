#pragma once
// New values for the box's tuning registers: what a page of typed values
// sends, and sending it.
#include <cstdint>
#include <optional>
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
    // The first row that is not a number: nothing of the page is sent.
    std::optional<int> not_a_number;
};

// Empty rows are skipped; the rest are converted by their variables.
TuningPlan PlanTuningWrites(const std::vector<TuningEntry>& entries);

// Sends the writes in order, stopping at the first that fails. Returns how
// many went through. Runs the engine's framed command, seconds at worst.
std::size_t SendTuningWrites(CLinkEngine& engine, const std::vector<TuningWrite>& writes);

}  // namespace korv::boxlogger
