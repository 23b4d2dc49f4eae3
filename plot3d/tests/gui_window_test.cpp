// The 3-D window on a 3d.dat written by the player's writer: what it shows,
// its buttons and zoom bar, its dialogs, and the files it cannot show.
#include "common/core/log_3d.h"
#include "plot3d/core/database.h"
#include "plot3d/gui/chart3d_frame.h"
#include "plot3d/gui/filter_box.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/legend_box.h"
#include "plot3d/gui/option_box.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/plotter.h"
#include "testsupport/temp_folder.h"
#include "testsupport/window_texts.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <fstream>

namespace korv::plot3d {
namespace {

// rpm 1000 .. 6000, O2 0.2 .. 0.9, pressure always 0, timing 5 .. 30.
const std::vector<Log3dRecord> kRecords = {
    {1000.0f, 0.9f, 0, 5.0f, 10.0f, 0, 2.0f, 80, 20},
    {3000.0f, 0.5f, 0, 20.0f, 50.0f, 0, 4.0f, 80, 20},
    {6000.0f, 0.2f, 0, 30.0f, 95.0f, 0, 9.0f, 85, 25},
    {4500.0f, 0.7f, 0, 25.0f, 70.0f, 0, 6.0f, 85, 25},
};

void write_dat(const std::vector<Log3dRecord>& records) {
    Log3dFile file;
    ASSERT_FALSE(file.create(kLog3dFileName));
    for (std::size_t i = 0; i < records.size(); ++i) file.add(records[i], static_cast<std::int64_t>(i));
    ASSERT_FALSE(file.close());
}

QStringList items(const QComboBox* c) {
    QStringList out;
    for (int i = 0; i < c->count(); ++i) out << c->itemText(i);
    return out;
}

int count_colour(const QImage& image, QColor colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

// The columns holding a pixel of this colour: left and right.
std::pair<int, int> columns_of(const QImage& image, QColor colour) {
    int left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) left = std::min(left, x), right = std::max(right, x);
    return {left, right};
}

class WindowTest : public ::testing::Test {
protected:
    void show() {
        window = std::make_unique<CHART3Dframe>();
        window->show();
    }
    Plotter& plotter() { return *window->plotter(); }
    PlotView& view() { return *plotter().view; }
    template <typename Box>
    std::vector<Box*> dialogs() {
        std::vector<Box*> out;
        for (Box* box : plotter().findChildren<Box*>())
            if (box->isVisible()) out.push_back(box);
        return out;
    }

