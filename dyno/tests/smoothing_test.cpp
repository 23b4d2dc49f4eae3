// Time blend and resonant low-pass of logged RPM.
#include "dyno/core/smoothing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cmath>
#include <cstring>

namespace korv::dyno {
namespace {

SampleArray ramp(int n, float dt, float rpm0, float slope) {
    SampleArray s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        s[i][kTime] = static_cast<float>(i) * dt;
        s[i][kRawRpm] = rpm0 + slope * static_cast<float>(i) * dt;
    }
    return s;
}

TEST(DynoSmoothing, ModeZeroCopies) {
    SampleArray s = ramp(5, 0.1f, 1000, 500);
    ApplySmoothing(s, {0, 0.7f, 32, 1});
    for (const auto& x : s) {
        EXPECT_EQ(x[kBlendedTime], x[kTime]);
        EXPECT_EQ(x[kSmoothRpm], x[kRawRpm]);
    }
}

// 0.1 s apart and 0.7 s wide: six neighbours on each side weigh in; the
// seventh sits on the edge, where the weight is nothing. A spike in the
// middle shows how far it spreads.
TEST(DynoSmoothing, BlendReachesSixNeighboursEachSide) {
    SampleArray s(41);
    for (int i = 0; i < 41; ++i) s[i][kTime] = i * 0.1f;
    s[20][kRawRpm] = 1000;
    TimeBlend(s, kRawRpm, 0.7f);
    int touched = 0;
    for (const auto& x : s) touched += x[kSmoothRpm] > 1e-3f ? 1 : 0;
    EXPECT_EQ(touched, 13);
    EXPECT_LT(s[13][kSmoothRpm], 1e-3f);
    EXPECT_GT(s[14][kSmoothRpm], 0.0f);
    // Symmetric weights keep a straight line straight away from the ends.
    SampleArray line = ramp(41, 0.1f, 2000, 1000);
    TimeBlend(line, kRawRpm, 0.7f);
    EXPECT_NEAR(line[20][kSmoothRpm], line[20][kRawRpm], 0.05f);
    EXPECT_NEAR(line[20][kBlendedTime], 2.0f, 1e-5f);
}

TEST(DynoSmoothing, NonPositiveBlendMeansNoBlend) {
    for (float blend : {0.0f, -1.0f, NAN}) {
        SampleArray s = ramp(6, 0.1f, 1000, 3000);
        s[3][kRawRpm] = 9000;
        ApplySmoothing(s, {1, blend, 32, 1});
        EXPECT_EQ(s[3][kSmoothRpm], 9000.0f);
        EXPECT_EQ(s[3][kBlendedTime], s[3][kTime]);
    }
}

// A logged run as the data logger writes it: 100 samples a second with a
// little jitter in the clock, pulls from 2000 to 7000 RPM with noise on them,
// idling in between.
SampleArray logged_run(int n, float start = 0.0f) {
    SampleArray s(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double t = start + i * 0.01 + 0.002 * std::sin(i * 1.3);
        const double phase = std::fmod(t, 20.0);
        s[i][kTime] = static_cast<float>(t);
        s[i][kRawRpm] = static_cast<float>((phase < 12 ? 2000 + 5000 * phase / 12 : 900) + 7 * std::sin(i * 0.7));
    }
    return s;
}

// The blend sums its windows as they slide; the pairwise evaluation, one
// cosine per pair, is the reference. They may differ by rounding only, never
// by a neighbour counted wrongly.
TEST(DynoSmoothing, SlidingBlendMatchesThePairwiseOne) {
    const struct {
        const char* name;
        SampleArray run;
        int mode;
        float blend;
    } cases[] = {
        {"minutes of pulls", logged_run(40000), 1, 0.7f},
        {"filtered, then blended", logged_run(6000), 3, 0.7f},
        {"a narrow blend", logged_run(6000), 1, 0.015f},
        {"a wide blend", logged_run(3000), 1, 5.0f},
        {"a clock far from zero", logged_run(6000, 5000.0f), 1, 0.7f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SampleArray fast = c.run;
        ApplySmoothing(fast, {c.mode, c.blend, 32, 1});
        SampleArray reference = c.run;
        if (c.mode == 3) LowPassSmooth(reference, kFilteredRpm, 32, 1);
        TimeBlendPairwise(reference, c.mode == 3 ? kFilteredRpm : kRawRpm, c.blend);
        // Steps of one float apart at most: each result is rounded once.
        auto ulps = [](float a, float b) {
            return std::abs(std::bit_cast<std::int32_t>(a) - std::bit_cast<std::int32_t>(b));
        };
        int worst_rpm = 0, worst_time = 0;
        for (std::size_t i = 0; i < fast.size(); ++i) {
            worst_rpm = std::max(worst_rpm, ulps(fast[i][kSmoothRpm], reference[i][kSmoothRpm]));
            worst_time = std::max(worst_time, ulps(fast[i][kBlendedTime], reference[i][kBlendedTime]));
        }
        EXPECT_LE(worst_rpm, 1);
        EXPECT_LE(worst_time, 1);
    }
}

// A clock that goes back, or a value that is no number, keeps the windows
// from sliding: the blend is then the pairwise one exactly.
TEST(DynoSmoothing, BlendOverAClockThatGoesBackIsThePairwiseOne) {
    SampleArray back = logged_run(500);
    back[250][kTime] = 0.5f;
    SampleArray not_a_number = logged_run(500);
    not_a_number[100][kRawRpm] = NAN;
    for (const SampleArray& run : {back, not_a_number}) {
        SampleArray blended = run;
        TimeBlend(blended, kRawRpm, 0.7f);
        SampleArray reference = run;
        TimeBlendPairwise(reference, kRawRpm, 0.7f);
        for (std::size_t i = 0; i < run.size(); ++i) {
            EXPECT_EQ(std::memcmp(&blended[i], &reference[i], sizeof(DynoSample)), 0) << "sample " << i;
        }
    }
}

TEST(DynoLowPass, CoefficientsForCutoff32Rez1) {
    const auto k = LowPassCoefficientsFor(32.0f, 1.0f);
    ASSERT_TRUE(k.has_value());
    const double c = 1.0 / std::tan(3.14159 / 32.0);  // about 10.153
    const double a1 = 1.0 / (c + c * c + 1.0);
    EXPECT_NEAR(c, 10.153, 1e-3);
    EXPECT_NEAR(k->a1, a1, 1e-6);
    EXPECT_NEAR(k->a2, 2 * a1, 2e-6);
    EXPECT_NEAR(k->b1, 2 * (1 - c * c) * a1, 1e-5);
    EXPECT_NEAR(k->b2, (c * c + 1 - c) * a1, 1e-5);
    // Unity gain at DC: (a1 + a2 + a1) / (1 + b1 + b2).
    EXPECT_NEAR((2 * k->a1 + k->a2) / (1 + k->b1 + k->b2), 1.0, 1e-4);
}

TEST(DynoLowPass, SettlesOnAConstantAndCopiesTheFirstTwo) {
    SampleArray s = ramp(400, 0.05f, 3000, 0);
    s[0][kRawRpm] = 100;
    ApplySmoothing(s, {2, 0.7f, 32, 1});
    EXPECT_EQ(s[0][kSmoothRpm], 100.0f);
    EXPECT_EQ(s[1][kSmoothRpm], 3000.0f);
    EXPECT_NEAR(s[399][kSmoothRpm], 3000.0f, 0.5f);
    EXPECT_EQ(s[5][kBlendedTime], s[5][kTime]);
}

TEST(DynoLowPass, RefusedCoefficientsSkipTheFilter) {
    EXPECT_FALSE(LowPassCoefficientsFor(2.0f, 1.0f));
    EXPECT_FALSE(LowPassCoefficientsFor(1.0f, 1.0f));
    EXPECT_FALSE(LowPassCoefficientsFor(32.0f, 0.0f));
    EXPECT_FALSE(LowPassCoefficientsFor(NAN, 1.0f));
    SampleArray s = ramp(10, 0.1f, 1000, 100);
    s[5][kRawRpm] = 8000;
    ApplySmoothing(s, {2, 0.7f, 2.0f, 1});
    EXPECT_EQ(s[5][kSmoothRpm], 8000.0f);
}

TEST(DynoLowPass, FilterThenBlendWritesTheFilteredSlot) {
    SampleArray s = ramp(50, 0.1f, 2000, 400);
    ApplySmoothing(s, {3, 0.7f, 32, 1});
    EXPECT_NE(s[20][kFilteredRpm], 0.0f);
    EXPECT_NE(s[20][kSmoothRpm], s[20][kFilteredRpm]);  // blended afterwards

    SampleArray few = ramp(3, 0.1f, 2000, 400);
    ApplySmoothing(few, {3, 0.7f, 32, 1});
    for (const auto& x : few) {
        EXPECT_EQ(x[kFilteredRpm], x[kRawRpm]);
        EXPECT_EQ(x[kSmoothRpm], x[kRawRpm]);
        EXPECT_EQ(x[kBlendedTime], x[kTime]);
    }
}

}  // namespace
}  // namespace korv::dyno
