#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <system_error>
#include <type_traits>
#include <vector>

#include "common/core/decimal_digits.h"
#include "common/core/java_numbers.h"
#include "common/core/number_text.h"
#include "common/core/plain_decimal.h"

namespace korv {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(TrimDecimals, TruncatesInSinglePrecision) {
    // 0.29f * 100 is 28.999999... in double but rounds to 29.0f in float.
    EXPECT_EQ(trim_decimals(0.29f), 0.29f);
    EXPECT_EQ(trim_decimals(13.87f), 13.87f);
    EXPECT_EQ(trim_decimals(12.349f), 12.34f);
    EXPECT_EQ(trim_decimals(-0.017f), -0.01f);
    EXPECT_EQ(trim_decimals(3000.0f), 3000.0f);
}

TEST(TrimDecimals, SmallNegativeGivesPositiveZero) {
    // The value passes through an int, which has no negative zero.
    const float r = trim_decimals(-0.004f);
    EXPECT_EQ(r, 0.0f);
    EXPECT_FALSE(std::signbit(r));
}

TEST(TrimDecimals, NaNAndHugeValuesSaturate) {
    EXPECT_EQ(trim_decimals(kNaN), 0.0f);
    EXPECT_EQ(trim_decimals(1e30f), 2147483648.0f / 100.0f);
    EXPECT_EQ(trim_decimals(-kInf), -2147483648.0f / 100.0f);
}

TEST(SaturatingCast, FollowsJavaNarrowing) {
    EXPECT_EQ(saturating_float_to_int32(kNaN), 0);
    EXPECT_EQ(saturating_float_to_int32(1e30f), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturating_float_to_int32(-1e30f), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturating_float_to_int32(kInf), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturating_float_to_int32(2147483520.0f), 2147483520);  // largest float below 2^31
    EXPECT_EQ(saturating_float_to_int32(-2147483648.0f), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturating_float_to_int32(-1.9f), -1);
    static_assert(saturating_float_to_int32(1e30f) == std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturating_float_to_int32(1.9f), 1);

    EXPECT_EQ(saturating_float_to_int64(1e30f), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(saturating_float_to_int64(kNaN), 0);
    EXPECT_EQ(saturating_float_to_int64(-3e9f), -3000000000LL);
    EXPECT_EQ(saturating_double_to_int32(2147483647.9), 2147483647);
    EXPECT_EQ(saturating_double_to_int32(2147483648.0), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(saturating_double_to_int32(-2147483649.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(saturating_double_to_int64(std::nan("")), 0);
}

// The division of the definition, against the faster form it is written in,
// across the bit patterns of every kind of float.
TEST(TrimDecimals, GivesTheSinglePrecisionDivisionBitForBit) {
    int failures = 0;
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFull && failures < 10; bits += 251) {
        const float v = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
        const float divided = static_cast<float>(saturating_float_to_int32(v * 100.0f)) / 100.0f;
        if (std::bit_cast<std::uint32_t>(trim_decimals(v)) != std::bit_cast<std::uint32_t>(divided)) {
            ADD_FAILURE() << std::hex << "input 0x" << bits;
            ++failures;
        }
    }
}

TEST(SaturatingCast, EightBitKeepsLowByteOfTheIntResult) {
    EXPECT_EQ(saturating_float_to_int8(-10.75f), -10);
    EXPECT_EQ(saturating_float_to_int8(200.0f), -56);
    EXPECT_EQ(saturating_float_to_int8(-129.0f), 127);
    EXPECT_EQ(saturating_float_to_int8(1e30f), -1);  // 0x7FFFFFFF
    EXPECT_EQ(saturating_float_to_int8(kNaN), 0);
}

TEST(JavaFloatText, DecimalRange) {
    EXPECT_EQ(java_float_to_string(3000.0f), "3000.0");
    EXPECT_EQ(java_float_to_string(std::nextafter(13.88f, 0.0f)), "13.879999");
    EXPECT_EQ(java_float_to_string(13.88f), "13.88");
    EXPECT_EQ(java_float_to_string(0.1f), "0.1");
    EXPECT_EQ(java_float_to_string(0.001f), "0.001");
    EXPECT_EQ(java_float_to_string(9999999.0f), "9999999.0");
    EXPECT_EQ(java_float_to_string(-2.5f), "-2.5");
    EXPECT_EQ(java_float_to_string(123456.7f), "123456.7");
}

TEST(JavaFloatText, ScientificOutsideTheDecimalRange) {
    EXPECT_EQ(java_float_to_string(1.0e-4f), "1.0E-4");
    EXPECT_EQ(java_float_to_string(1.0e7f), "1.0E7");
    EXPECT_EQ(java_float_to_string(1.2345e-5f), "1.2345E-5");
    EXPECT_EQ(java_float_to_string(-3.0e10f), "-3.0E10");
    EXPECT_EQ(java_float_to_string(std::numeric_limits<float>::max()), "3.4028235E38");
    // A single digit would round-trip, but two digits are closer.
    EXPECT_EQ(java_float_to_string(std::numeric_limits<float>::denorm_min()), "1.4E-45");
}

TEST(JavaFloatText, SpecialValues) {
    EXPECT_EQ(java_float_to_string(0.0f), "0.0");
    EXPECT_EQ(java_float_to_string(-0.0f), "-0.0");
    EXPECT_EQ(java_float_to_string(kNaN), "NaN");
    EXPECT_EQ(java_float_to_string(kInf), "Infinity");
    EXPECT_EQ(java_float_to_string(-kInf), "-Infinity");
}

TEST(JavaDoubleText, SameLayout) {
    EXPECT_EQ(java_double_to_string(0.1), "0.1");
    EXPECT_EQ(java_double_to_string(100.0), "100.0");
    EXPECT_EQ(java_double_to_string(1.0e21), "1.0E21");
    EXPECT_EQ(java_double_to_string(0.1f), "0.10000000149011612");
    EXPECT_EQ(java_double_to_string(std::numeric_limits<double>::denorm_min()), "4.9E-324");
}

// The texts written in place and as strings, over a sweep of every kind of
// value, hashed: the hashes are those of the texts as first released, so any
// changed character anywhere in the sweep shows.
class JavaTextSweep : public ::testing::Test {
protected:
    template <typename Fp>
    void add(Fp v) {
        char text[kJavaNumberChars];
        char* end = nullptr;
        std::string as_string;
        if constexpr (sizeof(Fp) == 4) {
            end = java_float_to_chars(text, v);
            as_string = java_float_to_string(v);
        } else {
            end = java_double_to_chars(text, v);
            as_string = java_double_to_string(v);
        }
        ASSERT_EQ(std::string(text, end), as_string);
        for (char c : as_string) {
            hash_ ^= static_cast<unsigned char>(c);
            hash_ *= 1099511628211ull;
        }
        hash_ ^= 0xFF;
        hash_ *= 1099511628211ull;
    }
    std::uint64_t hash_ = 1469598103934665603ull;
};

TEST_F(JavaTextSweep, FloatsAcrossAllBitPatternsAndSubnormals) {
    for (std::uint64_t bits = 0; bits <= 0xFFFFFFFFull; bits += 1021) {
        add(std::bit_cast<float>(static_cast<std::uint32_t>(bits)));
    }
    for (std::uint32_t bits = 0; bits < 20000; ++bits) {
        add(std::bit_cast<float>(bits));
        add(std::bit_cast<float>(bits | 0x80000000u));
    }
    EXPECT_EQ(hash_, 0x8ad13fe6bc738c93ull);
}

TEST_F(JavaTextSweep, HundredthsAsTrimmedValuesGive) {
    for (int k = -3000000; k <= 3000000; k += 7) add(static_cast<float>(k) / 100.0f);
    EXPECT_EQ(hash_, 0x769a13a40f47af69ull);
}

TEST_F(JavaTextSweep, DoublesAtRandomAndSubnormals) {
    std::uint64_t x = 88172645463325252ull;
    for (int i = 0; i < 1000000; ++i) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        add(std::bit_cast<double>(x));
    }
    for (std::uint64_t bits = 0; bits < 20000; ++bits) add(std::bit_cast<double>(bits));
    EXPECT_EQ(hash_, 0x2063f6774cd7a2c5ull);
}

// The in-place digits are std::to_chars' digits for every length and sign,
// and stay inside the room each form asks for (20 characters, 10 unsigned,
// 11 for a 32-bit value).
TEST(DecimalDigits, AreToCharsDigitsWithinTheirRoom) {
    std::vector<std::int64_t> values;
    for (std::int64_t v = -100000; v <= 100000; ++v) values.push_back(v);
    for (std::int64_t p = 1; p <= std::numeric_limits<std::int64_t>::max() / 10; p *= 10) {
        for (std::int64_t d = -2; d <= 2; ++d) {
            values.push_back(p + d);
            values.push_back(-(p + d));
        }
    }
    values.push_back(std::numeric_limits<std::int64_t>::max());
    values.push_back(std::numeric_limits<std::int64_t>::min());
    std::mt19937_64 random(1953);
    for (int i = 0; i < 200000; ++i) values.push_back(static_cast<std::int64_t>(random()) >> (random() % 64));

    int failures = 0;
    const auto check = [&](auto v, std::size_t room) {
        char expected[24];
        const char* expected_end = std::to_chars(expected, expected + sizeof expected, v).ptr;
        char text[32];
        std::memset(text, '#', sizeof text);
        const char* end = put_decimal(text, v);
        const bool inside = std::all_of(text + room, text + sizeof text, [](char c) { return c == '#'; });
        const std::string got(static_cast<const char*>(text), end);
        if ((got != std::string(static_cast<const char*>(expected), expected_end) || !inside) && ++failures < 10) {
            ADD_FAILURE() << "value " << v << " gave \"" << got << "\"";
        }
    };
    for (std::int64_t v : values) {
        check(v, 20);
        if (v >= 0 && v <= std::numeric_limits<std::uint32_t>::max()) check(static_cast<std::uint32_t>(v), 10);
        if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max()) {
            check(static_cast<std::int32_t>(v), 11);
        }
    }
    check(std::numeric_limits<std::uint32_t>::max(), 10);
    check(std::numeric_limits<std::int32_t>::min(), 11);
    check(std::numeric_limits<std::int32_t>::max(), 11);
}

TEST(ParseNumber, SkipsBlanksTakesSignAndReportsEnd) {
    auto v = parse_double(" \t3.5xyz");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->value, 3.5);
    EXPECT_EQ(v->end, 5u);

    auto plus = parse_float("+2.25,");
    ASSERT_TRUE(plus);
    EXPECT_EQ(plus->value, 2.25f);
    EXPECT_EQ(plus->end, 5u);

    auto minus = parse_float("-.5");
    ASSERT_TRUE(minus);
    EXPECT_EQ(minus->value, -0.5f);

    auto exp = parse_double("1e3 ");
    ASSERT_TRUE(exp);
    EXPECT_EQ(exp->value, 1000.0);
    EXPECT_EQ(exp->end, 3u);

    auto i = parse_int32("  +42,7");
    ASSERT_TRUE(i);
    EXPECT_EQ(i->value, 42);
    EXPECT_EQ(i->end, 5u);

    auto frac = parse_int32("12.5");
    ASSERT_TRUE(frac);
    EXPECT_EQ(frac->value, 12);
    EXPECT_EQ(frac->end, 2u);

    auto lowest = parse_int32("-2147483648");
    ASSERT_TRUE(lowest);
    EXPECT_EQ(lowest->value, std::numeric_limits<std::int32_t>::min());
    auto big = parse_int64("9000000000");
    ASSERT_TRUE(big);
    EXPECT_EQ(big->value, 9000000000LL);
}

TEST(ParseNumber, RefusesNonNumbers) {
    for (const char* text :
         {"", "  ", "nan", "NaN", "inf", "-inf", "+Infinity", "+-1", "-+1", "- 1", "abc", ".", "e5"}) {
        EXPECT_FALSE(parse_double(text)) << text;
        EXPECT_FALSE(parse_float(text)) << text;
        EXPECT_FALSE(parse_int32(text)) << text;
    }
    EXPECT_FALSE(parse_int32("2147483648"));
    EXPECT_FALSE(parse_int32(".5"));
    EXPECT_FALSE(parse_float("1e50"));
}

// Plain decimals take a short cut past from_chars; value, sign and end must
// be what from_chars gives, for texts on both sides of the cut's limits.
template <typename T>
void expect_as_from_chars(const std::string& text) {
    SCOPED_TRACE(text);
    std::optional<ParsedNumber<T>> parsed;
    if constexpr (std::is_same_v<T, float>) {
        parsed = parse_float(text);
    } else {
        parsed = parse_double(text);
    }
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    T expected{};
    const auto res = std::from_chars(first, text.data() + text.size(), expected);
    ASSERT_EQ(res.ec, std::errc());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::memcmp(&parsed->value, &expected, sizeof(T)), 0) << parsed->value << " for " << expected;
    EXPECT_EQ(parsed->end, static_cast<std::size_t>(res.ptr - text.data()));
}

