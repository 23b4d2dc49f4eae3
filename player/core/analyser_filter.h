#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The analyser filter: which records the analysis and the chart collections
// count. A record passes when its throttle is at or above the throttle
// limit OR its engine speed is at or above the rpm limit.
namespace korv::player {

inline constexpr int kDefaultTpsLimit = 95;
inline constexpr int kMaxTpsLimit = 100;
// The rpm field starts at "4000"; the limit starts at what it shows.
inline constexpr int kDefaultRpmLimit = 4000;
inline constexpr int kMaxRpmLimit = 8000;

struct AnalyserFilter {
    int tpsrange_value = kDefaultTpsLimit;
    int rpmrange_value = kDefaultRpmLimit;

    bool passes(std::int32_t tps, std::int32_t rpm) const { return tps >= tpsrange_value || rpm >= rpmrange_value; }
};

// A limit typed into a filter field: a whole number 0..max, blanks around
// it allowed. nullopt for anything else.
std::optional<int> parse_filter_limit(std::string_view text, int max);

}  // namespace korv::player
