#include "dyno/core/smoothing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace korv::dyno {
namespace {

void copy_unsmoothed(SampleArray& samples, int target_slot) {
    for (DynoSample& s : samples) {
        s[kBlendedTime] = s[kTime];
        s[target_slot] = s[kRawRpm];
    }
}

}  // namespace

std::optional<LowPassCoefficients> LowPassCoefficientsFor(float cutoff, float rez) {
    // Cut-off ratios up to 2 put pi / Cutoff at or past the tangent's pole,
    // and a non-positive resonance makes the filter blow up.
    if (!(cutoff > 2.0f) || !(rez > 0.0f) || !std::isfinite(cutoff) || !std::isfinite(rez)) return std::nullopt;
    LowPassCoefficients k;
    const float c = 1.0f / std::tan(kPi / cutoff);
    const float c2 = c * c;
    k.a1 = 1.0f / (c * rez + c2 + 1.0f);
    k.a2 = 2.0f * k.a1;
    k.b1 = 2.0f * (1.0f - c2) * k.a1;
    k.b2 = (c2 + 1.0f - c * rez) * k.a1;
    return k;
}

namespace {

// Time runs forward and every time, value and phase is a number: the windows
// of neighbours then slide along the samples without ever going back.
bool blend_can_slide(const SampleArray& samples, int source_slot, float blend) {
    if (!std::isfinite(static_cast<double>(kPi) / static_cast<double>(blend))) return false;
    float previous = -std::numeric_limits<float>::infinity();
    for (const DynoSample& s : samples) {
        if (!std::isfinite(s[kTime]) || !std::isfinite(s[source_slot]) || s[kTime] < previous) return false;
        previous = s[kTime];
    }
    return true;
}

// Sums over a window of samples of 1, time and value, each alone and times
// the cosine and the sine of the sample's phase pi * t / blend.
struct WindowSums {
    double count = 0, cos = 0, sin = 0;
    double time = 0, time_cos = 0, time_sin = 0;
    double value = 0, value_cos = 0, value_sin = 0;

    void add(double sign, double t, double v, double c, double s) {
        count += sign;
        cos += sign * c;
        sin += sign * s;
        time += sign * t;
        time_cos += sign * t * c;
        time_sin += sign * t * s;
        value += sign * v;
        value_cos += sign * v * c;
        value_sin += sign * v * s;
    }
};

// The blend with each weight (cos(a - b) + 1) / 2 split as
// (cos a cos b + sin a sin b + 1) / 2, so a window's weighted sums follow
// from sums kept while it slides: O(n) in all. The window is the one the
// pairwise walk finds, by the same single-precision comparisons.
void blend_sliding(SampleArray& samples, int source_slot, float blend) {
    const std::size_t n = samples.size();
    const double phase_per_second = static_cast<double>(kPi) / static_cast<double>(blend);
    std::vector<double> cosines(n), sines(n);
    for (std::size_t j = 0; j < n; ++j) {
        const double phase = phase_per_second * static_cast<double>(samples[j][kTime]);
        cosines[j] = std::cos(phase);
        sines[j] = std::sin(phase);
    }
    WindowSums sums;
    auto change = [&](std::size_t j, double sign) {
        sums.add(sign, samples[j][kTime], samples[j][source_slot], cosines[j], sines[j]);
    };
    std::size_t first_in = 0;    // first sample after the low edge
    std::size_t first_past = 0;  // first sample at or past the high edge
    std::size_t lo = 0, hi = 0;  // the window summed: [lo, hi)
    for (std::size_t k = 0; k < n; ++k) {
        const float t = samples[k][kTime];
        const float low = t - blend;
        const float high = t + blend;
        while (first_in < n && !(samples[first_in][kTime] > low)) ++first_in;
        while (first_past < n && samples[first_past][kTime] < high) ++first_past;
        // The sample itself always weighs in, even where the edges meet it.
        const std::size_t from = std::min(first_in, k);
        const std::size_t to = std::max(first_past, k + 1);
        for (; hi < to; ++hi) change(hi, 1.0);
        for (; lo < from; ++lo) change(lo, -1.0);

        const double c = cosines[k], s = sines[k];
        const double weight_sum = 0.5 * (sums.count + c * sums.cos + s * sums.sin);
        const double time_sum = 0.5 * (sums.time + c * sums.time_cos + s * sums.time_sin);
        const double value_sum = 0.5 * (sums.value + c * sums.value_cos + s * sums.value_sin);
        // Source and targets differ, so writing in place leaves later sums intact.
        samples[k][kBlendedTime] = static_cast<float>(time_sum / weight_sum);
        samples[k][kSmoothRpm] = static_cast<float>(value_sum / weight_sum);
    }
}

}  // namespace

