#include "dyno/core/smoothing.h"

#include <cmath>

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

void TimeBlend(SampleArray& samples, int source_slot, float blend) {
    if (!(blend > 0.0f)) {
        for (DynoSample& s : samples) {
            s[kBlendedTime] = s[kTime];
            s[kSmoothRpm] = s[source_slot];
        }
        return;
    }
    const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(samples.size());
    for (std::ptrdiff_t k = 0; k < n; ++k) {
        const float t = samples[k][kTime];
        float time_sum = t;
        float value_sum = samples[k][source_slot];
        float weight_sum = 1.0f;
        auto add = [&](const DynoSample& neighbour) {
            const float tn = neighbour[kTime];
            const float w = (std::cos(kPi * (t - tn) / blend) + 1.0f) / 2.0f;
            time_sum += w * tn;
            value_sum += w * neighbour[source_slot];
            weight_sum += w;
        };
        const float low = t - blend;
        for (std::ptrdiff_t j = k - 1; j >= 0 && samples[j][kTime] > low; --j) add(samples[j]);
        const float high = t + blend;
        for (std::ptrdiff_t j = k + 1; j < n && samples[j][kTime] < high; ++j) add(samples[j]);
        // Source and targets differ, so writing in place leaves later sums intact.
        samples[k][kBlendedTime] = time_sum / weight_sum;
        samples[k][kSmoothRpm] = value_sum / weight_sum;
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
