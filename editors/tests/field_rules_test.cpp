// The editors' typed fields: what each kind takes and the message that
// refuses the rest, and the PMS grid's cell edit on its two layers.
#include "editors/core/field_rules.h"
#include "editors/core/pms_cells.h"
#include "editors/core/vcd_map.h"

#include <gtest/gtest.h>

#include <optional>

namespace korv::editors {
namespace {

TEST(EditorFieldRules, SimulatedMovesStopWhereTheFieldDoes) {
    struct Row {
        int value, move, allowed;
    };
    const Row rows[] = {{0, 12, 12}, {25, 12, 5}, {30, 1, 0},   {-24, -10, -6}, {-30, -1, 0},
                        {-30, 4, 4}, {40, 2, 0},  {40, -2, -2}, {-45, -1, 0},   {0, 0, 0}};
    for (const Row& r : rows)
        EXPECT_EQ(move_within_field(r.value, r.move, kKnobField), r.allowed) << r.value << " by " << r.move;
}

TEST(EditorFieldRules, TakeOrRefuseTheTypedText) {
    constexpr std::string_view knob = "Must be numeric -30 to +30!";
    constexpr std::string_view rpm = "Must be numeric 1000 to 8000!";
    constexpr std::string_view adjust = "Must be numeric -50 to 50!";
    constexpr std::string_view throttle = "Must be numeric 10 to 100!";
    constexpr std::string_view odd = "Must be a multiple of 2!";
    constexpr std::string_view timing = "Must be numeric -20 to 20!";
    struct Row {
        const FieldRule* rule;
        const char* text;
        std::optional<int> value;
        std::string_view refusal;
    };
    const Row rows[] = {
        {&kKnobField, "30", 30, {}},
        {&kKnobField, " -30", -30, {}},
        {&kKnobField, "+7\t", 7, {}},
        {&kKnobField, "31", std::nullopt, knob},
        {&kKnobField, "-31", std::nullopt, knob},
        {&kKnobField, "abc", std::nullopt, knob},
        {&kKnobField, "5x", std::nullopt, knob},
        {&kKnobField, "", std::nullopt, knob},
        {&kVcdSetPointFields[vcd_rpm], "1000", 1000, {}},
        {&kVcdSetPointFields[vcd_rpm], "8000", 8000, {}},
        {&kVcdSetPointFields[vcd_rpm], "999", std::nullopt, rpm},
        {&kVcdSetPointFields[vcd_rpm], "8001", std::nullopt, rpm},
        {&kVcdSetPointFields[vcd_low], "-50", -50, {}},
        {&kVcdSetPointFields[vcd_high], "51", std::nullopt, adjust},
        {&kVcdSetPointFields[vcd_high], "x", std::nullopt, adjust},
        {&kVcdThrottleField, "10", 10, {}},
        {&kVcdThrottleField, "100", 100, {}},
        {&kVcdThrottleField, "9", std::nullopt, throttle},
        {&kVcdThrottleField, "101", std::nullopt, throttle},
        {&kPmsFuelField, "-50", -50, {}},
        {&kPmsFuelField, "+50", 50, {}},
        {&kPmsFuelField, "008", 8, {}},
        {&kPmsFuelField, "-0", 0, {}},
        {&kPmsFuelField, "7", std::nullopt, odd},
        {&kPmsFuelField, "-7", std::nullopt, odd},
        {&kPmsFuelField, "51", std::nullopt, adjust},  // the range is checked before evenness
        {&kPmsFuelField, "52", std::nullopt, adjust},
        {&kPmsFuelField, "x", std::nullopt, adjust},
        {&kPmsFuelField, "+-4", std::nullopt, adjust},  // one sign only
        {&kPmsFuelField, "- 4", std::nullopt, adjust},
        {&kPmsFuelField, "4 4", std::nullopt, adjust},
        {&kPmsFuelField, "99999999999", std::nullopt, adjust},
        {&kPmsTimingField, "-20", -20, {}},
        {&kPmsTimingField, "7", 7, {}},  // timing need not be even
        {&kPmsTimingField, "21", std::nullopt, timing},
        {&kPmsTimingField, "", std::nullopt, timing},
    };
    for (const Row& r : rows) {
        const FieldCheck check = check_field(r.text, *r.rule);
        EXPECT_EQ(check.value, r.value) << '"' << r.text << "\" under " << r.rule->refusal;
        EXPECT_EQ(check.refusal, r.refusal) << '"' << r.text << "\" under " << r.rule->refusal;
        if (r.rule != &kPmsFuelField && r.rule != &kPmsTimingField) continue;

        // A PMS cell takes the value as its setting; a fuel cell drops its
        // simulator adjustment whether the text is taken or not.
        const int table = r.rule == &kPmsFuelField ? pms::kFuel : pms::kTiming;
        pms::AdjustCells cells;
        cells.at(0, 1, table, 3, 4) = 6;
        cells.at(1, 1, table, 3, 4) = 4;
        EXPECT_EQ(pms::edit_cell(cells, 1, table, 3, 4, r.text), r.refusal) << r.text;
        EXPECT_EQ(cells.at(0, 1, table, 3, 4), r.value.value_or(6)) << r.text;
        EXPECT_EQ(cells.at(1, 1, table, 3, 4), table == pms::kFuel ? 0 : 4) << r.text;
        EXPECT_EQ(cells.at(0, 1, table, 3, 5), 0) << r.text;  // no other cell moves
    }
}

}  // namespace
}  // namespace korv::editors
