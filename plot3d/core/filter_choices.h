#pragma once
// The ten values each row of "Database Filter" offers for a numeric field,
// and the check of a row's chosen pair.
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace korv::plot3d {

// Ten evenly spaced values from min to max. The first and last are exactly
// min and max, so a filter on them keeps the extreme records (stepping to the
// end falls short of max in some ranges).
std::array<float, 10> filter_steps(float min, float max);

// The texts the choices show, each reading back to its value.
std::array<std::string, 10> filter_step_texts(float min, float max);

// A row's bounds from its choices' texts; none for "- N/A -".
struct FilterRow {
    std::optional<float> min, max;
};
// The text of a choice: "- N/A -" or one of the step texts.
std::optional<float> filter_choice_value(std::string_view text);
// Both bounds set and min >= max: the row cannot be applied.
bool filter_row_mismatch(const FilterRow& row);

inline constexpr std::string_view kNotApplicable = "- N/A -";
// Said by the dialog and the plot's status line when a filter keeps nothing.
inline constexpr std::string_view kNoRecordPasses = "No record passes the filter";

}  // namespace korv::plot3d
