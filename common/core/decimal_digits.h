#pragma once

#include <charconv>
#include <cstdint>
#include <cstring>

// Whole numbers as decimal digits, written in place: the texts built per
// record print a dozen small numbers each, where the length is found first
// and the digits come two at a time from a table. Always inlined, so the
// writer's position stays in a register.
namespace korv {

inline constexpr char kDecimalDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

namespace decimal_digits_detail {

// The N digits of u (exactly N: 10^(N-1) <= u < 10^N, or u < 10 for N = 1)
// at out, in straight lines: a pair at a time from the table, and a number
// of five digits or more split into halves first, so the two halves' pairs
// are worked out side by side rather than one division after another.
template <int N>
[[gnu::always_inline]] inline void put_digits(char* out, std::uint32_t u) {
    if constexpr (N == 1) {
        *out = static_cast<char>('0' + u);
    } else if constexpr (N == 2) {
        std::memcpy(out, kDecimalDigitPairs + 2 * u, 2);
    } else if constexpr (N <= 4) {
        put_digits<N - 2>(out, u / 100);
        std::memcpy(out + N - 2, kDecimalDigitPairs + 2 * (u % 100), 2);
    } else {
        put_digits<N - 4>(out, u / 10000);
        const std::uint32_t low = u % 10000;
        std::memcpy(out + N - 4, kDecimalDigitPairs + 2 * (low / 100), 2);
        std::memcpy(out + N - 2, kDecimalDigitPairs + 2 * (low % 100), 2);
    }
}

template <int N>
[[gnu::always_inline]] inline char* put_exactly(char* out, std::uint32_t u) {
    put_digits<N>(out, u);
    return out + N;
}

}  // namespace decimal_digits_detail

// u's digits at out (at most 10 characters); returns their end. The length
// is found by halving the range, each length then written in a straight line.
[[gnu::always_inline]] inline char* put_decimal(char* out, std::uint32_t u) {
    namespace d = decimal_digits_detail;
    if (u < 10000) {
        if (u < 100) return u < 10 ? d::put_exactly<1>(out, u) : d::put_exactly<2>(out, u);
        return u < 1000 ? d::put_exactly<3>(out, u) : d::put_exactly<4>(out, u);
    }
    if (u < 100000000) {
        if (u < 1000000) return u < 100000 ? d::put_exactly<5>(out, u) : d::put_exactly<6>(out, u);
        return u < 10000000 ? d::put_exactly<7>(out, u) : d::put_exactly<8>(out, u);
    }
    return std::to_chars(out, out + 10, u).ptr;
}

// v's digits, with '-' when negative (at most 20 characters); returns their end.
[[gnu::always_inline]] inline char* put_decimal(char* out, std::int64_t v) {
    if (v <= -100000000 || v >= 100000000) return std::to_chars(out, out + 20, v).ptr;
    if (v < 0) *out++ = '-';
    return put_decimal(out, static_cast<std::uint32_t>(v < 0 ? -v : v));
}

// The same for a 32-bit value (at most 11 characters), with no range check.
[[gnu::always_inline]] inline char* put_decimal(char* out, std::int32_t v) {
    if (v < 0) *out++ = '-';
    return put_decimal(out, v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v));
}

}  // namespace korv
