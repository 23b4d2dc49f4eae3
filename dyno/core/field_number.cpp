#include "dyno/core/field_number.h"

#include "common/core/number_text.h"

namespace korv::dyno {

float field_float(std::string_view text) {
    auto parsed = korv::parse_float(text);
    return parsed ? parsed->value : 0.0f;
}

int field_int(std::string_view text) {
    auto parsed = korv::parse_int32(text);
    return parsed ? parsed->value : 0;
}

std::string field_text(double value, int decimals) { return korv::format_fixed(value, decimals); }

}  // namespace korv::dyno