// A number as logs write it: digits below `below`, fewer than `decimals_below`
// of them after the point, a '-' one time in four (or a '+' half of those
// times, when `plus_too`).
std::string random_log_number(std::mt19937_64& random, std::uint64_t below, std::size_t decimals_below, bool plus_too) {
    std::string digits = std::to_string(random() % below);
    const std::size_t decimals = random() % decimals_below;
    if (digits.size() <= decimals) digits = std::string(decimals + 1 - digits.size(), '0') + digits;
    if (decimals > 0) digits.insert(digits.size() - decimals, ".");
    if (random() % 4 == 0) digits = (!plus_too || random() % 2 ? "-" : "+") + digits;
    return digits;
}

TEST(ParseNumber, PlainDecimalsReadAsFromCharsReadsThem) {
    const char* edges[] = {
        "0",
        "-0",
        "-0.000",
        "+0.5",
        ".5",
        "5.",
        "5.,",
        "007.250",
        "2000.50,99",
        "16777216",
        "16777217",
        "16777219",
        "1.6777217",
        "0.0000000001",
        "0.00000000001",
        "12345678901234567",
        "123456789012345678",
        "9007199254740993",
        "900719925474099.3",
        "0.1234567890123456789",
        "1.5e3",
        "1.5E-3,",
        "2.e",
        "3.5x",
        "-1234.5678",
        "3.4028234e38",
        "1e-30",
    };
    for (const char* text : edges) {
        expect_as_from_chars<float>(text);
        expect_as_from_chars<double>(text);
    }
    // Numbers as logs write them, a few decimals each.
    std::mt19937_64 random(34);
    for (int n = 0; n < 200000; ++n) {
        const std::string digits = random_log_number(random, 100000000000ULL, 12, false);
        expect_as_from_chars<float>(digits);
        expect_as_from_chars<double>(digits);
    }
}

