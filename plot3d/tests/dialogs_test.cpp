#include "plot3d/core/database.h"
#include "plot3d/core/mapper.h"
#include "plot3d/gui/filter_box.h"
#include "plot3d/gui/option_box.h"
#include "plot3d/gui/plot_panel.h"
#include "testsupport/file_bytes.h"
#include "testsupport/temp_folder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>

#include <optional>

namespace korv::plot3d {
namespace {

// Keeps what the dialogs applied.
struct FakePanel : PlotPanel {
    explicit FakePanel(const std::string& dat) {
        testsupport::TempFolder folder;
        testsupport::write_text(folder.file("3d.dat"), dat);
        table = std::make_shared<Database>(folder.file("3d.dat"));
    }
    const Database& originalTable() const override { return *table; }
    void applyMapper(const Mapper& m) override { mapper = m; }
    void applyFilter(std::shared_ptr<Database> t) override { filtered = std::move(t); }

    std::shared_ptr<Database> table;
    std::optional<Mapper> mapper;
    std::shared_ptr<Database> filtered;
};

// Four numbers and a mode word; rpm 1000.25 .. 6500.75.
const char* kTable =
    "Rpms O2 Mode Pressure Timing\n"
    "NUMERIC NUMERIC STRING NUMERIC NUMERIC\n"
    "1000.25 0.5 \"idle\" 0.0 10.0\n"
    "6500.75 0.9 \"boost\" 0.0 30.0\n"
    "3000.0 0.7 \"idle\" 0.0 20.0\n"
    "4000.0 0.6 \"cruise\" 0.0 25.0\n";

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

TEST(OptionBox, StartsOnTheFirstFieldsAndListsTheColourFieldsValues) {
    FakePanel panel(kTable);
    QWidget window;
    OptionBox box(panel, &window);
    EXPECT_EQ(box.windowTitle(), "Visualization Options");
    EXPECT_EQ(box.size(), QSize(715, 390));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(items(box.fieldChoice(i)), (QStringList{"Rpms", "O2", "Pressure", "Timing", "None"}));
        EXPECT_EQ(box.fieldChoice(i)->currentIndex(), 0);
        EXPECT_TRUE(box.minText(i)->text().isEmpty());
    }
    EXPECT_EQ(items(box.colorFieldChoice()), (QStringList{"Mode", "None"}));
    EXPECT_EQ(items(box.defaultChoice()), (QStringList{"Yellow", "Red", "Blue", "Green", "White", "Pink"}));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(items(box.colourRow(i)), (QStringList{"- N/A -", "idle", "boost", "cruise"}));
    box.colorFieldChoice()->setCurrentIndex(1);  // None
    EXPECT_EQ(items(box.colourRow(5)), QStringList{"- N/A -"});
}

TEST(OptionBox, ChecksShowTheirMessagesAndApplyNothing) {
    FakePanel panel(kTable);
    QWidget window;
    OptionBox box(panel, &window);
    box.okButton()->click();  // fresh: four times Rpms
    EXPECT_EQ(box.message(), (QStringList{"X/Y/Z/Size choices", "cannot be identical."}));

    box.fieldChoice(1)->setCurrentIndex(1);
    box.fieldChoice(2)->setCurrentIndex(2);
    box.fieldChoice(3)->setCurrentIndex(3);
    box.colourRow(0)->setCurrentIndex(1);
    box.colourRow(9)->setCurrentIndex(1);
    box.applyButton()->click();
    EXPECT_EQ(box.message(), (QStringList{"Error: Distinct colors", "for the same string."}));
    box.colourRow(9)->setCurrentIndex(2);

    box.minText(0)->setText("5");
    box.applyButton()->click();
    EXPECT_EQ(box.message(), (QStringList{"Error: Min/Max values", "for scale don't match."}));
    box.minText(0)->setText("five");
    box.applyButton()->click();
    EXPECT_EQ(box.message(), (QStringList{"Error: Min/Max values", "must be numbers."}));
    EXPECT_FALSE(panel.mapper);
}

TEST(OptionBox, AppliesChoicesBoundsAndColoursAndRescalesEmptyPairs) {
    FakePanel panel(kTable);
    QWidget window;
    OptionBox box(panel, &window);
    window.show();
    box.show();
    box.fieldChoice(0)->setCurrentIndex(4);  // X None
    box.fieldChoice(1)->setCurrentIndex(4);  // Y None
    box.fieldChoice(2)->setCurrentIndex(3);  // Z Timing
    box.fieldChoice(3)->setCurrentIndex(0);  // Size Rpms
    box.minText(2)->setText("0");
    box.maxText(2)->setText("0");  // min = max is taken
    box.defaultChoice()->setCurrentIndex(2);
    box.colourRow(7)->setCurrentIndex(2);  // boost dark red
    box.applyButton()->click();
    ASSERT_TRUE(panel.mapper);
    EXPECT_TRUE(box.isVisible());
    const Mapper& m = *panel.mapper;
    EXPECT_EQ((std::array{m.x, m.y, m.z, m.size, m.color}), (std::array{-1, -1, 4, 0, 2}));
    EXPECT_EQ((std::array{m.minx, m.maxx, m.minz, m.maxz}), (std::array{-1.0f, 1.0f, 0.0f, 0.0f}));
    EXPECT_EQ(m.minsize, 1000.25f);  // rescaled from the table
    EXPECT_EQ(m.maxsize, 6500.75f);
    EXPECT_EQ(m.defcolor, (Colour{0, 0, 255}));
    EXPECT_EQ(m.getcolor("boost"), (Colour{124, 0, 0}));
    EXPECT_EQ(m.getcolor("idle"), (Colour{0, 0, 255}));  // on no row: the default
    box.okButton()->click();
    EXPECT_FALSE(box.isVisible());
}

TEST(FilterBox, RowsOfferTheFieldsRangeEndingExactlyOnItsExtremes) {
    FakePanel panel(kTable);
    QWidget window;
    FilterBox box(panel, &window);
    EXPECT_EQ(box.windowTitle(), "Database Filter");
    EXPECT_EQ(box.size(), QSize(300, 140 + 40 * 4));
    ASSERT_EQ(box.rows(), 4);
    const QStringList rpm = items(box.minChoice(0));
    ASSERT_EQ(rpm.size(), 11);
    EXPECT_EQ(rpm.front(), "- N/A -");
    EXPECT_EQ(rpm[1], "1000.25");
    EXPECT_EQ(rpm[10], "6500.75");
    EXPECT_EQ(items(box.maxChoice(2)),
              (QStringList{"- N/A -", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0", "0.0"}));
}

TEST(FilterBox, KeepsTheExtremeRecordsAndRefusesAnEmptyRange) {
    FakePanel panel(kTable);
    QWidget window;
    FilterBox box(panel, &window);
    box.minChoice(0)->setCurrentIndex(10);
    box.maxChoice(0)->setCurrentIndex(10);
    box.applyButton()->click();
    EXPECT_EQ(box.message(), "Min/Max mismatch for Rpms");
    EXPECT_FALSE(panel.filtered);

    box.minChoice(0)->setCurrentIndex(2);  // above the minimum record
    box.maxChoice(0)->setCurrentIndex(10);
    box.applyButton()->click();
    ASSERT_TRUE(panel.filtered);
    EXPECT_EQ(panel.filtered->reccount, 3);
    EXPECT_EQ(panel.filtered->numericValue(0, 0), 6500.75f);  // the maximum record stays

    box.minChoice(0)->setCurrentIndex(0);
    box.maxChoice(3)->setCurrentIndex(1);  // Timing <= 10: the minimum record
    box.applyButton()->click();
    EXPECT_EQ(panel.filtered->reccount, 1);
    EXPECT_EQ(panel.filtered->numericValue(0, 0), 1000.25f);
    EXPECT_EQ(panel.table->reccount, 4);  // the original is never filtered
}

// Whether the control can be scrolled fully into the dialog's view.
bool reachable(QDialog& box, QWidget* control) {
    auto* area = box.findChild<QScrollArea*>();
    if (area == nullptr) return false;
    area->ensureWidgetVisible(control, 0, 0);
    const QRect seen(control->mapTo(area->viewport(), QPoint(0, 0)), control->size());
    return area->viewport()->rect().contains(seen);
}

TEST(Dialogs, ATableOfManyFieldsScrollsWithinTheScreen) {
    std::string names, types, record;
    for (int f = 0; f < Database::kMaxFields; ++f) {
        names += "field" + std::to_string(f) + " ";
        types += "NUMERIC ";
        record += std::to_string(f) + " ";
    }
    FakePanel panel(names + "\n" + types + "\n" + record + "\n" + record + "\n");
    QWidget window;
    const int screen_height = window.screen()->availableGeometry().height();

    FilterBox filter(panel, &window);
    filter.show();
    ASSERT_EQ(filter.rows(), Database::kMaxFields);
    EXPECT_LE(filter.height(), screen_height);
    EXPECT_GE(filter.width(), 300);
    for (QWidget* control :
         {static_cast<QWidget*>(filter.maxChoice(Database::kMaxFields - 1)),
          static_cast<QWidget*>(filter.cancelButton()), static_cast<QWidget*>(filter.minChoice(0))}) {
        EXPECT_TRUE(reachable(filter, control)) << control->metaObject()->className();
    }

    OptionBox options(panel, &window);
    options.show();
    EXPECT_EQ(options.size(), QSize(715, 390));
    options.resize(400, 200);  // smaller than its controls, as on a small screen
    QApplication::processEvents();
    EXPECT_TRUE(reachable(options, options.cancelButton()));
    EXPECT_TRUE(reachable(options, options.colourRow(11)));
}

}  // namespace
}  // namespace korv::plot3d
