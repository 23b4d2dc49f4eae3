#pragma once
// A second start hands its files to the running VXMlog: one attempt after
// another, each given the time that is left, until one is answered or the
// budget is spent. A first instance that stays silent that long counts as
// not answering: a message then beats a start that shows nothing.
#include <cstdint>
#include <functional>

#include "platform/core/clock.h"

namespace korv::boxlogger {

inline constexpr std::int64_t kHandOverBudgetMs = 5000;
// One attempt's longest wait, and the pause before the next one.
inline constexpr std::int64_t kHandOverAttemptMs = 1000;
inline constexpr std::int64_t kHandOverPauseMs = 100;

inline constexpr char kFirstInstanceSilent[] = "VXMlog is already running but does not answer.";

// attempt(timeout_ms): true once the running instance has the request. True
// when one attempt was answered within the budget.
bool hand_over(const std::function<bool(int timeout_ms)>& attempt, platform::Clock& clock = platform::clock());

}  // namespace korv::boxlogger