// The inline reading of plain decimals that the CSV readers call before
// parse_float: what it takes must be from_chars' value to the bit and end
// where from_chars ends; what it refuses the general reading gets.
template <typename T>
void expect_quick_read_as_from_chars(const std::string& text, bool taken) {
    SCOPED_TRACE(text);
    const char* p = text.data();
    T value{};
    ASSERT_EQ(read_plain_decimal(p, text.data() + text.size(), value), taken);
    if (!taken) {
        EXPECT_EQ(p, text.data());
        return;
    }
    const char* first = text.data() + (text[0] == '+' ? 1 : 0);
    T expected{};
    const auto res = std::from_chars(first, text.data() + text.size(), expected);
    ASSERT_EQ(res.ec, std::errc());
    EXPECT_EQ(std::memcmp(&value, &expected, sizeof(T)), 0) << value << " for " << expected;
    EXPECT_EQ(p, res.ptr);
}

TEST(ParseNumber, QuickPlainDecimalsAreFromCharsValuesOrLeftToIt) {
    const struct {
        const char* text;
        bool float_taken, double_taken;
    } cases[] = {
        {"2000.50,99", true, true},
        {"-0", true, true},
        {"+0.5", true, true},
        {".5", true, true},
        {"5.", true, true},
        {"007.250 ", true, true},
        {"16777216", true, true},      // 2^24: the last float the cut holds
        {"16777217", false, true},     // past it, from_chars rounds
        {"0.0000000001", true, true},  // ten decimals
        {"0.00000000001", false, true},
        {"9007199254740992", false, true},  // 2^53
        {"9007199254740993", false, false},
        {".00000000000000001", false, true},  // 17 digits, all decimals
        {"0.00000000000000001", false, false},
        {"123456789012345678", false, false},  // 18 digits
        {"1.5e3", false, false},
        {"2.E", false, false},
        {"", false, false},
        {"-", false, false},
        {".", false, false},
        {" 5", false, false},
        {"+-5", false, false},
        {"x5", false, false},
    };
    for (const auto& c : cases) {
        expect_quick_read_as_from_chars<float>(c.text, c.float_taken);
        expect_quick_read_as_from_chars<double>(c.text, c.double_taken);
    }
    // Numbers as logs write them: a few decimals, now and then a sign.
    std::mt19937_64 random(3400);
    for (int n = 0; n < 100000; ++n) {
        const std::string digits = random_log_number(random, 10000000ULL, 8, true);
        expect_quick_read_as_from_chars<float>(digits + ",1", true);
        expect_quick_read_as_from_chars<double>(digits, true);
    }
}

