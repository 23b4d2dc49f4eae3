// The start window offscreen: the default kvt.cfg, restoring and recording
// every slot, and the controller chooser's rules.
#include "player/gui/korvane.h"

#include "common/gui/error_dialog.h"
#include "player/tests/gui_test_support.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/gui/control_dialog.h"
#include "player/gui/play_frame.h"
#include "player/tests/test_files.h"
#include "testsupport/window_places.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

kvt::KvtConfig every_slot() {
    kvt::KvtConfig c;
    c.start_x = 40;
    c.start_y = 50;
    kvt::PlayerSlot p;
    p.x = 100;
    p.y = 120;
    p.visible = false;  // not used: a restored player is shown
    p.animate_enabled = true;
    p.animate_selected = true;
    p.theFile = "last.db1";
    p.theFileDir = "/logs/caf\xE9/";
    p.itc_animate = true;
    p.afc2_animate = true;
    p.advanced_fuel_calc = true;
    p.chart_2d_present = true;
    p.x_2d = 300;
    p.y_2d = 310;
    c.player = p;
    kvt::ChooserSlot d;
    d.x = 60;
    d.y = 70;
    d.visible = true;
    d.selected = {true, false, true, false};  // AFC (5 knob style) and ITC
    d.enabled = {false, false, false, false};
    c.chooser = d;
    c.knob_afc = kvt::EditorSlot{200, 210, true, "knob.cfg", "/cfg/"};
    c.vcd_afc = kvt::EditorSlot{220, 230, false, "vcd.cfg", "/cfg/"};
    c.itc = kvt::EditorSlot{240, 250, true, "itc.cfg", "/cfg/"};
    c.pms = kvt::PmsSlot{kvt::EditorSlot{260, 270, true, "map.e2p", "/cfg/"}, {false, true, false, false, true}};
    return c;
}

class KorvaneTest : public InScratchFolder {
protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        services.file_chooser = &chooser;
        services.editors = &pool;
    }
    void TearDown() override {
        window.reset();
        InScratchFolder::TearDown();
    }
    void start() { window = std::make_unique<Korvane>(services); }
    kvt::KvtConfig recorded() {
        window->record_cfg();
        kvt::KvtRead read;
        EXPECT_FALSE(kvt::read_kvt_file(path("kvt.cfg"), read));
        return read.config;
    }
    QString error_text() const {
        const error_dialog* dialog = window->error_reporter().error_diag();
        return dialog && dialog->isVisible() ? dialog->message() : QString();
    }

    korv::platform::ScriptedFileChooser chooser;
    FakeEditorFactory factory;
    EditorPool pool{&factory};
    PlayerServices services;
    std::unique_ptr<Korvane> window;
};

}  // namespace

TEST_F(KorvaneTest, AFirstStartWritesTheDefaultFileAndOpensNothingElse) {
    start();
    Bytes expected(1223, 0);
    expected[1218] = 1;
    expected[1221] = 1;
    EXPECT_EQ(read_bytes(path("kvt.cfg")), expected);
    EXPECT_EQ(window->play_diag, nullptr);
    EXPECT_EQ(window->control_diag, nullptr);
    EXPECT_EQ(factory.built, 0);
    EXPECT_EQ(window->windowTitle(), "Korvane Player");
    EXPECT_EQ(window->size(), QSize(291, 86));
    EXPECT_TRUE(window->controls_button->isHidden());
    EXPECT_FALSE(window->controls_button->isEnabled());
    EXPECT_TRUE(window->record_button->isHidden());
    EXPECT_EQ(window->player_button->text(), "Player");
    EXPECT_EQ(error_text(), "");
}

