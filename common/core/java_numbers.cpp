#include "common/core/java_numbers.h"

#include "common/core/decimal_digits.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <system_error>

namespace korv {
namespace {

// A decimal d1.d2d3... x 10^exponent with no trailing zeros beyond the first
// digit. Held in place: the texts are built per record.
struct Decimal {
    char digits[24];
    int count = 0;
    int exponent = 0;
};

void drop_trailing_zeros(Decimal& d) {
    while (d.count > 1 && d.digits[d.count - 1] == '0') --d.count;
}

// Splits to_chars' scientific text ("1.3879999e+01", "3e+03") into digits and exponent.
Decimal split_scientific(const char* first, const char* last) {
    Decimal d;
    const char* p = first;
    for (; p != last && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') d.digits[d.count++] = *p;
    }
    if (p != last) ++p;  // the 'e'
    if (p != last && *p == '+') ++p;
    std::from_chars(p, last, d.exponent);
    drop_trailing_zeros(d);
    return d;
}

template <typename Fp>
Fp decimal_value(const Decimal& d) {
    char text[48];
    std::memcpy(text, d.digits, static_cast<std::size_t>(d.count));
    char* end = text + d.count;
    *end++ = 'e';
    end = std::to_chars(end, text + sizeof text, d.exponent - d.count + 1).ptr;
    Fp value{};
    std::from_chars(text, end, value);
    return value;
}

// Two significant digits as an integer 10..99 with its exponent, stepped by one unit.
Decimal two_digit_neighbour(const Decimal& d, int step) {
    int m = (d.digits[0] - '0') * 10 + (d.count > 1 ? d.digits[1] - '0' : 0) + step;
    Decimal out;
    out.exponent = d.exponent;
    if (m >= 100) {
        m /= 10;
        ++out.exponent;
    } else if (m < 10) {
        m = m * 10 + 9;
        --out.exponent;
    }
    out.count = static_cast<int>(std::to_chars(out.digits, out.digits + sizeof out.digits, m).ptr - out.digits);
    drop_trailing_zeros(out);
    return out;
}

// Shortest digits that read back as v. Where a single digit would do, the
// runtime picks the closest decimal of at most two digits instead (so the
// smallest subnormal float is 1.4E-45, not 1.0E-45). That can differ only
// for a subnormal: a normal value lies far closer to its one-digit decimal
// than half a unit of a second digit.
template <typename Fp>
Decimal shortest_digits(Fp v) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    const Decimal shortest = split_scientific(buf, res.ptr);
    if (shortest.count != 1 || v >= std::numeric_limits<Fp>::min()) return shortest;

    res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 1);
    const Decimal nearest = split_scientific(buf, res.ptr);
    const Fp nearest_value = decimal_value<Fp>(nearest);
    if (nearest_value == v) return nearest;
    // The nearest two-digit decimal fell outside v's rounding interval (only
    // possible where the interval is lopsided); the nearest on the other side is inside.
    const Decimal other = two_digit_neighbour(nearest, nearest_value > v ? -1 : 1);
    return decimal_value<Fp>(other) == v ? other : shortest;
}

// A few characters at a time: a plain loop beats a call to memcpy here.
char* put(char* out, const char* text, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) *out++ = text[i];
    return out;
}

char* put_zeros(char* out, int n) {
    for (int i = 0; i < n; ++i) *out++ = '0';
    return out;
}

// Kept out of line, so the usual floats cost no more than they need.
template <typename Fp>
[[gnu::noinline]] char* java_to_chars(char* out, Fp v) {
    if (std::isnan(v)) return put(out, "NaN", 3);
    if (std::signbit(v)) *out++ = '-';
    if (std::isinf(v)) return put(out, "Infinity", 8);
    if (v == 0) return put(out, "0.0", 3);

    const Decimal d = shortest_digits(std::fabs(v));
    const int e = d.exponent;
    const auto digits = [&](int from, int to) {
        return put(out, d.digits + from, static_cast<std::size_t>(to - from));
    };
    if (e >= -3 && e < 7) {
        if (e >= 0) {
            const int int_len = e + 1;
            if (d.count <= int_len) {
                out = digits(0, d.count);
                out = put_zeros(out, int_len - d.count);
                out = put(out, ".0", 2);
            } else {
                out = digits(0, int_len);
                *out++ = '.';
                out = digits(int_len, d.count);
            }
        } else {
            out = put(out, "0.", 2);
            out = put_zeros(out, -e - 1);
            out = digits(0, d.count);
        }
    } else {
        *out++ = d.digits[0];
        *out++ = '.';
        out = d.count > 1 ? digits(1, d.count) : put(out, "0", 1);
        *out++ = 'E';
        out = std::to_chars(out, out + 8, e).ptr;
    }
    return out;
}

}  // namespace

char* java_float_to_chars_general(char* out, float v) { return java_to_chars(out, v); }

char* java_double_to_chars(char* out, double v) { return java_to_chars(out, v); }

std::string java_float_to_string(float v) {
    char text[kJavaNumberChars];
    return std::string(text, java_float_to_chars(text, v));
}

std::string java_double_to_string(double v) {
    char text[kJavaNumberChars];
    return std::string(text, java_double_to_chars(text, v));
}

}  // namespace korv