// What the quick reading must make of a text, written out a character at a
// time from its rules: sign, digits, a point, digits; at least one digit,
// no 'e' or 'E' after, and a mantissa and power the type holds exactly.
// The value is from_chars'. Empty when the text is refused.
template <typename T>
std::optional<std::pair<T, std::size_t>> plain_decimal_by_rules(std::string_view text) {
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) ++at;
    const std::size_t number = text[0] == '+' ? 1 : 0;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = 0;
    bool point = false;
    for (; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            if (++digits <= 17) mantissa = mantissa * 10 + static_cast<unsigned>(c - '0');
            decimals += point ? 1 : 0;
        } else {
            break;
        }
    }
    if (digits == 0 || digits > 17) return std::nullopt;
    if (mantissa > (std::uint64_t{1} << std::numeric_limits<T>::digits)) return std::nullopt;
    if (decimals > (std::is_same_v<T, float> ? 10 : 22)) return std::nullopt;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) return std::nullopt;
    T value{};
    const auto res = std::from_chars(text.data() + number, text.data() + at, value, std::chars_format::fixed);
    if (res.ec != std::errc() || res.ptr != text.data() + at) return std::nullopt;
    return std::pair{value, at};
}

// Every eight-character text over characters that sit at the edges of what
// a word-at-a-time reading tells apart: the lowest and highest digit, the
// characters just below and above the digits, the point, an exponent mark
// and a byte past ASCII. With or without a sign before, each is read as the
// rules above read it.
TEST(ParseNumber, QuickReadingOfEveryShortTextFollowsTheRules) {
    constexpr char kEdges[] = {'0', '9', '.', '/', ':', 'e', '\xBA'};
    constexpr int kCount = sizeof kEdges;
    constexpr int kLength = 8;
    int texts = 1;
    for (int k = 0; k < kLength; ++k) texts *= kCount;
    std::uint64_t wrong = 0;
    std::string first_wrong;
    for (int n = 0; n < texts; ++n) {
        std::string text(kLength + 1, '-');
        for (int k = 0, rest = n; k < kLength; ++k, rest /= kCount) text[1 + k] = kEdges[rest % kCount];
        // The signed text for one in seven: enough to cover the sign's own path.
        const std::string_view read = n % 7 == 0 ? std::string_view(text) : std::string_view(text).substr(1);
        const auto check = [&](auto type) {
            using T = decltype(type);
            const auto expected = plain_decimal_by_rules<T>(read);
            const char* p = read.data();
            T value{};
            const bool taken = read_plain_decimal(p, read.data() + read.size(), value);
            const bool right = expected ? taken && std::memcmp(&value, &expected->first, sizeof(T)) == 0 &&
                                              p == read.data() + expected->second
                                        : !taken && p == read.data();
            if (!right && wrong++ == 0) first_wrong = std::string(read);
        };
        check(float{});
        check(double{});
    }
    EXPECT_EQ(wrong, 0u) << "first: \"" << first_wrong << "\"";
}

