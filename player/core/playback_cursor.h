#pragma once

#include <cstdint>
#include <limits>
#include <optional>

// The record cursor's rules. A step of 0 rewinds, 1 (or any negative n) moves
// relative to the cursor, any n above 1 is an absolute record number. Moving
// past the end shows the last whole record and leaves the cursor at the
// record count, so one step back lands on the last record again.
namespace korv::player {

struct CursorStep {
    std::int64_t cursor = 0;
    std::optional<std::int64_t> record;  // the record to read; none when the log has no records
};

// Inline: playback takes a step a record.
inline CursorStep point_cursor(std::int64_t cursor, std::int64_t n, std::int64_t log_records) {
    CursorStep step;
    if (n == 0) {
        step.cursor = 0;
    } else if (n > 1) {
        step.cursor = n;
    } else {
        const bool overflow = n > 0 && cursor > std::numeric_limits<std::int64_t>::max() - n;
        step.cursor = overflow ? std::numeric_limits<std::int64_t>::max() : cursor + n;
        if (step.cursor < 0) step.cursor = 0;
    }
    if (log_records <= 0) {
        step.cursor = 0;
        return step;
    }
    if (step.cursor >= log_records) {
        step.cursor = log_records;
        step.record = log_records - 1;
    } else {
        step.record = step.cursor;
    }
    return step;
}

}  // namespace korv::player
