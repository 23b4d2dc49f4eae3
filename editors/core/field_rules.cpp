#include "editors/core/field_rules.h"

#include "common/core/number_text.h"

#include <algorithm>

namespace korv::editors {

std::optional<int> parse_field(std::string_view text, int low, int high) {
    const auto parsed = parse_int32(text);
    if (!parsed) return std::nullopt;
    std::string_view rest = text.substr(parsed->end);
    while (!rest.empty() && (rest.front() == ' ' || rest.front() == '\t')) rest.remove_prefix(1);
    if (!rest.empty() || parsed->value < low || parsed->value > high) return std::nullopt;
    return parsed->value;
}

FieldCheck check_field(std::string_view text, const FieldRule& rule) {
    const std::optional<int> value = parse_field(text, rule.low, rule.high);
    if (!value) return {std::nullopt, rule.refusal};
    if (!rule.odd_refusal.empty() && *value % 2 != 0) return {std::nullopt, rule.odd_refusal};
    return {value, {}};
}

int move_within_field(int value, int move, const FieldRule& rule) {
    const int lowest = std::min(rule.low, value);
    const int highest = std::max(rule.high, value);
    return std::clamp(move, lowest - value, highest - value);
}

}  // namespace korv::editors
