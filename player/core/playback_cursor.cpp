#include "player/core/playback_cursor.h"

#include <limits>

namespace korv::player {

CursorStep point_cursor(std::int64_t cursor, std::int64_t n, std::int64_t log_records) {
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
