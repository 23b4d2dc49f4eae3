#pragma once
// One logged sample and the working values derived from it.
#include <array>
#include <vector>

namespace korv::dyno {

// Slots of a sample, in the order every part of Ergomark uses.
enum SampleSlot : int {
    kTime = 0,         // seconds since the first sample (see LogReadResult::time_origin)
    kBlendedTime = 1,  // smoothing result
    kSmoothRpm = 2,    // smoothing result
    kRawRpm = 3,       // as read
    kFilteredRpm = 4,  // low-pass output when filter and blend both run
    kThrottle = 5,     // as read, 0 when the log has none
    kTorque = 8,       // ft-lb
    kPower = 9,        // hp
    kSlotCount = 15,
};

struct DynoSample {
    std::array<float, kSlotCount> v{};

    float& operator[](int slot) { return v[static_cast<std::size_t>(slot)]; }
    float operator[](int slot) const { return v[static_cast<std::size_t>(slot)]; }
};

using SampleArray = std::vector<DynoSample>;

// A stretch of samples. End may equal the sample count (a rising block ends
// one past its last sample), so readers of the stop sample clamp it.
struct SampleRange {
    int start = 0;
    int end = 0;

    bool operator==(const SampleRange&) const = default;
};

// Index of the stop sample that may be read: min(end, n - 1), never below 0.
inline int readable_stop(const SampleRange& range, int n) {
    int stop = range.end < n - 1 ? range.end : n - 1;
    return stop < 0 ? 0 : stop;
}

}  // namespace korv::dyno