void TimeBlend(SampleArray& samples, int source_slot, float blend) {
    if (!(blend > 0.0f)) {
        for (DynoSample& s : samples) {
            s[kBlendedTime] = s[kTime];
            s[kSmoothRpm] = s[source_slot];
        }
        return;
    }
    if (blend_can_slide(samples, source_slot, blend)) {
        blend_sliding(samples, source_slot, blend);
    } else {
        TimeBlendPairwise(samples, source_slot, blend);
    }
}

void TimeBlendPairwise(SampleArray& samples, int source_slot, float blend) {
    const double phase_per_second = static_cast<double>(kPi) / static_cast<double>(blend);
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(samples.size());
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        const float t = samples[k][kTime];
        double time_sum = t;
        double value_sum = samples[k][source_slot];
        double weight_sum = 1.0;
        auto add = [&](const DynoSample& neighbour) {
            const float tn = neighbour[kTime];
            const double w = (std::cos(phase_per_second * (static_cast<double>(t) - tn)) + 1.0) / 2.0;
            time_sum += w * tn;
            value_sum += w * neighbour[source_slot];
            weight_sum += w;
        };
        const float low = t - blend;
        for (std::ptrdiff_t j = k - 1; j >= 0 && samples[j][kTime] > low; --j) add(samples[j]);
        const float high = t + blend;
        for (std::ptrdiff_t j = k + 1; j < n && samples[j][kTime] < high; ++j) add(samples[j]);
        // Source and targets differ, so writing in place leaves later sums intact.
        samples[k][kBlendedTime] = static_cast<float>(time_sum / weight_sum);
        samples[k][kSmoothRpm] = static_cast<float>(value_sum / weight_sum);
    }
}

void LowPassSmooth(SampleArray& samples, int target_slot, float cutoff, float rez) {
    const auto k = LowPassCoefficientsFor(cutoff, rez);
    if (samples.size() < 4 || !k) {
        copy_unsmoothed(samples, target_slot);
        return;
    }
    for (DynoSample& s : samples) s[kBlendedTime] = s[kTime];
    samples[0][target_slot] = samples[0][kRawRpm];
    samples[1][target_slot] = samples[1][kRawRpm];
    for (std::size_t i = 2; i < samples.size(); ++i) {
        const float x0 = samples[i - 2][kRawRpm], x1 = samples[i - 1][kRawRpm], x2 = samples[i][kRawRpm];
        const float y1 = samples[i - 1][target_slot], y2 = samples[i - 2][target_slot];
        samples[i][target_slot] = k->a1 * (x0 + x2) + k->a2 * x1 - k->b1 * y1 - k->b2 * y2;
    }
}

void ApplySmoothing(SampleArray& samples, const SmoothingParams& params) {
    switch (params.mode & 3) {
    case 0: copy_unsmoothed(samples, kSmoothRpm); break;
    case 1: TimeBlend(samples, kRawRpm, params.blend); break;
    case 2: LowPassSmooth(samples, kSmoothRpm, params.cutoff, params.rez); break;
    case 3:
        if (samples.size() < 4) {
            copy_unsmoothed(samples, kSmoothRpm);
            for (DynoSample& s : samples) s[kFilteredRpm] = s[kRawRpm];
            break;
        }
        LowPassSmooth(samples, kFilteredRpm, params.cutoff, params.rez);
        TimeBlend(samples, kFilteredRpm, params.blend);
        break;
    }
}

}  // namespace korv::dyno
