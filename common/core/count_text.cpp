#include "common/core/count_text.h"

namespace korv {

std::string counted(std::uint64_t n, std::string_view one, std::string_view many) {
    std::string text = std::to_string(n);
    text += ' ';
    text += n == 1 ? one : many;
    return text;
}

}  // namespace korv
