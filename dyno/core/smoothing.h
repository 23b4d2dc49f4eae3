#pragma once
// Smoothing of logged RPM (and time) before it is differentiated.
//
// Mode bits: 1 the raised-cosine time blend, 2 the resonant low-pass filter;
// mode 3 filters first and blends the filtered values.
#include "dyno/core/dyno_sample.h"

#include <optional>

namespace korv::dyno {

inline constexpr float kPi = 3.14159f;  // the single-precision value the maths was tuned with

struct SmoothingParams {
    int mode = 1;
    float blend = 0.7f;    // half-width of the time blend, seconds
    float cutoff = 32.0f;  // filter cut-off ratio
    float rez = 1.0f;      // filter resonance term
};

struct LowPassCoefficients {
    float a1 = 0, a2 = 0, b1 = 0, b2 = 0;
};

// Empty when the filter cannot run: Cutoff <= 2 or Rez <= 0 (or not numbers).
std::optional<LowPassCoefficients> LowPassCoefficientsFor(float cutoff, float rez);

// Recomputes the blended time, the smoothed RPM and, in mode 3, the
// filtered RPM of every sample from the logged time and RPM.
void ApplySmoothing(SampleArray& samples, const SmoothingParams& params);

// Raised-cosine blend of time and of the source slot into the blended time
// and smoothed RPM. A blend <= 0 copies them unblended. Each sample weighs
// its neighbours less than blend away from it by (cos(pi * dt / blend) + 1)
// / 2, walking outwards from it until the first one out of reach.
void TimeBlend(SampleArray& samples, int source_slot, float blend);

// The same blend, one cosine per pair of samples, summed in double: what
// TimeBlend does where time goes back, and what it matches within rounding
// where time runs forward, there in O(n). A blend > 0 is expected.
void TimeBlendPairwise(SampleArray& samples, int source_slot, float blend);

// Resonant low-pass of the raw RPM into the target slot; with fewer than 4
// samples, or coefficients that cannot run, the raw RPM is copied.
void LowPassSmooth(SampleArray& samples, int target_slot, float cutoff, float rez);

}  // namespace korv::dyno
