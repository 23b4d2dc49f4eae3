#include "player/core/analyser_filter.h"

#include "common/core/number_text.h"

namespace korv::player {

std::optional<int> parse_filter_limit(std::string_view text, int max) {
    const auto parsed = parse_int32(text);
    if (!parsed) return std::nullopt;
    for (std::size_t i = parsed->end; i < text.size(); ++i) {
        if (text[i] != ' ' && text[i] != '\t') return std::nullopt;
    }
    if (parsed->value < 0 || parsed->value > max) return std::nullopt;
    return parsed->value;
}

}  // namespace korv::player
