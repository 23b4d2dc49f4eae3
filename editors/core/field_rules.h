#pragma once
// What the editors' typed fields take: a whole integer in a range, for some
// an even one, each kind with the messages that refuse it. The windows check
// a field's text here when it loses the focus.
#include <optional>
#include <string_view>

namespace korv::editors {

struct FieldRule {
    int low = 0;
    int high = 0;
    std::string_view refusal;      // not a whole number, or out of range
    std::string_view odd_refusal;  // set: the number must be even
};

// A knob of the AFC and ITC editors.
inline constexpr FieldRule kKnobField{-30, 30, "Must be numeric -30 to +30!", {}};
// The VCD AFC editor's set points (by line: rpm, low- and high-throttle
// adjustment) and its two throttle points.
inline constexpr FieldRule kVcdRpmField{1000, 8000, "Must be numeric 1000 to 8000!", {}};
inline constexpr FieldRule kVcdAdjustField{-50, 50, "Must be numeric -50 to 50!", {}};
inline constexpr FieldRule kVcdThrottleField{10, 100, "Must be numeric 10 to 100!", {}};
inline constexpr FieldRule kVcdSetPointFields[3] = {kVcdRpmField, kVcdAdjustField, kVcdAdjustField};
// The PMS editor's fuel and timing cells.
inline constexpr FieldRule kPmsFuelField{-50, 50, "Must be numeric -50 to 50!", "Must be a multiple of 2!"};
inline constexpr FieldRule kPmsTimingField{-20, 20, "Must be numeric -20 to 20!", {}};

// Whole-text integer in [low, high] as a field accepts it: blanks and tabs
// around it and one sign before it.
std::optional<int> parse_field(std::string_view text, int low, int high);

// The number `text` gives under `rule`, or the message that refuses it.
struct FieldCheck {
    std::optional<int> value;
    std::string_view refusal;  // empty when accepted
};
FieldCheck check_field(std::string_view text, const FieldRule& rule);

// The part of a simulated move of `value` that keeps it within what its
// field accepts, so the simulator never leaves a value the person could not
// type; a value already outside (read from a file) is not taken further out.
int move_within_field(int value, int move, const FieldRule& rule);

}  // namespace korv::editors
