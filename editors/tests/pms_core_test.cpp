#include "editors/core/afr_cells.h"
#include "editors/core/pms_cells.h"
#include "editors/core/pms_eeprom_dump.h"
#include "editors/core/pms_settings_file.h"
#include "editors/tests/pms_test_files.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace korv::editors::pms;
using namespace korv::editors::testing_support;
using korv::testsupport::read_bytes;
using korv::testsupport::TempFolder;
using korv::testsupport::write_bytes;

namespace {

TEST(PmsLayout, CellOffsets) {
    EXPECT_EQ(672 + fuel_offset(5, 4), 997);
    EXPECT_EQ(1344 + timing_offset(kFirstBoostRow + 2, 12), 1591);
    EXPECT_EQ(fuel_offset(kNosRow, 0), 266);
    EXPECT_EQ(timing_offset(kNosRow, 12), 474 + 192);
}

TEST(PmsLayout, BoostBreakpoints) {
    EXPECT_EQ(boost_breakpoints(30), (std::array<int, 5>{1, 7, 15, 22, 30}));
    EXPECT_EQ(boost_breakpoints(-2), (std::array<int, 5>{1, 0, -1, -1, -2}));
}

TEST(PmsLayout, DecodeFillsTablesAndSideValues) {
    Bytes block(kBlockSize, 0);
    block[fuel_offset(3, 2)] = 0x9C;
    block[timing_offset(3, 2)] = 0x9C;
    block[0] = 0x0C;
    block[32] = 5;
    block[33] = 6;
    block[77] = 30;
    block[202] = 0xF6;
    AdjustCells cells;
    cells.at(0, 1, kFuel, kSideRow, kLockWot) = 1;
    cells.decode_program(1, block.data(), block.size());
    EXPECT_EQ(cells.at(0, 1, kFuel, 3, 2), -200);
    EXPECT_EQ(cells.at(0, 1, kTiming, 3, 2), -100);
    EXPECT_EQ(cells.at(0, 1, kFuel, kSideRow, kTipInAmount), 6);
    EXPECT_EQ(cells.at(0, 1, kFuel, kSideRow, kTipInDuration), 5);
    EXPECT_EQ(cells.at(0, 1, kFuel, kSideRow, kBoostFuelCut), -10);
    EXPECT_EQ(cells.at(0, 1, kFuel, kSideRow, kBoostLimit), 30);
    EXPECT_EQ(cells.at(0, 1, kTiming, kSideRow, kFirstBreakpoint + 1), 7);
    EXPECT_EQ(cells.at(0, 1, kTiming, kSideRow, kFlags), 0x0C);
    EXPECT_EQ(cells.at(0, 1, kFuel, kSideRow, kLockWot), 1);  // the editor's, not the image's
}

TEST(PmsSave, FuelHalvesAreTruncatedSeparatelyAndClamped) {
    struct Case {
        int setting, adjustment, byte;
    };
    for (const Case& c :
         {Case{10, 5, 7}, Case{-10, 5, -3}, Case{-10, -5, -7}, Case{50, 300, 127}, Case{-50, -400, -128}}) {
        AdjustCells cells;
        cells.at(0, 0, kFuel, 2, 3) = static_cast<std::int16_t>(c.setting);
        cells.at(1, 0, kFuel, 2, 3) = static_cast<std::int16_t>(c.adjustment);
        EXPECT_EQ(static_cast<std::int8_t>(cells.rebuild(Bytes(2016))[fuel_offset(2, 3)]), c.byte)
            << c.setting << " + " << c.adjustment;
    }
}

class PmsFile : public ::testing::Test {
protected:
    std::string file(const std::string& name) const { return folder.file(name); }
    TempFolder folder;
    PmsSettings settings{folder.path()};
};

TEST_F(PmsFile, LoadThenSaveIsByteIdentical) {
    write_bytes(file("a.e2p"), sample_image());
    for (int p = 0; p < kPrograms; ++p) {
        const auto load = settings.recall_program(p, file("a.e2p"));
        EXPECT_TRUE(load.found);
        EXPECT_FALSE(load.error) << *load.error;
    }
    EXPECT_EQ(read_bytes(file("tmp.tmp")), sample_image());
    ASSERT_FALSE(settings.save(file("b.e2p")));
    EXPECT_EQ(read_bytes(file("b.e2p")), sample_image());
}

TEST_F(PmsFile, SecondSaveKeepsTheAdjustments) {
    write_bytes(file("a.e2p"), sample_image());
    for (int p = 0; p < kPrograms; ++p) settings.recall_program(p, file("a.e2p"));
    settings.cells().at(0, 2, kFuel, 4, 4) = 10;
    settings.cells().at(1, 2, kFuel, 4, 4) = 6;
    ASSERT_FALSE(settings.save(file("a.e2p")));
    EXPECT_EQ(settings.cells().at(0, 2, kFuel, 4, 4), 16);
    EXPECT_EQ(settings.cells().at(1, 2, kFuel, 4, 4), 0);
    ASSERT_FALSE(settings.save(file("a.e2p")));
    EXPECT_EQ(read_bytes(file("a.e2p"))[1344 + fuel_offset(4, 4)], 8);
}

TEST_F(PmsFile, SaveOverALongerFileLeavesNoTail) {
    write_bytes(file("a.e2p"), sample_image(3000));
    write_bytes(file("b.e2p"), sample_image(9000));
    for (int p = 0; p < kPrograms; ++p) settings.recall_program(p, file("a.e2p"));
    ASSERT_FALSE(settings.save(file("b.e2p")));
    EXPECT_EQ(read_bytes(file("b.e2p")), sample_image(3000));
}

TEST_F(PmsFile, FailedSaveKeepsOldFileAndModel) {
    settings.cells().at(1, 0, kFuel, 0, 0) = 4;
    const auto failed = settings.save(file("missing/x.e2p"));
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->rfind("Unable to open file: ", 0), 0u);
    EXPECT_EQ(settings.cells().at(1, 0, kFuel, 0, 0), 4);
}

