#pragma once
// The checks "Visualization Options" makes before it applies anything, and
// the messages it shows when one fails.
#include "common/core/colour.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace korv::plot3d {

struct OptionMessage {
    std::string_view first, second;
    bool operator==(const OptionMessage&) const = default;
};

inline constexpr OptionMessage kIdenticalChoices{"X/Y/Z/Size choices", "cannot be identical."};
inline constexpr OptionMessage kSameStringTwice{"Error: Distinct colors", "for the same string."};
inline constexpr OptionMessage kScaleMismatch{"Error: Min/Max values", "for scale don't match."};
inline constexpr OptionMessage kScaleNotNumbers{"Error: Min/Max values", "must be numbers."};

// X, Y, Z and Size as field indexes, -1 for "None" (which may repeat).
bool choices_distinct(const std::array<int, 4>& fields);

// The colour table of the twelve rows: each row's chosen value (none for
// "- N/A -") to that row's colour. No table when two rows chose one value.
using ColourTable = std::map<std::string, Colour>;
std::optional<ColourTable> colour_table(const std::array<std::optional<std::string>, 12>& rows);

// One Min/Max pair of the "Scale" columns.
struct ScaleBounds {
    float min = 0, max = 0;
    bool from_data = false;  // both texts empty: the range comes from the table
};

// An empty text counts as 0; anything else must be a whole finite number
// (blanks around it allowed). No bounds when a text is not.
std::optional<ScaleBounds> read_scale(std::string_view min_text, std::string_view max_text);

// The four pairs X, Y, Z, Size read and checked: the message of the first
// failure, or the bounds. Only the axes must have min <= max.
std::variant<OptionMessage, std::array<ScaleBounds, 4>> read_scales(const std::array<std::string_view, 4>& min_texts,
                                                                    const std::array<std::string_view, 4>& max_texts);

}  // namespace korv::plot3d
