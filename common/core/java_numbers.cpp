#include "common/core/java_numbers.h"

#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

namespace korv {
namespace {

// A decimal d1.d2d3... x 10^exponent with no trailing zeros beyond the first digit.
struct Decimal {
    std::string digits;
    int exponent = 0;
};

// Splits to_chars' scientific text ("1.3879999e+01", "3e+03") into digits and exponent.
Decimal split_scientific(std::string_view text) {
    Decimal d;
    const std::size_t e = text.find('e');
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9') d.digits.push_back(text[i]);
    }
    std::string_view exp = text.substr(e + 1);
    if (!exp.empty() && exp.front() == '+') exp.remove_prefix(1);
    std::from_chars(exp.data(), exp.data() + exp.size(), d.exponent);
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

template <typename Fp>
Fp decimal_value(const Decimal& d) {
    const int scale = d.exponent - static_cast<int>(d.digits.size()) + 1;
    const std::string text = d.digits + "e" + std::to_string(scale);
    Fp value{};
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Two significant digits as an integer 10..99 with its exponent, stepped by one unit.
Decimal two_digit_neighbour(const Decimal& d, int step) {
    int m = (d.digits[0] - '0') * 10 + (d.digits.size() > 1 ? d.digits[1] - '0' : 0) + step;
    int exponent = d.exponent;
    if (m >= 100) {
        m /= 10;
        ++exponent;
    } else if (m < 10) {
        m = m * 10 + 9;
        --exponent;
    }
    Decimal out{std::to_string(m), exponent};
    while (out.digits.size() > 1 && out.digits.back() == '0') out.digits.pop_back();
    return out;
}

// Shortest digits that read back as v. Where a single digit would do, the
// runtime picks the closest decimal of at most two digits instead (so the
// smallest subnormal float is 1.4E-45, not 1.0E-45).
template <typename Fp>
Decimal shortest_digits(Fp v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    Decimal shortest = split_scientific(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
    if (shortest.digits.size() != 1) return shortest;

    res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 1);
    Decimal nearest = split_scientific(std::string_view(buf, static_cast<std::size_t>(res.ptr - buf)));
    const Fp nearest_value = decimal_value<Fp>(nearest);
    if (nearest_value == v) return nearest;
    // The nearest two-digit decimal fell outside v's rounding interval (only
    // possible where the interval is lopsided); the nearest on the other side is inside.
    Decimal other = two_digit_neighbour(nearest, nearest_value > v ? -1 : 1);
    return decimal_value<Fp>(other) == v ? other : shortest;
}

template <typename Fp>
std::string java_to_string(Fp v) {
    if (std::isnan(v)) return "NaN";
    std::string out;
    if (std::signbit(v)) out.push_back('-');
    if (std::isinf(v)) return out + "Infinity";
    if (v == 0) return out + "0.0";

    const Decimal d = shortest_digits(std::fabs(v));
    const int e = d.exponent;
    if (e >= -3 && e < 7) {
        if (e >= 0) {
            const std::size_t int_len = static_cast<std::size_t>(e) + 1;
            if (d.digits.size() <= int_len) {
                out += d.digits;
                out.append(int_len - d.digits.size(), '0');
                out += ".0";
            } else {
                out += d.digits.substr(0, int_len);
                out.push_back('.');
                out += d.digits.substr(int_len);
            }
        } else {
            out += "0.";
            out.append(static_cast<std::size_t>(-e - 1), '0');
            out += d.digits;
        }
    } else {
        out.push_back(d.digits[0]);
        out.push_back('.');
        out += d.digits.size() > 1 ? d.digits.substr(1) : std::string("0");
        out.push_back('E');
        out += std::to_string(e);
    }
    return out;
}

}  // namespace

std::string java_float_to_string(float v) { return java_to_string(v); }
std::string java_double_to_string(double v) { return java_to_string(v); }

}  // namespace korv
