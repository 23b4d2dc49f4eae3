// The rows of the data-value panel: which item gets which row and label.
#include <gtest/gtest.h>

#include "logger/core/data_value_table.h"

namespace korv::logger {
namespace {

constexpr int kDsm = -1;
constexpr int kObd = -2;

TEST(DataValueTable, RowsFollowTheAnnouncementOrderWithTheEnginesLabels) {
    DataValueTable table;
    const auto rpm = table.define_fields(9, kDsm);
    EXPECT_TRUE(rpm.fresh_table);
    EXPECT_EQ(rpm.shown_row, 0);
    EXPECT_EQ(rpm.label, "RPM");
    EXPECT_EQ(table.define_fields(0, kDsm).label, "Timing");
    EXPECT_EQ(table.define_fields(3, kDsm).label, "O2 volts");
    EXPECT_EQ(table.row_of(9), 0);
    EXPECT_EQ(table.row_of(0), 1);
    EXPECT_EQ(table.row_of(3), 2);
    EXPECT_EQ(table.table_index(), 3);

    // The two engines name the trims differently; some codes have no label.
    EXPECT_EQ(DataValueTable::label_for(12, kDsm), "Low Trim");
    EXPECT_EQ(DataValueTable::label_for(12, kObd), "Short Trim");
    EXPECT_EQ(DataValueTable::label_for(13, kObd), "Long Trim");
    EXPECT_FALSE(DataValueTable::label_for(10, kObd));
    EXPECT_FALSE(DataValueTable::label_for(20, kDsm));
}

TEST(DataValueTable, ACodeWithoutALabelStillGetsARow) {
    DataValueTable table;
    const auto knock = table.define_fields(17, kObd);
    EXPECT_EQ(knock.shown_row, 0);
    EXPECT_FALSE(knock.label);
    EXPECT_EQ(table.table_index(), 1);
}

TEST(DataValueTable, ASampleMakesTheNextAnnouncementStartAFreshTable) {
    DataValueTable table;
    table.define_fields(9, kObd);
    table.define_fields(3, kObd);
    // A second run announcing before any sample adds rows after the first's.
    const auto added = table.define_fields(7, kDsm);
    EXPECT_FALSE(added.fresh_table);
    EXPECT_EQ(added.shown_row, 2);

    table.set_table_index(0);  // a sample arrived
    const auto fresh = table.define_fields(0, kDsm);
    EXPECT_TRUE(fresh.fresh_table);
    EXPECT_EQ(fresh.shown_row, 0);
    EXPECT_FALSE(table.row_of(9));
    EXPECT_FALSE(table.row_of(7));
}

TEST(DataValueTable, RepeatsAndItemsPastTheTenthGetNoRow) {
    DataValueTable table;
    table.define_fields(9, kDsm);
    EXPECT_FALSE(table.define_fields(9, kDsm).shown_row);
    EXPECT_EQ(table.table_index(), 1);

    for (int code = 20; code < 29; ++code) table.define_fields(code, kDsm);
    EXPECT_EQ(table.table_index(), 10);
    EXPECT_FALSE(table.define_fields(40, kDsm).shown_row);
    EXPECT_FALSE(table.row_of(40));
}

TEST(DataValueTable, AnotherCableAssignsARowButShowsNothing) {
    DataValueTable table;
    table.define_fields(9, kDsm);
    const auto other = table.define_fields(3, 4);
    EXPECT_FALSE(other.shown_row);
    EXPECT_EQ(table.row_of(3), 1);
    EXPECT_EQ(table.table_index(), 0);
}

TEST(DataValueTable, CodesOutsideTheTableAreIgnored) {
    DataValueTable table;
    table.define_fields(9, kDsm);
    for (int code : {-1, 60, 1000}) {
        const auto defined = table.define_fields(code, kDsm);
        EXPECT_FALSE(defined.fresh_table);
        EXPECT_FALSE(defined.shown_row);
        EXPECT_FALSE(table.row_of(code));
    }
    EXPECT_EQ(table.table_index(), 1);
    // A table index past the rows cannot be set.
    table.set_table_index(-5);
    EXPECT_EQ(table.table_index(), 0);
    table.set_table_index(99);
    EXPECT_EQ(table.table_index(), DataValueTable::kRows);
}

}  // namespace
}  // namespace korv::logger
