#include "plot3d/core/option_rules.h"

#include "common/core/number_text.h"
#include "plot3d/core/plot_colours.h"

#include <cmath>

namespace korv::plot3d {

namespace {

std::string_view trimmed(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}

// Empty text: 0. Otherwise the whole text must be a finite number.
std::optional<float> read_bound(std::string_view text) {
    text = trimmed(text);
    if (text.empty()) return 0.0f;
    const auto parsed = parse_float(text);
    if (!parsed || parsed->end != text.size() || !std::isfinite(parsed->value)) return std::nullopt;
    return parsed->value;
}

}  // namespace

bool choices_distinct(const std::array<int, 4>& fields) {
    for (std::size_t i = 0; i < fields.size(); ++i)
        for (std::size_t j = i + 1; j < fields.size(); ++j)
            if (fields[i] >= 0 && fields[i] == fields[j]) return false;
    return true;
}

std::optional<ColourTable> colour_table(const std::array<std::optional<std::string>, 12>& rows) {
    const auto colours = colour_rows();
    ColourTable table;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i]) continue;
        if (!table.emplace(*rows[i], colours[i]).second) return std::nullopt;
    }
    return table;
}

std::optional<ScaleBounds> read_scale(std::string_view min_text, std::string_view max_text) {
    const auto min = read_bound(min_text);
    const auto max = read_bound(max_text);
    if (!min || !max) return std::nullopt;
    return ScaleBounds{*min, *max, trimmed(min_text).empty() && trimmed(max_text).empty()};
}

std::variant<OptionMessage, std::array<ScaleBounds, 4>> read_scales(const std::array<std::string_view, 4>& min_texts,
                                                                    const std::array<std::string_view, 4>& max_texts) {
    std::array<ScaleBounds, 4> scales;
    for (std::size_t i = 0; i < scales.size(); ++i) {
        const auto scale = read_scale(min_texts[i], max_texts[i]);
        if (!scale) return kScaleNotNumbers;
        scales[i] = *scale;
    }
    for (std::size_t i = 0; i < 3; ++i)
        if (scales[i].min > scales[i].max) return kScaleMismatch;
    return scales;
}

}  // namespace korv::plot3d
