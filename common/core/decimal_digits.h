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

// u's digits at out (at most 10 characters); returns their end.
[[gnu::always_inline]] inline char* put_decimal(char* out, std::uint32_t u) {
    if (u >= 100000000) return std::to_chars(out, out + 10, u).ptr;
    const int length = u < 10         ? 1
                       : u < 100      ? 2
                       : u < 1000     ? 3
                       : u < 10000    ? 4
                       : u < 100000   ? 5
                       : u < 1000000  ? 6
                       : u < 10000000 ? 7
                                      : 8;
    char* const end = out + length;
    char* p = end;
    while (u >= 100) {
        p -= 2;
        std::memcpy(p, kDecimalDigitPairs + 2 * (u % 100), 2);
        u /= 100;
    }
    if (u >= 10) {
        std::memcpy(p - 2, kDecimalDigitPairs + 2 * u, 2);
    } else {
        p[-1] = static_cast<char>('0' + u);
    }
    return end;
}

// v's digits, with '-' when negative (at most 20 characters); returns their end.
[[gnu::always_inline]] inline char* put_decimal(char* out, std::int64_t v) {
    if (v <= -100000000 || v >= 100000000) return std::to_chars(out, out + 20, v).ptr;
    if (v < 0) *out++ = '-';
    return put_decimal(out, static_cast<std::uint32_t>(v < 0 ? -v : v));
}

}  // namespace korv
