#include "dyno/core/block_select.h"

#include <algorithm>

namespace korv::dyno {

SampleRange FindThrottleBlock(const SampleArray& samples, int current_start) {
    const int n = static_cast<int>(samples.size());
    if (n == 0) return {0, 0};
    const int c = n - 6;
    // Only called with 0 <= j < c, so j + 6 stays inside the log.
    auto wide_open = [&](int j) {
        return samples[j][kThrottle] > kWideOpenThrottle && samples[j + 2][kThrottle] > kWideOpenThrottle &&
               samples[j + 4][kThrottle] > kWideOpenThrottle && samples[j + 6][kThrottle] > kWideOpenThrottle;
    };

    int a = std::clamp(current_start, 0, n);
    while (a < c && wide_open(a)) ++a;  // leave the block the start lies in
    if (a >= c) {
        a = 0;
        while (a < c && wide_open(a)) ++a;
    }
    while (a < c && !wide_open(a)) ++a;
    if (a >= c) {
        a = c;
        for (int j = 0; j < c; ++j) {
            if (wide_open(j)) {
                a = j;
                break;
            }
        }
    }

    int e = a + 6;
    if (e >= n) return {0, 0};
    while (wide_open(e - 6)) {
        ++e;
        if (e >= n) return {0, 0};
    }
    return {a, e};
}

std::vector<RisingRun> RisingRuns(const SampleArray& samples) {
    std::vector<RisingRun> runs;
    const int n = static_cast<int>(samples.size());
    int i = 0;
    while (i < n) {
        int length = 1;
        while (i + length < n && samples[i + length][kSmoothRpm] >= samples[i + length - 1][kSmoothRpm]) ++length;
        runs.push_back({i, length});
        i += length;
    }
    return runs;
}

std::vector<RisingRun> RisingRunOrder(const SampleArray& samples) {
    const std::vector<RisingRun> runs = RisingRuns(samples);
    // Runs of one length stay together. The first run of a length that
    // arrived as the new longest heads its group; equals arriving while it is
    // still first go right after it, equals arriving later (and all runs of
    // a length that never led) go in front of the group: both newest first.
    struct Group {
        std::vector<int> in_front;
        int head = -1;
        std::vector<int> after_head;
    };
    std::vector<Group> groups(samples.size() + 1);
    int longest = 0;
    for (int r = 0; r < static_cast<int>(runs.size()); ++r) {
        const int length = runs[r].length;
        Group& g = groups[static_cast<std::size_t>(length)];
        if (length > longest) {
            g.head = r;
            longest = length;
        } else if (length == longest) {
            g.after_head.push_back(r);
        } else {
            g.in_front.push_back(r);
        }
    }

    std::vector<RisingRun> order;
    order.reserve(runs.size());
    for (int length = longest; length >= 1; --length) {
        const Group& g = groups[static_cast<std::size_t>(length)];
        for (auto it = g.in_front.rbegin(); it != g.in_front.rend(); ++it) order.push_back(runs[*it]);
        if (g.head >= 0) order.push_back(runs[g.head]);
        for (auto it = g.after_head.rbegin(); it != g.after_head.rend(); ++it) order.push_back(runs[*it]);
    }
    return order;
}

SampleRange FindRisingBlock(const SampleArray& samples, int key) {
    if (samples.empty()) return {0, 0};
    const std::vector<RisingRun> order = RisingRunOrder(samples);
    const RisingRun* chosen = &order.front();
    if (key != 0) {
        auto at_key = std::find_if(order.begin(), order.end(), [key](const RisingRun& r) { return r.start == key; });
        if (at_key != order.end() && at_key + 1 != order.end() && (at_key + 1)->length > 8) chosen = &*(at_key + 1);
    }
    return {chosen->start, chosen->start + chosen->length};
}

}  // namespace korv::dyno
