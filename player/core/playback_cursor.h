#pragma once

#include <cstdint>
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

CursorStep point_cursor(std::int64_t cursor, std::int64_t n, std::int64_t log_records);

}  // namespace korv::player
