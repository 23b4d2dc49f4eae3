#include "boxlogger/core/hand_over.h"

#include <algorithm>

namespace korv::boxlogger {

bool hand_over(const std::function<bool(int timeout_ms)>& attempt, platform::Clock& clock) {
    const std::int64_t end = clock.now_ms() + kHandOverBudgetMs;
    for (;;) {
        const std::int64_t left = end - clock.now_ms();
        if (left <= 0) return false;
        if (attempt(static_cast<int>(std::min(left, kHandOverAttemptMs)))) return true;
        const std::int64_t after = end - clock.now_ms();
        if (after <= 0) return false;
        clock.sleep_ms(std::min(after, kHandOverPauseMs));
    }
}

}  // namespace korv::boxlogger