TEST_F(PmsFile, ShortAndMissingFiles) {
    write_bytes(file("three.e2p"), sample_image(2016));
    EXPECT_FALSE(settings.recall_program(0, file("three.e2p")).error);
    EXPECT_FALSE(settings.recall_program(1, file("three.e2p")).error);
    const auto third = settings.recall_program(2, file("three.e2p"));
    ASSERT_TRUE(third.error);
    EXPECT_EQ(third.error->rfind("Unable to open file: ", 0), 0u);
    EXPECT_EQ(settings.cells().at(0, 2, kTiming, kNosRow, 12), static_cast<std::int8_t>(sample_image()[1344 + 666]));

    settings.cells().at(1, 0, kFuel, 0, 0) = 4;
    const auto missing = settings.recall_program(0, file("none.e2p"));
    EXPECT_FALSE(missing.found);
    EXPECT_EQ(settings.cells().at(1, 0, kFuel, 0, 0), 0);
    EXPECT_EQ(settings.cells().at(0, 0, kFuel, 0, 0), static_cast<std::int8_t>(sample_image()[256]) * 2);
}

// L = 20: breakpoints 1, 5, 10, 15, 20. Boost table and NOS in use.
class PmsAnimate : public ::testing::Test {
protected:
    PmsAnimate() {
        Bytes block(kBlockSize, 0);
        block[0] = kBoostInUse | kNosInUse;
        block[77] = 20;
        cells.decode_program(0, block.data(), block.size());
    }
    PmsAnimation run(int rpm, int tps, float boost, int acc = 0) {
        return animate_cells(cells, 0, locks, pending, rpm, static_cast<std::int8_t>(tps), boost,
                             static_cast<std::int8_t>(acc));
    }
    AdjustCells cells;
    PmsLocks locks;
    int pending = kNoAdjustment;
};

TEST_F(PmsAnimate, RpmColumns) {
    EXPECT_FALSE(run(1999, 50, 0).throttle);
    EXPECT_EQ(run(2249, 50, 0).throttle->column, 0);
    EXPECT_EQ(run(2250, 50, 0).throttle->column, 0);
    EXPECT_EQ(run(2251, 50, 0).throttle->column, 1);
    EXPECT_EQ(run(8250, 50, 0).throttle->column, 12);
    pending = 6;
    EXPECT_FALSE(run(8251, 50, 0).throttle);
    EXPECT_EQ(pending, 6);
}