// A float's quotient is made by a multiplication in double: for every
// mantissa and power the quick reading takes, it must be the float division's.
TEST(ParseNumber, QuickFloatQuotientsAreTheFloatDivisionsForEveryMantissa) {
    static constexpr float kPowers[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f, 1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    for (std::ptrdiff_t decimals = 0; decimals <= 10; ++decimals) {
        std::uint64_t mismatches = 0;
        for (std::uint32_t m = 0; m <= (std::uint32_t{1} << 24); ++m) {
            const float divided = static_cast<float>(m) / kPowers[decimals];
            mismatches += std::bit_cast<std::uint32_t>(plain_decimal_value<float>(m, decimals)) !=
                          std::bit_cast<std::uint32_t>(divided);
        }
        EXPECT_EQ(mismatches, 0u) << "over 10^" << decimals;
    }
}

TEST(FormatFixed, MatchesPrintfInTheCLocale) {
    EXPECT_EQ(format_fixed(1234.567, 2), "1234.57");
    EXPECT_EQ(format_fixed(-1.0, 2), "-1.00");
    EXPECT_EQ(format_fixed(2.5, 0), "2");
    EXPECT_EQ(format_fixed(0.5, -1), "0.500000");
    EXPECT_EQ(format_fixed(0.5, 2000).size(), 2002u);

    char expected[1600];
    for (double v :
         {0.125, 0.375, 2.675, 1.005, -0.0, 1e20, 123456789.987654321, 1e-7, 5e-324, 1.7976931348623157e308}) {
        for (int decimals : {0, 1, 2, 3, 6, 17, 1100}) {
            std::snprintf(expected, sizeof expected, "%.*f", decimals, v);
            EXPECT_EQ(format_fixed(v, decimals), expected) << v << " with " << decimals;
        }
    }
}

// Sets a locale for one test and puts the C locale back afterwards.
class GermanLocale : public ::testing::Test {
protected:
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(GermanLocale, ChangesNoNumberText) {
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing (test.sh generates it)";
    char printed[32];
    std::snprintf(printed, sizeof printed, "%.2f", 3.5);
    ASSERT_STREQ(printed, "3,50") << "the locale did not take effect";

    auto v = parse_double("3.5");
    ASSERT_TRUE(v);
    EXPECT_EQ(v->value, 3.5);
    EXPECT_EQ(v->end, 3u);
    EXPECT_EQ(format_fixed(3.5, 2), "3.50");
    EXPECT_EQ(java_float_to_string(3.5f), "3.5");
    EXPECT_EQ(java_float_to_string(1.0e-4f), "1.0E-4");
}

}  // namespace
}  // namespace korv
