// Settings files, maps and simulators of the knob-style and VCD AFC editors.
#include "editors/core/knob_map.h"
#include "editors/core/vcd_map.h"

#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <variant>

using namespace korv::editors;
using korv::testsupport::Bytes;
using korv::testsupport::hex;
using korv::testsupport::read_bytes;
using korv::testsupport::write_bytes;
using korv::testsupport::operator+;

namespace {

Bytes ascii(const std::string& text) { return Bytes(text.begin(), text.end()); }

// Set points 1000, 2000, ... 8000.
VcdSettings even_set_points(int low, int high, int low_tps, int hi_tps) {
    VcdSettings s;
    for (int k = 0; k < kSetPoints; ++k) {
        s.adjust_cells[vcd_rpm][k] = 1000 * (k + 1);
        s.adjust_cells[vcd_low][k] = low;
        s.adjust_cells[vcd_high][k] = high;
    }
    s.low_tps = low_tps;
    s.hi_tps = hi_tps;
    return s;
}

}  // namespace

TEST(ControllerFile, KnobFileMatchesHandBuiltBytes) {
    const Bytes expected = hex("0000") + ascii("AFC 1st generation configuration file") +
                           hex("0320 0960 0FA0 15E0 1C20") + hex("000A FFF6 0000 001E FFE2");
    const auto bytes = encode_knob_file(ControllerTag::knob_afc, {10, -10, 0, 30, -30});
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(decode_knob_settings(bytes), (Knobs{10, -10, 0, 30, -30}));

    const auto itc = encode_knob_file(ControllerTag::knob_itc, {});
    EXPECT_EQ(Bytes(itc.begin(), itc.begin() + 39), hex("0001") + ascii("ITC 1st generation configuration file"));
}

TEST(ControllerFile, VcdFileMatchesHandBuiltBytesHighThrottlePointFirst) {
    VcdSettings s = even_set_points(0, 20, 20, 80);
    for (int k = 0; k < kSetPoints; ++k) s.adjust_cells[vcd_low][k] = -(k + 1);
    Bytes expected = hex("0002") + ascii("AFC 2nd generation configuration file");
    for (const char* record : {"03E8 FFFF 0014", "07D0 FFFE 0014", "0BB8 FFFD 0014", "0FA0 FFFC 0014", "1388 FFFB 0014",
                               "1770 FFFA 0014", "1B58 FFF9 0014", "1F40 FFF8 0014"})
        expected = expected + hex(record);
    expected = expected + hex("0050 0014");
    const auto bytes = encode_vcd_file(s);
    ASSERT_EQ(bytes.size(), kVcdFileBytes);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(decode_vcd_file(bytes), s);
}

TEST(ControllerFile, ReadingChecksTagAndLengthAndOpensReadOnly) {
    korv::testsupport::TempFolder folder;
    const std::string knob = folder.file("afc.cfg");
    const auto golden = encode_knob_file(ControllerTag::knob_afc, {1, 2, 3, 4, 5});
    write_bytes(knob, Bytes(golden.begin(), golden.end()));
    ASSERT_EQ(::chmod(knob.c_str(), 0444), 0);
    const FileRead ok = read_controller_file(knob, ControllerTag::knob_afc, kKnobFileBytes);
    ASSERT_TRUE(std::holds_alternative<FileBytes>(ok));
    EXPECT_EQ(decode_knob_settings(std::get<FileBytes>(ok).bytes), (Knobs{1, 2, 3, 4, 5}));

    EXPECT_TRUE(std::holds_alternative<WrongTag>(read_controller_file(knob, ControllerTag::knob_itc, kKnobFileBytes)));
    EXPECT_TRUE(std::holds_alternative<WrongTag>(read_controller_file(knob, ControllerTag::vcd_afc, kVcdFileBytes)));
    EXPECT_TRUE(std::holds_alternative<FileMissing>(
        read_controller_file(folder.file("none.cfg"), ControllerTag::knob_afc, kKnobFileBytes)));

    Bytes cut = read_bytes(knob);
    cut.resize(58);
    write_bytes(folder.file("cut.cfg"), cut);
    const FileRead short_read = read_controller_file(folder.file("cut.cfg"), ControllerTag::knob_afc, kKnobFileBytes);
    ASSERT_TRUE(std::holds_alternative<ReadFailed>(short_read));
    EXPECT_FALSE(std::get<ReadFailed>(short_read).reason.empty());
    write_bytes(folder.file("one.cfg"), hex("00"));
    EXPECT_TRUE(std::holds_alternative<ReadFailed>(
        read_controller_file(folder.file("one.cfg"), ControllerTag::knob_afc, kKnobFileBytes)));
}

TEST(ControllerFile, SaveReplacesALongerFileWithExactlyTheFormat) {
    korv::testsupport::TempFolder folder;
    const std::string path = folder.file("vcd.cfg");
    write_bytes(path, Bytes(200, 0x55));
    const auto bytes = encode_vcd_file(even_set_points(1, 2, 30, 70));
    ASSERT_FALSE(write_controller_file(path, bytes));
    EXPECT_EQ(read_bytes(path), Bytes(bytes.begin(), bytes.end()));
    EXPECT_EQ(folder.names().size(), 1u);
}

