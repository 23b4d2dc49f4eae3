#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <type_traits>

// The quick reading of a plain decimal ("2000.50", "-7", ".5", "5."), for
// loops that read many of them: inline, and exact, so it gives the very
// value parse_float / parse_double give. Its digits must make an integer the
// type holds exactly and its decimals a power of ten the type holds exactly:
// their quotient, rounded once, is then the correctly rounded value. Anything
// else (blanks, exponents, long digit strings, no digits) is refused, and
// the caller reads the text the general way.
namespace korv {

// mantissa / 10^decimals, correctly rounded, for a mantissa and a count of
// decimals read_plain_decimal takes. A double's quotient is one exact
// division. A float's is the product with the power's reciprocal in double,
// rounded to float: for every mantissa up to 2^24 and every power up to
// 10^10 that is the float quotient's value (a test goes through them all),
// at the cost of a multiplication.
template <typename T>
inline T plain_decimal_value(std::uint64_t mantissa, std::ptrdiff_t decimals) {
    if constexpr (std::is_same_v<T, float>) {
        static constexpr double kReciprocals[] = {1e0, 1e-1, 1e-2, 1e-3, 1e-4, 1e-5, 1e-6, 1e-7, 1e-8, 1e-9, 1e-10};
        return static_cast<float>(static_cast<double>(mantissa) * kReciprocals[decimals]);
    } else {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        return static_cast<double>(mantissa) / kPowers[decimals];
    }
}

// Reads an optional sign and the decimal at p; on success moves p past the
// number. A number followed by 'e' or 'E' is refused (it may be an exponent).
template <typename T>
inline bool read_plain_decimal(const char*& p, const char* end, T& value) {
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, double>);
    constexpr std::uint64_t kExactMantissa = std::uint64_t{1} << std::numeric_limits<T>::digits;
    constexpr std::ptrdiff_t kExactPowers = std::is_same_v<T, float> ? 10 : 22;
    constexpr std::ptrdiff_t kMaxDigits = 17;  // below 2^64 whatever they are
    const char* q = p;
    bool negative = false;
    if (q != end && (*q == '-' || *q == '+')) {
        negative = *q == '-';
        ++q;
    }
    const char* const first = q;
    std::uint64_t mantissa = 0;
    unsigned digit = 0;
    while (q != end && (digit = static_cast<unsigned char>(*q) - unsigned{'0'}) <= 9) {
        mantissa = mantissa * 10 + digit;
        ++q;
    }
    std::ptrdiff_t digits = q - first;
    std::ptrdiff_t decimals = 0;
    if (q != end && *q == '.') {
        const char* const fraction = ++q;
        while (q != end && (digit = static_cast<unsigned char>(*q) - unsigned{'0'}) <= 9) {
            mantissa = mantissa * 10 + digit;
            ++q;
        }
        decimals = q - fraction;
        digits += decimals;
    }
    if (digits == 0 || digits > kMaxDigits || mantissa > kExactMantissa || decimals > kExactPowers) return false;
    if (q != end && (*q == 'e' || *q == 'E')) return false;
    const T magnitude = plain_decimal_value<T>(mantissa, decimals);
    value = negative ? -magnitude : magnitude;
    p = q;
    return true;
}

}  // namespace korv