TEST_F(PmsAnimate, ThrottleRows) {
    EXPECT_FALSE(run(3000, 4, 0).throttle);
    EXPECT_EQ(run(3000, 5, 0).throttle->row, 0);
    EXPECT_EQ(run(3000, 95, 0).throttle->row, kWotRow);
    EXPECT_EQ(run(3000, 100, 0).throttle->row, kWotRow);
    EXPECT_EQ(run(3000, 127, 0).throttle->row, kWotRow);
}

TEST_F(PmsAnimate, BoostRowsAtLimitTwenty) {
    EXPECT_EQ(run(3000, 100, 3.0f).boost->row, kFirstBoostRow);
    EXPECT_EQ(run(3000, 100, 7.5f).boost->row, kFirstBoostRow + 1);
    EXPECT_EQ(run(3000, 100, 8.0f).boost->row, kFirstBoostRow + 2);
    EXPECT_EQ(run(3000, 100, 25.0f).boost->row, kFirstBoostRow + 4);
    EXPECT_FALSE(run(3000, 100, 0.9f).boost);
}

TEST_F(PmsAnimate, PendingCorrectionGoesToTheFirstUnlockedCell) {
    struct Case {
        PmsLocks locks;
        int row;  // -1: nobody takes it
    };
    for (const Case& c : {Case{{false, false, false}, 9}, Case{{true, false, false}, kFirstBoostRow + 4},
                          Case{{true, false, true}, kNosRow}, Case{{true, true, true}, -1}}) {
        cells.reset_sim();
        locks = c.locks;
        pending = 4;
        const PmsAnimation shown = run(3000, 100, 25.0f, 1);
        if (c.row < 0) {
            EXPECT_EQ(pending, 4);
            EXPECT_TRUE(shown.stored.empty());
            EXPECT_EQ(shown.total_adjust, 0);
        } else {
            EXPECT_EQ(pending, kNoAdjustment);
            ASSERT_EQ(shown.stored.size(), 1u);
            EXPECT_EQ(shown.stored[0].row, c.row);
            EXPECT_EQ(cells.at(1, 0, kFuel, c.row, 2), 4);
            EXPECT_EQ(shown.total_adjust, 4);
        }
    }
}

TEST_F(PmsAnimate, StoredCorrectionsKeepTheCellWithinWhatItsFieldTakes) {
    struct Case {
        int setting;
        int pending;
        int shown;  // setting + stored adjustment
    };
    const Case cases[] = {{40, 20, 50},   {-44, -28, -50}, {0, -50, -50}, {50, 6, 50},
                          {10, -28, -18}, {60, 4, 60},     {60, -4, 56}};
    for (const Case& c : cases) {
        cells.at(0, 0, kFuel, kWotRow, 2) = static_cast<std::int16_t>(c.setting);
        cells.reset_sim();
        pending = c.pending;
        run(3000, 100, 0.0f);
        EXPECT_EQ(cells.shown(0, kFuel, kWotRow, 2), c.shown) << c.setting << " + " << c.pending;
        // The saved byte holds half the shown value, as a typed one would be.
        const auto image = cells.rebuild(Bytes(2016));
        EXPECT_EQ(static_cast<std::int8_t>(image[fuel_offset(kWotRow, 2)]), c.shown / 2);
    }
}

TEST_F(PmsAnimate, LockedThrottleBelowBoostTakesNothing) {
    locks.wot = true;
    pending = 4;
    const PmsAnimation shown = run(3000, 100, 0.5f);
    EXPECT_TRUE(shown.throttle->locked);
    EXPECT_TRUE(shown.stored.empty());
    EXPECT_EQ(pending, 4);
    EXPECT_EQ(cells.at(1, 0, kFuel, 9, 2), 0);
}

