#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
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

namespace plain_decimal_detail {

// For x, eight characters each XORed with '0' (the first in the lowest
// byte), the top bit of each byte that is not a digit. Nothing carries from
// one byte into a flag of another, so every byte is told apart.
inline std::uint64_t non_digit_bits(std::uint64_t x) {
    // High nibble set, or low nibble past 9.
    const std::uint64_t t =
        (x & 0xF0F0F0F0F0F0F0F0) | (((x & 0x0F0F0F0F0F0F0F0F) + 0x0606060606060606) & 0x1010101010101010);
    // t's bytes are multiples of 0x10: adding 0x70 reaches the top bit of
    // every one but 0, and what carries out of a byte that already has it
    // cannot reach the top bit of the next.
    return (t | (t + 0x7070707070707070)) & 0x8080808080808080;
}

inline unsigned first_flagged_byte(std::uint64_t bits) {
    return bits == 0 ? 8 : static_cast<unsigned>(std::countr_zero(bits)) / 8;
}

// The integer of eight digit values, the first (most significant) in the
// lowest byte: three multiplications instead of eight steps.
inline std::uint64_t eight_digits_value(std::uint64_t v) {
    v = v * 10 + (v >> 8);  // pairs
    constexpr std::uint64_t kPairs = 0x000000FF000000FF;
    return (((v & kPairs) * (100 + (std::uint64_t{1000000} << 32))) +
            (((v >> 16) & kPairs) * (1 + (std::uint64_t{10000} << 32)))) >>
           32;
}

// The plain decimal at q (eight characters from q must be readable) when it
// ends within them: at most seven characters, so always an exact mantissa
// and power. Gives its mantissa, decimals and length; false when it does not
// end there or has no digits, and the caller reads it a character at a time.
inline bool read_short_decimal(const char* q, std::uint64_t& mantissa, std::ptrdiff_t& decimals, unsigned& length) {
    std::uint64_t w;
    std::memcpy(&w, q, sizeof w);
    const std::uint64_t x = w ^ 0x3030303030303030;  // digits become their values
    const std::uint64_t flags = non_digit_bits(x);
    const unsigned point = first_flagged_byte(flags);
    const bool has_point = point < 8 && q[point] == '.';
    const unsigned stop = has_point ? first_flagged_byte(flags & (flags - 1)) : point;
    if (stop == 8 || stop == unsigned{has_point}) return false;
    std::uint64_t digits = x;
    if (has_point) {
        // The digits before the point move up over it; a zero digit leads.
        const std::uint64_t before = (std::uint64_t{1} << (8 * point)) - 1;
        digits = ((x & before) << 8) | (x & (~before << 8));
    }
    // Leading zeros fill the low bytes; what followed the number falls out.
    mantissa = eight_digits_value(digits << (8 * (8 - stop)));
    decimals = has_point ? static_cast<std::ptrdiff_t>(stop - point - 1) : 0;
    length = stop;
    return true;
}

}  // namespace plain_decimal_detail

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
    if constexpr (std::endian::native == std::endian::little) {
        // Most numbers in logs are short: read them a word at a time.
        std::uint64_t mantissa = 0;
        std::ptrdiff_t decimals = 0;
        unsigned length = 0;
        if (end - q >= 8 && plain_decimal_detail::read_short_decimal(q, mantissa, decimals, length)) {
            if (q[length] == 'e' || q[length] == 'E') return false;
            const T magnitude = plain_decimal_value<T>(mantissa, decimals);
            value = negative ? -magnitude : magnitude;
            p = q + length;
            return true;
        }
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
