#include "platform/serial/line_settings.h"

#include <cerrno>

namespace korv::platform::serial {

static_assert(kSpeedRefused == ERANGE);

bool speed_close_enough(long wanted, long actual) {
    if (wanted <= 0 || actual <= 0) return false;
    long long difference = static_cast<long long>(actual) - wanted;
    if (difference < 0) difference = -difference;
    return difference * 100 <= static_cast<long long>(wanted) * kSpeedTolerancePercent;
}

}  // namespace korv::platform::serial