    testsupport::WorkingFolder folder;
    std::unique_ptr<CHART3Dframe> window;
};

TEST_F(WindowTest, ShowsTheRecordsWithTheirLegend) {
    write_dat(kRecords);
    show();
    EXPECT_EQ(window->pos(), QPoint(50, 50));
    EXPECT_EQ(window->size(), QSize(640, 480));
    EXPECT_EQ(view().datacount, 4);
    EXPECT_EQ(view().geometry(), QRect(150, 0, 640 - 150 - 30, 480 - 20 - 35));
    EXPECT_EQ(plotter().legend->texts(), (QStringList{"Rpms", "1000.0", "6000.0", "O2", "0.2", "0.9", "Pressure", "0.0",
                                                      "0.0", "Timing for Size"}));
    EXPECT_TRUE(window->optionsButton()->isEnabled());
    EXPECT_TRUE(window->filterButton()->isEnabled());
    EXPECT_TRUE(plotter().infoline->text().isEmpty());
    EXPECT_GT(count_colour(view().drawFrame(), QColor(255, 255, 0)), 100);  // yellow cubes
}

TEST_F(WindowTest, FilesItCannotShowLeaveAnEmptyPlotThatSaysWhy) {
    struct Case {
        const char* name;
        std::string content;  // none: no file
        QString status;
        bool loaded;
    };
    const std::string header = log3d_names_line() + log3d_types_line();
    const Case cases[] = {
        {"missing", "", "3d.dat could not be opened: ", false},
        {"no records", header, "No records in 3d.dat", false},
        {"damaged", header + *log3d_record_line(kRecords[0], 0) + "1.0 \"x\" 3 4 5 6 7 8 9 10\n12 13\n",
         "2 lines of 3d.dat could not be read", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(kLog3dFileName);
        if (!c.content.empty()) std::ofstream(kLog3dFileName, std::ios::binary) << c.content;
        show();
        EXPECT_TRUE(plotter().infoline->text().startsWith(c.status)) << plotter().infoline->text().toStdString();
        EXPECT_EQ(window->optionsButton()->isEnabled(), c.loaded);
        EXPECT_EQ(window->filterButton()->isEnabled(), c.loaded);
        EXPECT_EQ(view().isEnabled(), c.loaded);
        EXPECT_EQ(view().datacount, c.loaded ? 1 : 0);
        EXPECT_EQ(plotter().legend->labeldone(), c.loaded);
        window->optionsButton()->click();  // disabled: nothing opens
        EXPECT_EQ(dialogs<OptionBox>().size(), c.loaded ? 1u : 0u);
    }
}

TEST_F(WindowTest, EveryRefusalIsShownWholeInTheStatusLine) {
    std::string names(300 * 2, ' '), types;
    for (int f = 0; f < 300; ++f) names[static_cast<std::size_t>(2 * f)] = 'f', types += "NUMERIC ";
    const std::pair<std::string, QString> cases[] = {
        {names + "\n" + types + "\n", "3d.dat has 300 fields; the plot takes at most 256"},
        {"", "3d.dat is empty: no names line"},
        {"a b\n", "3d.dat has no types line"},
        {"a\nNUMERIC NUMERIC\n", "The types line of 3d.dat has more types than there are fields"},
        {"a\n" + std::string(100, 'W') + "\n", "Unknown field type in 3d.dat: " + QString(17, 'W') + "..."},
    };
    for (const auto& [content, status] : cases) {
        SCOPED_TRACE(status.toStdString());
        std::ofstream(kLog3dFileName, std::ios::binary) << content;
        show();
        const InfoLine& line = *plotter().infoline;
        EXPECT_EQ(line.text(), status);
        // Written from x = 6 (the engraved copy), in the status line's own font.
        EXPECT_LE(6 + QFontMetrics(plot_text_font()).horizontalAdvance(line.text()), line.width());
    }
}

TEST_F(WindowTest, ResetClearsOnlyTheUserRotation) {
    write_dat(kRecords);
    show();
    window->zoomBar()->setValue(15);
    view().onMousePress(100, 100);
    view().onMouseDrag(140, 130);
    view().onMouseRelease(140, 130);
    view().selectid = 2;
    ASSERT_NE(view().deltamat.toArray(), Matrix3D().toArray());
    window->resetButton()->click();
    EXPECT_EQ(view().deltamat.toArray(), Matrix3D().toArray());
    EXPECT_EQ(view().xratio, 1.5f);
    EXPECT_EQ(view().selectid, 2);
}

TEST_F(WindowTest, GridCyclesThroughGridAndOpaquePlanes) {
    write_dat(kRecords);
    show();
    const std::pair<bool, bool> expected[] = {{true, false}, {true, true}, {false, false}};
    for (const auto& [grid, opaque] : expected) {
        window->gridButton()->click();
        EXPECT_EQ(view().needgrid, grid);
        EXPECT_EQ(view().opaqueplane, opaque);
    }
}

TEST_F(WindowTest, ZoomBarRunsFromHalfToNineTenthsAndFiveHalvesTheCube) {
    write_dat(kRecords);
    show();
    EXPECT_EQ(window->zoomBar()->value(), 10);
    EXPECT_EQ(window->zoomBar()->minimum(), 5);
    EXPECT_EQ(window->zoomBar()->maximum(), 19);
    window->gridButton()->click();
    window->gridButton()->click();  // opaque grey planes show the cube's extent
    const auto [left10, right10] = columns_of(view().drawFrame(), QColor(128, 128, 128));
    window->zoomBar()->setValue(5);
    EXPECT_EQ(view().yratio, 0.5f);
    const auto [left5, right5] = columns_of(view().drawFrame(), QColor(128, 128, 128));
    const int centre = view().width() / 2;
    EXPECT_NEAR(right5 - centre, (right10 - centre) / 2.0, 2.0);
    EXPECT_NEAR(centre - left5, (centre - left10) / 2.0, 2.0);
    window->zoomBar()->setValue(19);
    EXPECT_FLOAT_EQ(view().zratio, 1.9f);
}

TEST_F(WindowTest, EveryPressOpensAnotherDialogAndOptionsChangeTheLegend) {
    write_dat(kRecords);
    show();
    window->optionsButton()->click();
    window->optionsButton()->click();
    window->filterButton()->click();
    ASSERT_EQ(dialogs<OptionBox>().size(), 2u);
    ASSERT_EQ(dialogs<FilterBox>().size(), 1u);
    OptionBox& box = *dialogs<OptionBox>().front();
    box.okButton()->click();
    EXPECT_EQ(box.message(), (QStringList{"X/Y/Z/Size choices", "cannot be identical."}));
    const QStringList numeric = items(box.fieldChoice(0));
    box.fieldChoice(0)->setCurrentIndex(numeric.indexOf("Timing"));
    box.fieldChoice(1)->setCurrentIndex(numeric.indexOf("Rpms"));
    box.fieldChoice(2)->setCurrentIndex(numeric.indexOf("None"));
    box.fieldChoice(3)->setCurrentIndex(numeric.indexOf("None"));
    box.minText(1)->setText("0");
    box.maxText(1)->setText("8000");
    box.okButton()->click();
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(plotter().legend->texts(),
              (QStringList{"Timing", "5.0", "30.0", "Rpms", "0.0", "8000.0", "", "-1.0", "1.0"}));
}

TEST_F(WindowTest, FilterKeepsTheMaximumAndAnEmptyResultClearsTheView) {
    write_dat(kRecords);
    show();
    window->filterButton()->click();
    FilterBox& box = *dialogs<FilterBox>().front();
    box.minChoice(0)->setCurrentIndex(10);  // rpm >= its maximum
    box.applyButton()->click();
    EXPECT_EQ(view().datacount, 1);
    EXPECT_EQ(view().points()->position(0).x, 1.0f);  // kept in place: the bounds stay

    box.minChoice(0)->setCurrentIndex(0);
    box.maxChoice(0)->setCurrentIndex(1);   // rpm <= 1000: record 0 ...
    box.minChoice(1)->setCurrentIndex(10);  // ... and O2 >= 0.9: record 0 only
    box.minChoice(3)->setCurrentIndex(10);  // timing >= 30: none
    const QStringList legend = plotter().legend->texts();
    box.okButton()->click();
    EXPECT_EQ(plotter().database->reccount, 0);
    EXPECT_EQ(view().datacount, 0);
    EXPECT_EQ(count_colour(view().drawFrame(), QColor(255, 255, 0)), 0);
    EXPECT_EQ(plotter().legend->texts(), legend);
}

TEST_F(WindowTest, AFilterThatKeepsNothingSaysSoAndAnOldMismatchGoes) {
    write_dat(kRecords);
    show();
    window->filterButton()->click();
    FilterBox& box = *dialogs<FilterBox>().front();
    box.minChoice(0)->setCurrentIndex(10);
    box.maxChoice(0)->setCurrentIndex(10);  // rpm from its maximum to its maximum: refused
    box.applyButton()->click();
    EXPECT_EQ(box.message(), "Min/Max mismatch for Rpms");

    box.maxChoice(0)->setCurrentIndex(0);
    box.minChoice(1)->setCurrentIndex(10);  // rpm and O2 at their maxima: no record has both
    box.applyButton()->click();
    EXPECT_EQ(view().datacount, 0);
    EXPECT_EQ(box.message(), "No record passes the filter");
    EXPECT_EQ(plotter().infoline->text(), "No record passes the filter");

    box.minChoice(1)->setCurrentIndex(0);
    box.okButton()->click();  // rpm at its maximum: one record
    EXPECT_EQ(view().datacount, 1);
    EXPECT_EQ(box.message(), "");
    EXPECT_EQ(plotter().infoline->text(), "");
}

TEST_F(WindowTest, DragTurnsTheSceneAndTheCubesFollow) {
    write_dat(kRecords);
    show();
    view().drawFrame();  // record 0 lies off the centre, so a turn moves it
    auto cube_at = [&] {
        return screen_of(view().transmat.transform(view().points()->position(0)), view().width(), view().height());
    };
    const ScreenPoint before = cube_at();
    view().onMousePress(200, 200);
    view().onMouseDrag(260, 200);
    view().onMouseRelease(260, 200);
    const QImage& frame = view().drawFrame();
    const ScreenPoint after = cube_at();
    EXPECT_NE(before, after);
    int yellow = 0;
    for (int dy = -6; dy <= 6; ++dy)
        for (int dx = -6; dx <= 6; ++dx) yellow += frame.pixelColor(after.x + dx, after.y + dy) == QColor(255, 255, 0);
    EXPECT_GT(yellow, 40);
}

TEST_F(WindowTest, TextsOfTheWindowAndItsDialogsFitAndRead) {
    write_dat(kRecords);
    show();
    auto expect_readable = [](QWidget& w) {
        EXPECT_EQ(testsupport::listed(testsupport::cut_texts(w)), "") << w.windowTitle().toStdString();
        EXPECT_EQ(testsupport::listed(testsupport::pale_texts(w)), "") << w.windowTitle().toStdString();
    };
    expect_readable(*window);
    window->optionsButton()->click();
    window->filterButton()->click();
    QApplication::processEvents();  // the dialogs' scroll areas settle
    expect_readable(*dialogs<OptionBox>().front());
    expect_readable(*dialogs<FilterBox>().front());
}

TEST_F(WindowTest, TheWindowAndItsDialogsShowTheirTextsAsWritten) {
    write_dat(kRecords);
    show();
    window->optionsButton()->click();
    window->filterButton()->click();
    using testsupport::ExpectedText;
    const std::vector<std::pair<QWidget*, std::vector<ExpectedText>>> windows = {
        {window.get(), {{"Reset"}, {"Options"}, {"Filter"}, {"Grid"}}},
        {dialogs<OptionBox>().front(),
         {{"X Field"},
          {"Y Field"},
          {"Z Field"},
          {"Size Field"},
          {"Color Field"},
          {"Default"},
          {"Scale"},
          {"Min"},
          {"Max"},
          {"X"},
          {"Size"},
          {"Yellow"},
          {"Dark Pink"},
          {"Dark White"},
          {"OK"},
          {"Apply"},
          {"Cancel"}}},
        {dialogs<FilterBox>().front(), {{"Rpms"}, {"P/W"}, {"W/T"}, {"A/T"}, {"OK"}, {"Apply"}, {"Cancel"}}},
    };
    for (const auto& [w, expected] : windows) {
        EXPECT_EQ(testsupport::listed(testsupport::missing_texts(*w, expected)), "") << w->windowTitle().toStdString();
    }
}

TEST_F(WindowTest, ClosingOnlyHides) {
    write_dat(kRecords);
    show();
    window->close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->testAttribute(Qt::WA_DeleteOnClose));
}

}  // namespace
}  // namespace korv::plot3d
