#include "plot3d/core/filter_choices.h"

#include "common/core/java_numbers.h"
#include "common/core/number_text.h"

namespace korv::plot3d {

std::array<float, 10> filter_steps(float min, float max) {
    std::array<float, 10> steps;
    const float step = (max - min) / 9.0f;
    for (int i = 0; i < 10; ++i) steps[static_cast<std::size_t>(i)] = min + static_cast<float>(i) * step;
    steps[0] = min;
    steps[9] = max;
    return steps;
}

std::array<std::string, 10> filter_step_texts(float min, float max) {
    std::array<std::string, 10> texts;
    const auto steps = filter_steps(min, max);
    for (std::size_t i = 0; i < steps.size(); ++i) texts[i] = java_float_to_string(steps[i]);
    return texts;
}

std::optional<float> filter_choice_value(std::string_view text) {
    if (text == kNotApplicable) return std::nullopt;
    const auto parsed = parse_float(text);
    if (!parsed || parsed->end != text.size()) return std::nullopt;
    return parsed->value;
}

bool filter_row_mismatch(const FilterRow& row) { return row.min && row.max && *row.min >= *row.max; }

}  // namespace korv::plot3d
