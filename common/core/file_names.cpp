#include "common/core/file_names.h"

#include <cstddef>

namespace korv {

bool ends_with_case_blind(std::string_view text, std::string_view lower_suffix) {
    if (text.size() < lower_suffix.size()) return false;
    const std::string_view tail = text.substr(text.size() - lower_suffix.size());
    for (std::size_t i = 0; i < tail.size(); ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != lower_suffix[i]) return false;
    }
    return true;
}

}  // namespace korv
