#include "boxlogger/core/lookup_curves.h"

#include <cmath>
#include <cstddef>

namespace korv::boxlogger {
namespace {

constexpr std::size_t kRows = 11;
constexpr int kIndexes[kRows] = {0, 16, 32, 64, 96, 128, 160, 192, 208, 224, 240};

// Monotone cubic through the measured rows (slopes limited so the curve
// never turns back), meeting the flat end with zero slope, rounded to whole
// degrees. Rounding a falling curve keeps it falling.
LookupCurve make_curve(const double (&rows)[kRows]) {
    double secant[kRows - 1];
    for (std::size_t i = 0; i + 1 < kRows; ++i) secant[i] = (rows[i + 1] - rows[i]) / (kIndexes[i + 1] - kIndexes[i]);
    double slope[kRows];
    slope[0] = secant[0];
    slope[kRows - 1] = 0.0;
    for (std::size_t i = 1; i + 1 < kRows; ++i) {
        // Weighted harmonic mean: zero where the secants change sign, never overshooting.
        const double a = secant[i - 1], b = secant[i];
        if (a * b <= 0.0) {
            slope[i] = 0.0;
            continue;
        }
        const double h0 = kIndexes[i] - kIndexes[i - 1], h1 = kIndexes[i + 1] - kIndexes[i];
        const double w0 = 2 * h1 + h0, w1 = h1 + 2 * h0;
        slope[i] = (w0 + w1) / (w0 / a + w1 / b);
    }
    LookupCurve curve{};
    for (std::size_t i = 0; i + 1 < kRows; ++i) {
        const double h = kIndexes[i + 1] - kIndexes[i];
        for (int x = kIndexes[i]; x < kIndexes[i + 1]; ++x) {
            const double t = (x - kIndexes[i]) / h;
            const double t2 = t * t, t3 = t2 * t;
            const double y = (2 * t3 - 3 * t2 + 1) * rows[i] + (t3 - 2 * t2 + t) * h * slope[i] +
                             (-2 * t3 + 3 * t2) * rows[i + 1] + (t3 - t2) * h * slope[i + 1];
            curve[static_cast<std::size_t>(x)] = static_cast<float>(std::round(y));
        }
    }
    for (std::size_t x = 240; x < 256; ++x) curve[x] = static_cast<float>(rows[kRows - 1]);
    return curve;
}

}  // namespace

const LookupCurve& CoolantCurve() {
    static const LookupCurve curve = make_curve({313, 217, 172, 124, 95, 70, 46, 21, 5, -18, -62});
    return curve;
}

const LookupCurve& EgrCurve() {
    static const LookupCurve curve = make_curve({606, 421, 358, 295, 253, 219, 185, 145, 113, 45, -94});
    return curve;
}

const LookupCurve& AirCurve() {
    static const LookupCurve curve = make_curve({363, 241, 185, 133, 100, 73, 48, 19, 1, -24, -74});
    return curve;
}

}  // namespace korv::boxlogger