TEST(PmsDump, Parsing) {
    const Bytes image = sample_image(8192);
    std::string text = dump_text(image);
    for (std::size_t i = 4; i < text.size(); i += 36)  // lower-case data digits too
        for (std::size_t j = i; j < i + 32; ++j) text[j] = char(std::tolower(text[j]));
    const auto parse = [](const std::string& dump) { return parse_eeprom_dump(Bytes(dump.begin(), dump.end())); };
    const DumpParse whole = parse(text);
    ASSERT_EQ(whole.outcome, DumpParse::Outcome::complete);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), whole.buffer.begin()));

    std::string swapped = text;  // lower-case address digits, records out of order
    std::swap_ranges(swapped.begin() + 36, swapped.begin() + 72, swapped.begin() + 256 * 36);
    swapped.replace(36 * 1, 4, "b000");
    swapped.replace(36 * 256, 4, "A010");
    EXPECT_EQ(parse(swapped).outcome, DumpParse::Outcome::complete);

    std::string bad_address = text;
    bad_address.replace(36 * 3, 4, "A0G0");
    const DumpParse skipped = parse(bad_address);
    EXPECT_EQ(skipped.message, "EEprom download incomplete!");
    EXPECT_EQ(skipped.buffer[48], 0);  // never written into a neighbour
    EXPECT_EQ(skipped.buffer[32], image[32]);

    std::string bad_data = text;
    bad_data.replace(36 * 5 + 10, 2, "x1");
    EXPECT_EQ(parse(bad_data).outcome, DumpParse::Outcome::incomplete);

    std::string missing = text;
    missing.replace(36 * 7, 4, "A000");  // block A070 never comes
    EXPECT_EQ(parse(missing).message, "EEprom download incomplete!");

    EXPECT_EQ(parse(text.substr(0, 18429)).message, "EEprom download incomplete!");
    const DumpParse cut = parse(text.substr(0, 18430));
    EXPECT_EQ(cut.outcome, DumpParse::Outcome::unreadable);
    EXPECT_EQ(cut.message.rfind("Unable to process eeprom download: ", 0), 0u);
}

TEST(PmsDump, ImageIsWrittenWholeOnlyWhenComplete) {
    TempFolder folder;
    write_bytes(folder.file("tmp.e2p"), Bytes(9000, 0x55));
    write_bytes(folder.file("temp.bcf"), Bytes(18432, '0'));  // address 0000 everywhere
    EXPECT_EQ(convert_eeprom_dump(folder.file("temp.bcf"), folder.file("tmp.e2p")), "EEprom download incomplete!");
    EXPECT_EQ(read_bytes(folder.file("tmp.e2p")), Bytes(9000, 0x55));

    const std::string text = dump_text(Bytes(8192, 0x11));
    write_bytes(folder.file("temp.bcf"), Bytes(text.begin(), text.end()));
    EXPECT_EQ(convert_eeprom_dump(folder.file("temp.bcf"), folder.file("tmp.e2p")), "");
    EXPECT_EQ(read_bytes(folder.file("tmp.e2p")), Bytes(8191, 0x11));
}

TEST(AfrCells, RowsColumnsAndModes) {
    using korv::editors::afr::AfrCells;
    using korv::editors::afr::boost_row;
    EXPECT_EQ(boost_row(4.0f), 2);
    EXPECT_EQ(boost_row(4.1f), 3);
    EXPECT_EQ(boost_row(35.0f), 15);
    EXPECT_EQ(boost_row(1.0f), 1);
    EXPECT_FALSE(boost_row(0.9f));

    AfrCells grid;
    grid.animate_cells(3000, 97, 10.0f, 0.8f, 0, false);
    grid.animate_cells(9000, 100, 10.0f, 0.8f, 0, false);
    for (int r = 0; r < 17; ++r)
        for (int c = 0; c < 14; ++c) ASSERT_EQ(grid.value(0, r, c), 0.0f);
    grid.animate_cells(3000, 100, 10.0f, 0.8f, 0, false);
    grid.animate_cells(3000, 100, 10.0f, 0.7f, 0, false);
    EXPECT_EQ(grid.text(0, 5, 3), "0.8");
    grid.animate_cells(3000, 100, 10.0f, 0.6f, 0, true);
    EXPECT_EQ(grid.value(0, 5, 3), 0.6f);
    grid.animate_cells(3000, 100, 10.0f, 0.9f, 1, true);  // empty cell takes the first value
    EXPECT_EQ(grid.text(1, 5, 3), "0.9");
    grid.animate_cells(3000, 100, 10.0f, 123.9f, 2, false);
    EXPECT_EQ(grid.text(2, 5, 3), "123");
    EXPECT_EQ(grid.text(3, 5, 3), "");
}

}  // namespace
