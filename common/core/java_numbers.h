#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <type_traits>

#include "common/core/decimal_digits.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Number semantics of the runtime that defined the stored formats.
//
// Narrowing a floating value to an integer follows its rules instead of C++'s
// (where an out-of-range or NaN value is undefined behaviour): NaN gives 0,
// values beyond the range clamp to its ends, everything else truncates
// toward zero.
namespace korv {

namespace detail {
template <typename Int, typename Fp>
constexpr Int saturating_to_int(Fp v) {
    // -2^(bits-1) and 2^(bits-1): powers of two, exact in any binary floating type.
    constexpr Fp lower = static_cast<Fp>(std::numeric_limits<Int>::min());
    constexpr Fp upper = -lower;
    if (v != v) return 0;
    if (v >= upper) return std::numeric_limits<Int>::max();
    if (v <= lower) return std::numeric_limits<Int>::min();
    return static_cast<Int>(v);
}
}  // namespace detail

constexpr std::int32_t saturating_float_to_int32(float v) {
#if defined(__SSE2__)
    // The player converts every value of every record: one instruction and one
    // test for the usual case. cvttss2si yields INT_MIN for NaN and for
    // anything out of range, so only that result needs the full rules.
    if (!std::is_constant_evaluated()) {
        const std::int32_t r = _mm_cvttss_si32(_mm_set_ss(v));
        if (r != std::numeric_limits<std::int32_t>::min()) return r;
    }
#endif
    return detail::saturating_to_int<std::int32_t>(v);
}
constexpr std::int64_t saturating_float_to_int64(float v) { return detail::saturating_to_int<std::int64_t>(v); }
constexpr std::int32_t saturating_double_to_int32(double v) { return detail::saturating_to_int<std::int32_t>(v); }
constexpr std::int64_t saturating_double_to_int64(double v) { return detail::saturating_to_int<std::int64_t>(v); }

// A cast to an 8-bit integer goes through a 32-bit one and then keeps the
// low byte: 200.0 becomes -56.
constexpr std::int8_t saturating_float_to_int8(float v) {
    return static_cast<std::int8_t>(
        static_cast<std::uint8_t>(static_cast<std::uint32_t>(saturating_float_to_int32(v)) & 0xFFu));
}

// v truncated toward zero to two decimals, every step in single precision:
// (float)(int)(v * 100f) / 100f. A double computation gives other results
// (0.29f would become 0.28). The last step is written as a multiply in
// double: for every whole-number float t up to 2^31 in magnitude (checked
// for each), t * 0.01 in double rounds to the same float as t / 100f, and
// the player takes this step for every value of every record.
inline float trim_decimals(float v) {
    const float whole = static_cast<float>(saturating_float_to_int32(v * 100.0f));
    return static_cast<float>(static_cast<double>(whole) * 0.01);
}

// The runtime's shortest text of a number: "3000.0", "13.879999", "1.0E-4",
// "1.0E7", "-0.0", "NaN", "Infinity". Decimal notation for
// 1e-3 <= |v| < 1e7, else "d.dddE[-]n"; always at least one fraction digit.
std::string java_float_to_string(float v);
std::string java_double_to_string(double v);

// The same texts written at `out`, which must have room for kJavaNumberChars
// characters; returns the end of the text. No allocation, for texts built
// per record.
inline constexpr std::size_t kJavaNumberChars = 32;
char* java_double_to_chars(char* out, double v);

namespace java_numbers_detail {

// The usual float of a log, a value of at most two decimals such as 13.88
// or 3000.0, positive and below 2^17, without the general shortest-digits
// search. There a float's rounding interval is narrower than 0.01, so it
// holds at most one decimal of two fraction digits, and every shorter
// decimal inside it is one of those too (1.5 is 1.50). So when the nearest
// such decimal n / 100 reads back as v, its digits without trailing fraction
// zeros are the text. Else nullptr.
//
// Reading n / 100 back gives n / 100.0f (n and 100 are exact, and the
// division rounds as reading does); for every whole n below 2^24 that is the
// float nearest n * 0.01 in double (checked for each), which is quicker.
[[gnu::always_inline]] inline char* two_decimals_to_chars(char* out, float v) {
    if (!(v >= 0.01f && v < 131072.0f)) return nullptr;  // also refuses NaN
    const double x = static_cast<double>(v) * 100.0;     // exact: 24 bits times 7
    const double n = (x + 0x1p52) - 0x1p52;              // x rounded to a whole number, exactly
    if (static_cast<float>(n * 0.01) != v) return nullptr;
    const auto whole_n = static_cast<std::uint32_t>(n);
    out = put_decimal(out, whole_n / 100);
    *out++ = '.';
    const char* fraction = kDecimalDigitPairs + 2 * (whole_n % 100);
    std::memcpy(out, fraction, 2);
    return out + (fraction[1] == '0' ? 1 : 2);
}

}  // namespace java_numbers_detail

// Any float, the general way (java_float_to_chars tries the usual ones of a
// log inline first).
char* java_float_to_chars_general(char* out, float v);

// Inline for the usual floats: a record's text prints several.
[[gnu::always_inline]] inline char* java_float_to_chars(char* out, float v) {
    if (v > 0.0f) {
        if (char* end = java_numbers_detail::two_decimals_to_chars(out, v)) return end;
    } else if (v < 0.0f) {
        *out = '-';
        if (char* end = java_numbers_detail::two_decimals_to_chars(out + 1, -v)) return end;
    } else if (v == 0.0f && !std::signbit(v)) {
        // A channel a log does not carry (a VXM record's boost, say) reads 0.
        std::memcpy(out, "0.0", 3);
        return out + 3;
    }
    return java_float_to_chars_general(out, v);
}

}  // namespace korv
