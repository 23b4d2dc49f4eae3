#include "logger/core/session_control.h"

#include <algorithm>

namespace korv::logger {

bool SessionControl::any_alive() const {
    return std::any_of(phase_.begin(), phase_.end(), [](RunPhase p) { return p != RunPhase::idle; });
}

bool SessionControl::any_logging() const {
    return std::any_of(phase_.begin(), phase_.end(), [](RunPhase p) { return p == RunPhase::logging; });
}

}  // namespace korv::logger
