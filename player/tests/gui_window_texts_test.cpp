// Korvview's fixed-size windows show every text whole and readable in the
// fonts they choose, whatever font the desktop offers.
#include "common/gui/error_dialog.h"
#include "player/gui/analysis_grid.h"
#include "player/gui/chartcontrolp.h"
#include "player/gui/control_dialog.h"
#include "player/gui/csv_dialog.h"
#include "player/gui/korvane.h"
#include "player/gui/loading_diag.h"
#include "player/gui/pnkorv_dialog.h"
#include "player/tests/analysis_fixture.h"
#include "testsupport/window_texts.h"

#include <QApplication>
#include <QCheckBox>
#include <QScrollArea>
#include <QScrollBar>

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;
using korv::testsupport::cut_texts;
using korv::testsupport::listed;
using korv::testsupport::pale_texts;

namespace {

// Shown once so that layouts and text panes settle, then checked.
void expect_readable(QWidget& window) {
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(listed(cut_texts(window)), "");
    EXPECT_EQ(listed(pale_texts(window)), "");
}

class PlayerWindowTexts : public AnalysisFrameTest {};

TEST_F(PlayerWindowTexts, StartWindowShowsThePlayersVersionWhole) {
    Korvane start(services);
    start.player_button->setText(frame->player_version);
    expect_readable(start);
}

TEST_F(PlayerWindowTexts, PlaybackFrameAndItsGridShowEveryLabel) {
    for (QWidget* hidden : std::initializer_list<QWidget*>{frame->chart_all, frame->low_vals, frame->advanced_fuel_calc,
                                                           frame->itc_animate, frame->afc_animate, frame->afc2_animate,
                                                           frame->reset_button}) {
        hidden->show();
    }
    auto* grid = frame->findChild<AnalysisGrid*>();
    ASSERT_NE(grid, nullptr);
    // The widest values a cell is given: pressure and timing with decimals.
    grid->show_value(3, 16, QStringLiteral("14.25"));
    grid->show_value(2, 15, QStringLiteral("-10.5"));
    expect_readable(*frame);
    grid->set_row_labels(true);
    EXPECT_EQ(listed(cut_texts(*frame)), "");
}

TEST_F(PlayerWindowTexts, ChartManagerButtonsFitAndStayReadableDisabled) {
    chartcontrolp manager;
    expect_readable(manager);
    for (int slot = 1; slot <= chartcontrolp::max_charts; ++slot) {
        QPushButton* button = manager.button_flag[slot];
        auto expect_readable_button = [&](const char* state) {
            EXPECT_GE(korv::testsupport::rendered_text_contrast(*button), korv::testsupport::kReadableContrast)
                << button->text().toStdString() << " " << state;
        };
        expect_readable_button("red, disabled");
        button->setEnabled(true);
        expect_readable_button("red");
        manager.setbutton(slot);
        expect_readable_button("green");
        // A green button stays green when the next log lacks its channel.
        button->setEnabled(false);
        expect_readable_button("green, disabled");
    }
}

TEST_F(PlayerWindowTexts, CsvDialogShowsAllFiveColumnsOfARow) {
    csv_dialog dialog(nullptr, false);
    dialog.add_controls(20);
    dialog.csv_file->setChecked(true);
    expect_readable(dialog);
    EXPECT_EQ(dialog.columns_area->horizontalScrollBar()->maximum(), 0);
}

TEST_F(PlayerWindowTexts, CsvDialogShowsEachNewFileFromItsStart) {
    csv_dialog dialog(nullptr, false);
    dialog.add_controls(20);
    dialog.csv_file->setChecked(true);
    dialog.append_text(QString(40, QLatin1Char('\n')));
    dialog.show();
    QApplication::processEvents();
    // Scrolled away while looking at the previous file.
    QScrollArea* area = dialog.columns_area;
    area->widget()->setMinimumSize(2000, 2000);
    QApplication::processEvents();
    for (QScrollBar* bar :
         {area->horizontalScrollBar(), area->verticalScrollBar(), dialog.text_area->verticalScrollBar()}) {
        bar->setValue(bar->maximum());
        ASSERT_GT(bar->value(), 0);
    }
    dialog.clear_text();
    for (QScrollBar* bar : {area->horizontalScrollBar(), area->verticalScrollBar(),
                            dialog.text_area->horizontalScrollBar(), dialog.text_area->verticalScrollBar()}) {
        EXPECT_EQ(bar->value(), 0);
    }
}

TEST_F(PlayerWindowTexts, DialogsShowEveryText) {
    control_dialog chooser(nullptr, pool);
    expect_readable(chooser);
    loading_diag loading(nullptr);
    expect_readable(loading);
    PNKORVdialog transfer;
    expect_readable(transfer);
    error_dialog error;
    error.set_message(QStringLiteral("Converting file, please wait"));
    expect_readable(error);
}

}  // namespace
