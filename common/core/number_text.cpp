#include "common/core/number_text.h"

#include "common/core/plain_decimal.h"

#include <charconv>
#include <cmath>
#include <system_error>
#include <type_traits>

namespace korv {
namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

template <typename T>
std::optional<ParsedNumber<T>> parse_number(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t sign_at = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    // Demanding a digit (or a decimal point) here keeps out a second sign and
    // the "nan"/"inf" spellings that from_chars would take.
    const bool starts_number =
        i < text.size() && (is_digit(text[i]) || (std::is_floating_point_v<T> && text[i] == '.'));
    if (!starts_number) return std::nullopt;

    // from_chars takes '-' itself (which keeps the most negative integer
    // reachable) but not '+', so a '+' is stepped over.
    const char* first = text.data() + (negative ? sign_at : i);
    const char* last = text.data() + text.size();
    T value{};
    std::from_chars_result res;
    if constexpr (std::is_floating_point_v<T>) {
        // Most numbers are plain decimals, read exactly without from_chars.
        const char* stop = text.data() + sign_at;
        if (read_plain_decimal(stop, last, value))
            return ParsedNumber<T>{value, static_cast<std::size_t>(stop - text.data())};
        res = std::from_chars(first, last, value, std::chars_format::general);
    } else {
        res = std::from_chars(first, last, value, 10);
    }
    if (res.ec != std::errc()) return std::nullopt;
    return ParsedNumber<T>{value, static_cast<std::size_t>(res.ptr - text.data())};
}

}  // namespace

std::optional<ParsedNumber<float>> parse_float(std::string_view text) { return parse_number<float>(text); }
std::optional<ParsedNumber<double>> parse_double(std::string_view text) { return parse_number<double>(text); }
std::optional<ParsedNumber<std::int32_t>> parse_int32(std::string_view text) {
    return parse_number<std::int32_t>(text);
}
std::optional<ParsedNumber<std::int64_t>> parse_int64(std::string_view text) {
    return parse_number<std::int64_t>(text);
}

void append_fixed(std::string& out, double v, int decimals) {
    if (decimals < 0) decimals = 6;
    // A double's exact value has at most 1074 decimals; any further are zeros.
    constexpr int kExactDecimals = 1074;
    const int computed = decimals < kExactDecimals ? decimals : kExactDecimals;
    // Sign, up to 309 integer digits, the point and the decimals.
    char buf[320 + kExactDecimals];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, computed);
    out.append(buf, res.ptr);
    if (decimals > computed && std::isfinite(v)) out.append(static_cast<std::size_t>(decimals - computed), '0');
}

std::string format_fixed(double v, int decimals) {
    std::string out;
    append_fixed(out, v, decimals);
    return out;
}

}  // namespace korv