TEST(CalculatePoint, TruncatesTowardZeroAndSurvivesEqualAndWidePoints) {
    EXPECT_EQ(calculate_point(10, 0, 800, 0, 500), 6);
    EXPECT_EQ(calculate_point(-10, 10, 2400, 800, 1000), 8);
    EXPECT_EQ(calculate_point(7, 3, 1000, 1000, 5000), 3);  // equal set points give the first value
    // 16-bit file values: the product needs more than 32 bits.
    EXPECT_EQ(calculate_point(32767, -32768, 32767, -32768, 32767), 32767);
    EXPECT_EQ(calculate_point(32767, -32768, 1, 0, 100), 65535 * 100 - 32768);
}

TEST(KnobMap, InterpolatesFromTheKnobs) {
    struct Case {
        Knobs knobs;
        std::vector<std::pair<int, std::int64_t>> cells;  // rpm, value
    };
    const Case cases[] = {
        {{0, 0, 0, 0, 0}, {{500, 0}, {4000, 0}, {8000, 0}}},
        {{10, 0, 0, 0, 0}, {{500, 6}, {1000, 9}, {1500, 6}, {2000, 3}, {2500, 0}, {8000, 0}}},
        {{0, 0, 0, 0, -7}, {{5500, 0}, {6000, -1}, {6500, -3}, {7000, -6}, {7500, -7}, {8000, -7}}},
        {{10, -10, 0, 0, 0}, {{500, 6}, {1000, 8}}},
    };
    for (const Case& c : cases) {
        const KnobMap map = knob_map(c.knobs);
        for (const auto& [rpm, value] : c.cells) EXPECT_EQ(map[rpm / 500 - 1], value) << rpm;
    }
}

TEST(KnobMap, ChoosesTheNearestKnobAndTheRecordsCell) {
    const std::pair<int, int> knob_of[] = {{0, 0},    {700, 0},  {1500, 0}, {1700, 1}, {4799, 2},
                                           {4800, 2}, {4801, 3}, {7000, 4}, {7200, 4}, {7600, 4}};
    for (const auto& [rpm, knob] : knob_of) EXPECT_EQ(knob_for_rpm(rpm), knob) << rpm;
    EXPECT_EQ(knob_cell(499), std::nullopt);
    EXPECT_EQ(knob_cell(500), 0);
    EXPECT_EQ(knob_cell(8499), 15);
    EXPECT_EQ(knob_cell(8500), std::nullopt);
    EXPECT_EQ(knob_cell(-1), std::nullopt);
}

TEST(KnobSimulation, ReachesTheTargetFromTheBaseAndStaysThereOnReplay) {
    KnobSimulation sim;
    sim.adjust_value = {5, 5, 5, 5, 5};
    sim.rebase();
    for (int adjustment : {12, -12, 29, -30}) {
        const int step = adjustment > 0 ? 1 : -1;
        for (int rpm : {500, 1000, 3000, 4800, 6900, 8000}) {
            const auto knob = sim.control(rpm, adjustment, step);
            ASSERT_EQ(knob, knob_for_rpm(rpm));
            const std::int64_t target = sim.sim_base[rpm / 500 - 1] + adjustment;
            const std::int64_t reached = sim.map()[rpm / 500 - 1];
            const bool at_the_edge = sim.effective()[*knob] == 30 * step;  // what the field takes
            EXPECT_TRUE(step > 0 ? reached >= target || at_the_edge : reached <= target || at_the_edge) << rpm;
            const KnobMap after_first = sim.map();
            sim.control(rpm, adjustment, step);  // the same record shown again
            EXPECT_EQ(sim.map(), after_first) << rpm;
            EXPECT_LE(std::abs(sim.sim_adjust[*knob]), 2 * std::abs(adjustment) + 2);
            sim.rebase();
            sim.adjust_value = {5, 5, 5, 5, 5};
            sim.rebase();
        }
    }
}

TEST(KnobSimulation, NoMoveTakesAKnobPastWhatItsFieldTakes) {
    struct Case {
        int setting;  // the knob's loaded value
        int adjustment;
        int step;
        int knob_after;  // shown in the knob's field, saved by Ok
    };
    const Case cases[] = {
        {-10, -24, -1, -30},                  // a target of -34 stops at -30
        {10, 29, 1, 30},     {30, 5, 1, 30},  // already at the end: no move
        {-30, 4, 1, -26},                     // back inside is a move like any other
        {40, 4, 1, 40},                       // from a file, outside: not taken further out
        {40, -4, -1, 36},
    };
    for (const Case& c : cases) {
        KnobSimulation sim;
        sim.adjust_value = {0, 0, 0, c.setting, 0};
        sim.rebase();
        ASSERT_EQ(sim.control(5600, c.adjustment, c.step), 3);
        EXPECT_EQ(sim.effective()[3], c.knob_after) << c.setting << " by " << c.adjustment;
    }
}

