#pragma once
// Numbers typed into dialog fields: the field's leading number, 0 when it
// has none, whatever the user's locale.
#include <string>
#include <string_view>

namespace korv::dyno {

float field_float(std::string_view text);
int field_int(std::string_view text);

// printf's "%.*f" in the C locale.
std::string field_text(double value, int decimals);

}  // namespace korv::dyno