TEST_F(KorvaneTest, ARestoredPlayerIsShownWithNoLog) {
    kvt::KvtConfig c;
    c.player = every_slot().player;
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), c));
    start();
    PLAYframe* p = window->play_diag;
    ASSERT_NE(p, nullptr);
    EXPECT_TRUE(p->isVisible());
    EXPECT_EQ(p->pos(), QPoint(100, 120));
    EXPECT_EQ(window->player_button->text(), "Player 5.0a");
    EXPECT_EQ(p->theFile, "");
    EXPECT_EQ(p->theFileDir, QString::fromUtf8("/logs/café/"));
    EXPECT_EQ(p->logfiletype(), LogFileType::none);
    EXPECT_TRUE(p->animate_control->isEnabled());
    EXPECT_TRUE(p->animate_control->isChecked());
    EXPECT_TRUE(p->itc_animate->isChecked());
    EXPECT_FALSE(p->afc_animate->isChecked());
    EXPECT_TRUE(p->afc2_animate->isChecked());
    EXPECT_TRUE(p->advanced_fuel_calc->isChecked());
    EXPECT_EQ(p->x_2d, 300);
    EXPECT_EQ(p->y_2d, 310);

    // The Open dialog starts in the stored folder.
    chooser.queue_cancel();
    p->open_button->click();
    EXPECT_EQ(chooser.requests().at(0).directory, "/logs/café/");
}

TEST_F(KorvaneTest, EverySlotIsRestoredAndRecorded) {
    const kvt::KvtConfig stored = every_slot();
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), stored));
    start();
    EXPECT_EQ(window->pos(), QPoint(40, 50));
    ASSERT_TRUE(window->editors.afc_frame && window->editors.afc2_frame && window->editors.itc_frame &&
                window->editors.pms_frame);
    EXPECT_EQ(factory.calls, (CallLog{"build AFCframe1", "AFCframe1 set_config knob.cfg", "AFCframe1 recall_cfg1",
                                      "build AFCframe2", "AFCframe2 set_config vcd.cfg", "AFCframe2 recall_cfg1",
                                      "build ITCframe1", "ITCframe1 set_config itc.cfg", "ITCframe1 recall_cfg1",
                                      "build PMSframe", "PMSframe set_config map.e2p", "PMSframe recall_data",
                                      "PMSframe set_radio_buttons", "PMSframe display_pgm"}));
    EXPECT_TRUE(window->editors.afc_frame->window()->isVisible());
    EXPECT_FALSE(window->editors.afc2_frame->window()->isVisible());
    EXPECT_EQ(window->editors.itc_frame->window()->pos(), QPoint(240, 250));
    EXPECT_EQ(window->play_diag->editors.pms_frame, window->editors.pms_frame);

    control_dialog* chooser_window = window->control_diag;
    ASSERT_NE(chooser_window, nullptr);
    EXPECT_TRUE(chooser_window->isVisible());
    EXPECT_TRUE(chooser_window->afc1_box->isChecked());
    EXPECT_TRUE(chooser_window->itc_box->isChecked());
    EXPECT_TRUE(chooser_window->afc1_configure->isEnabled());
    EXPECT_TRUE(chooser_window->itc_configure->isEnabled());
    EXPECT_FALSE(chooser_window->afc2_configure->isEnabled());
    EXPECT_FALSE(chooser_window->pms_configure->isEnabled());
    // PMS's rule runs last, unticked, and enables all four boxes.
    for (QCheckBox* box :
         {chooser_window->afc1_box, chooser_window->afc2_box, chooser_window->itc_box, chooser_window->pms_box}) {
        EXPECT_TRUE(box->isEnabled());
    }

    kvt::KvtConfig expected = stored;
    expected.player->theFile = " ";  // cleared at start-up
    expected.player->visible = true;
    expected.chooser->enabled = {true, true, true, true};
    EXPECT_EQ(recorded(), expected);
}

TEST_F(KorvaneTest, TheChooserReusesTheRestoredEditors) {
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), every_slot()));
    start();
    const int built = factory.built;
    window->control_diag->afc1_configure->click();
    window->control_diag->itc_configure->click();
    EXPECT_EQ(factory.built, built);
    EXPECT_EQ(window->control_diag->editors.afc_frame, window->editors.afc_frame);
    // The editor keeps its own file: the chooser read it before the click.
    EXPECT_EQ(window->editors.afc_frame->config_file(), "knob.cfg");
}

TEST_F(KorvaneTest, SlotsOfEditorsThisProgramLacksAreKept) {
    EditorPool no_editors;
    services.editors = &no_editors;
    kvt::KvtConfig stored;
    stored.knob_afc = every_slot().knob_afc;
    stored.pms = every_slot().pms;
    ASSERT_FALSE(kvt::write_kvt_file(path("kvt.cfg"), stored));
    start();
    EXPECT_EQ(window->editors.afc_frame, nullptr);
    EXPECT_EQ(recorded(), stored);
}