TEST(KnobSimulation, OutsideTheMapOrWithoutAdjustmentMovesNothing) {
    KnobSimulation sim;
    sim.sim_adjust = {1, 2, 3, 4, 5};
    EXPECT_EQ(sim.control(499, 10, 1), std::nullopt);
    EXPECT_EQ(sim.control(8500, 10, 1), std::nullopt);
    EXPECT_EQ(sim.sim_adjust, (Knobs{1, 2, 3, 4, 5}));
    EXPECT_EQ(sim.control(5000, 0, 1), std::nullopt);
    EXPECT_EQ(sim.sim_adjust, (Knobs{1, 2, 3, 0, 5}));  // a zero adjustment clears that knob
}

TEST(VcdMap, LowHighAndBetweenRows) {
    const VcdMap map = interpolate(even_set_points(10, 20, 20, 80));
    for (int c = 0; c < kVcdColumns; ++c) {
        for (int r : {0, 1, 2}) EXPECT_EQ(map[r][c], 10) << r << "," << c;
        for (int r : {8, 9, 10}) EXPECT_EQ(map[r][c], 20) << r << "," << c;
        EXPECT_EQ(map[5][c], 15) << c;
    }
}

TEST(VcdMap, ExtendsBelowTheFirstSetPointAndStopsOnTheLast) {
    VcdSettings s;
    s.adjust_cells[vcd_rpm] = {1000, 2000, 3000, 4000, 5000, 6000, 6500, 7000};
    s.adjust_cells[vcd_low] = {0, 10, 10, 10, 10, 10, 10, 40};
    s.low_tps = 100;
    const VcdMap map = interpolate(s);
    EXPECT_EQ(map[0][1], -5);   // 500 rpm
    EXPECT_EQ(map[0][3], 5);    // 1500 rpm
    EXPECT_EQ(map[0][15], 40);  // past the last set point the index stays on it
    EXPECT_EQ(map[0][16], 40);
}

TEST(VcdMap, FreshAndDegenerateSettingsGiveAMapWithoutFault) {
    const VcdMap fresh = interpolate(VcdSettings{});
    for (const auto& row : fresh)
        for (std::int64_t v : row) EXPECT_EQ(v, 0);

    VcdSettings equal = even_set_points(7, 9, 30, 30);
    equal.adjust_cells[vcd_rpm] = {2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000};
    equal.adjust_cells[vcd_low][0] = 3;
    const VcdMap map = interpolate(equal);
    EXPECT_EQ(map[3][0], 3);  // 30 % is on the low line
    EXPECT_EQ(map[4][0], 9);
    EXPECT_EQ(map[3][16], 7);
}

TEST(VcdMap, RecordCellAndNearestSetPoint) {
    const VcdSettings s = even_set_points(0, 0, 20, 80);
    EXPECT_EQ(nearest_set_point(s, 1500), 1);  // the tie goes up
    EXPECT_EQ(nearest_set_point(s, 1499), 0);
    EXPECT_EQ(nearest_set_point(s, 500), 0);
    EXPECT_EQ(nearest_set_point(s, 8400), 7);
    ASSERT_TRUE(vcd_cell(8499, 109));
    EXPECT_EQ(vcd_cell(8499, 109)->row, 10);
    EXPECT_EQ(vcd_cell(8499, 109)->column, 16);
    EXPECT_FALSE(vcd_cell(8500, 50));
    EXPECT_FALSE(vcd_cell(-1, 50));
    EXPECT_FALSE(vcd_cell(3000, 110));
    EXPECT_FALSE(vcd_cell(3000, -1));
}

TEST(VcdSimulation, ReachesTheTargetOrGivesUpWithinTheLimits) {
    VcdSettings s = even_set_points(0, 0, 20, 80);
    ASSERT_TRUE(vcd_control(s, 3000, 10, 12, 1));
    EXPECT_EQ(s.adjust_cells[vcd_low][2], 12);
    EXPECT_EQ(interpolate(s)[1][6], 12);
    const VcdSettings reached = s;
    EXPECT_FALSE(vcd_control(s, 3000, 10, 12, 1));  // the same record shown again
    EXPECT_EQ(s, reached);

    // Targets beyond what -50..50 can give: the search stops where it began.
    VcdSettings stuck = even_set_points(0, 0, 20, 80);
    stuck.adjust_cells[vcd_high][2] = 5;
    const VcdSettings before = stuck;
    EXPECT_FALSE(vcd_control(stuck, 3000, 50, 100, 1));
    EXPECT_EQ(stuck, before);
    EXPECT_FALSE(vcd_control(stuck, 3000, 95, -60, -1));
    EXPECT_EQ(stuck, before);
    // 25 % moves the high line, but the 20 % row the record falls in is on the low line.
    EXPECT_FALSE(vcd_control(stuck, 3000, 25, 10, 1));
    EXPECT_EQ(stuck, before);
}
