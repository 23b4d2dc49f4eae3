#include "plot3d/core/filter_choices.h"
#include "plot3d/core/option_rules.h"

#include <gtest/gtest.h>

#include <cmath>

namespace korv::plot3d {
namespace {

TEST(OptionRules, AxisChoicesMayRepeatOnlyNone) {
    EXPECT_FALSE(choices_distinct({0, 0, 0, 0}));  // a freshly opened dialog
    EXPECT_FALSE(choices_distinct({0, 1, 2, 0}));
    EXPECT_TRUE(choices_distinct({-1, -1, 2, 3}));
    EXPECT_TRUE(choices_distinct({0, 1, 2, 3}));
}

TEST(OptionRules, ColourRowsMapTheirValueToTheRowColour) {
    std::array<std::optional<std::string>, 12> rows;
    rows[1] = "idle";
    rows[7] = "boost";
    const auto table = colour_table(rows);
    ASSERT_TRUE(table);
    EXPECT_EQ(table->size(), 2u);
    EXPECT_EQ(table->at("idle"), (Colour{255, 0, 0}));
    EXPECT_EQ(table->at("boost"), (Colour{124, 0, 0}));
    rows[11] = "idle";
    EXPECT_FALSE(colour_table(rows));
}

TEST(OptionRules, ScalePairs) {
    struct Case {
        const char *min, *max;
        std::optional<float> lo, hi;
        bool from_data;
    };
    const Case cases[] = {
        {"", "", 0.0f, 0.0f, true},       {"5", "", 5.0f, 0.0f, false}, {" -2.5 ", "1e3", -2.5f, 1000.0f, false},
        {"abc", "1", {}, {}, false},      {"5x", "6", {}, {}, false},   {"NaN", "1", {}, {}, false},
        {"1", "Infinity", {}, {}, false}, {"1", "1e40", {}, {}, false},
    };
    for (const Case& c : cases) {
        const auto s = read_scale(c.min, c.max);
        ASSERT_EQ(s.has_value(), c.lo.has_value()) << c.min << "|" << c.max;
        if (!s) continue;
        EXPECT_EQ(s->min, *c.lo);
        EXPECT_EQ(s->max, *c.hi);
        EXPECT_EQ(s->from_data, c.from_data);
    }
}

TEST(OptionRules, ScaleChecksGiveTheirMessages) {
    using Texts = std::array<std::string_view, 4>;
    auto message = [](Texts mins, Texts maxs) {
        const auto r = read_scales(mins, maxs);
        return std::holds_alternative<OptionMessage>(r) ? std::get<OptionMessage>(r) : OptionMessage{};
    };
    EXPECT_EQ(message({"5", "", "", ""}, {"", "", "", ""}), kScaleMismatch);    // empty max counts 0
    EXPECT_EQ(message({"", "", "", "9"}, {"", "", "", "1"}), OptionMessage{});  // size is not compared
    EXPECT_EQ(message({"", "3", "", ""}, {"", "3", "", ""}), OptionMessage{});  // min = max accepted
    EXPECT_EQ(message({"", "", "x", ""}, {"", "", "", ""}), kScaleNotNumbers);
    EXPECT_EQ(message({"", "", "", ""}, {"", "", "", "NaN"}), kScaleNotNumbers);
}

TEST(FilterChoices, EndsAreExactlyTheFieldsExtremesAndTextsReadBack) {
    // Stepping nine times from the minimum falls short of the maximum for a
    // share of two-decimal ranges; the last choice must still be the maximum.
    int short_ranges = 0;
    for (int lo = -300; lo <= 300; lo += 7) {
        for (int hi = lo + 1; hi <= lo + 900; hi += 13) {
            const float min = static_cast<float>(lo) / 100.0f, max = static_cast<float>(hi) / 100.0f;
            const auto steps = filter_steps(min, max);
            const float step = (max - min) / 9.0f;
            short_ranges += min + 9.0f * step < max;
            EXPECT_EQ(steps[0], min);
            ASSERT_EQ(steps[9], max) << min << " .. " << max;
            const auto texts = filter_step_texts(min, max);
            for (std::size_t i = 0; i < 10; ++i) {
                ASSERT_EQ(filter_choice_value(texts[i]), steps[i]) << texts[i];
                if (i > 0) {
                    EXPECT_LE(steps[i - 1], steps[i]);
                }
            }
        }
    }
    EXPECT_GT(short_ranges, 0);  // the sweep does meet the short ranges
}

TEST(FilterChoices, RowsRefuseAnEmptyOrReversedRange) {
    EXPECT_EQ(filter_step_texts(1000.0f, 1900.0f)[1], "1100.0");
    EXPECT_FALSE(filter_choice_value(kNotApplicable));
    EXPECT_TRUE(filter_row_mismatch({9.0f, 9.0f}));
    EXPECT_TRUE(filter_row_mismatch({9.0f, 1.0f}));
    EXPECT_FALSE(filter_row_mismatch({1.0f, 9.0f}));
    EXPECT_FALSE(filter_row_mismatch({9.0f, std::nullopt}));
    const auto constant = filter_steps(14.7f, 14.7f);
    for (float v : constant) EXPECT_EQ(v, 14.7f);
}

}  // namespace
}  // namespace korv::plot3d
