#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Locale-independent reading and printing of numbers in text files.
//
// The C library's number functions follow the process locale, which a GUI
// toolkit sets from the environment; a German user would then read "3.5" as 3
// and write "3,50". These helpers always use '.' and no grouping.
namespace korv {

template <typename T>
struct ParsedNumber {
    T value;
    std::size_t end;  // index just past the number's last character
};

// Skip leading spaces and tabs, accept one leading '+' or '-', then read the
// longest number there. Text after the number is left to the caller (see
// `end`). Refused (nullopt): no digits, "nan"/"inf" in any spelling, values
// outside the type's range (and, for floating types, values that round to
// zero from a nonzero text).
std::optional<ParsedNumber<float>> parse_float(std::string_view text);
std::optional<ParsedNumber<double>> parse_double(std::string_view text);
std::optional<ParsedNumber<std::int32_t>> parse_int32(std::string_view text);
std::optional<ParsedNumber<std::int64_t>> parse_int64(std::string_view text);

// The text printf("%.*f", decimals, v) gives in the C locale, correctly
// rounded. A negative count means 6, as in printf.
std::string format_fixed(double v, int decimals);
void append_fixed(std::string& out, double v, int decimals);

}  // namespace korv