TEST_F(KorvaneTest, AFileCutShortIsReportedAndEndsTheRestore) {
    Bytes bytes = kvt::encode_kvt(every_slot());
    bytes.resize(1210);  // inside the PMS slot
    write_bytes(path("kvt.cfg"), bytes);
    start();
    EXPECT_TRUE(error_text().startsWith("Unable to open file: ")) << error_text().toStdString();
    EXPECT_NE(window->editors.itc_frame, nullptr);
    EXPECT_EQ(window->editors.pms_frame, nullptr);
    EXPECT_EQ(window->play_diag, nullptr);  // the player's slot comes after the PMS slot
}

TEST_F(KorvaneTest, ThePlayerButtonOpensOnePlayer) {
    start();
    window->player_button->click();
    PLAYframe* first = window->play_diag;
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->close();  // only hides
    window->player_button->click();
    EXPECT_EQ(window->play_diag, first);
    EXPECT_TRUE(first->isVisible());
    const kvt::KvtConfig c = recorded();
    ASSERT_TRUE(c.player.has_value());
    EXPECT_FALSE(c.player->chart_2d_present);
}

// Without a position of their own, the player and the chooser open beside
// the start window, clear of its buttons.
TEST_F(KorvaneTest, ThePlayerAndTheChooserOpenBesideTheStartWindow) {
    start();
    window->show();
    window->player_button->click();
    window->controlsButton_actionPerformed();
    for (QWidget* opened : {static_cast<QWidget*>(window->play_diag), static_cast<QWidget*>(window->control_diag)}) {
        ASSERT_NE(opened, nullptr);
        EXPECT_TRUE(opened->isVisible());
        EXPECT_EQ(korv::testsupport::controls_covered(*window, opened->frameGeometry()), "")
            << opened->objectName().toStdString();
        EXPECT_TRUE(korv::testsupport::on_screen(*opened)) << opened->objectName().toStdString();
    }
    EXPECT_FALSE(window->play_diag->frameGeometry().intersects(window->control_diag->frameGeometry()));
}

TEST_F(KorvaneTest, ChooserBoxRules) {
    start();
    window->controls_button->setEnabled(true);
    window->controls_button->click();
    control_dialog* d = window->control_diag;
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d->windowTitle(), "Control Dialog");
    EXPECT_FALSE(d->vpc_box->isEnabled());
    for (QPushButton* b :
         {d->afc1_configure, d->afc2_configure, d->itc_configure, d->pms_configure, d->vpc_configure}) {
        EXPECT_FALSE(b->isEnabled());
    }
    d->pms_box->click();
    for (QCheckBox* box : {d->afc1_box, d->afc2_box, d->itc_box}) {
        EXPECT_FALSE(box->isChecked());
        EXPECT_FALSE(box->isEnabled());
    }
    EXPECT_TRUE(d->pms_configure->isEnabled());
    d->pms_box->click();
    for (QCheckBox* box : {d->afc1_box, d->afc2_box, d->itc_box, d->pms_box}) EXPECT_TRUE(box->isEnabled());
    EXPECT_FALSE(d->pms_configure->isEnabled());

    d->afc2_box->click();
    EXPECT_FALSE(d->afc1_box->isEnabled());
    EXPECT_FALSE(d->pms_box->isEnabled());
    EXPECT_TRUE(d->afc2_configure->isEnabled());
    d->itc_box->click();
    d->afc2_box->click();
    EXPECT_TRUE(d->afc1_box->isEnabled());
    EXPECT_FALSE(d->pms_box->isEnabled());  // ITC is still ticked
    d->itc_box->click();
    EXPECT_TRUE(d->pms_box->isEnabled());

    // Configure builds an editor on first use and shows it.
    d->afc1_box->click();
    d->afc1_configure->click();
    ASSERT_NE(d->editors.afc_frame, nullptr);
    EXPECT_TRUE(d->editors.afc_frame->window()->isVisible());
    EXPECT_EQ(factory.calls.back(), "AFCframe1 recall_cfg");
}
