// The playback frame offscreen: its controls across open and close, the
// record text, Play, failed opens and the CSV dialog.
#include "player/gui/play_frame.h"

#include "common/gui/error_dialog.h"
#include "player/tests/gui_test_support.h"
#include "platform/core/scripted_file_chooser.h"
#include "player/gui/csv_dialog.h"
#include "player/tests/test_files.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

using namespace korv::player;
using namespace korv::player::testing_support;

namespace {

class PlayFrameTest : public InScratchFolder {
protected:
    void SetUp() override {
        InScratchFolder::SetUp();
        services.file_chooser = &chooser;
        services.editors = &pool;
        services.extensions = &extensions;
        services.run_csv_dialog = [this](csv_dialog& dialog) {
            if (answer_csv_dialog) answer_csv_dialog(dialog);
        };
        frame = std::make_unique<PLAYframe>(services);
    }
    void TearDown() override {
        frame.reset();
        InScratchFolder::TearDown();
    }

    void open(const std::string& name) {
        chooser.queue_path(path(name));
        frame->open_button->click();
    }
    std::string shown_text() const { return frame->record_area->toPlainText().toStdString(); }
    QString error_text() const {
        const error_dialog* dialog = frame->error_reporter().error_diag();
        return dialog && dialog->isVisible() ? dialog->message() : QString();
    }
    // The controls that need an open log, enabled or not, all alike.
    void expect_log_controls(bool enabled) {
        for (QWidget* w : std::initializer_list<QWidget*>{
                 frame->close_button, frame->back_button, frame->forward_button, frame->rewind_button,
                 frame->play_button, frame->chart2d_button, frame->chart3d_button, frame->position_slider}) {
            EXPECT_EQ(w->isEnabled(), enabled) << w->objectName().toStdString();
        }
        EXPECT_EQ(frame->open_button->isEnabled(), !enabled);
        EXPECT_TRUE(frame->pnkorv_button->isEnabled());
    }
    // Records of 1000, 2000, ... rpm at 50 % throttle.
    void write_rpm_log(const std::string& name, std::vector<float> rpms) {
        std::vector<std::vector<float>> records;
        for (float rpm : rpms) records.push_back({rpm, 50.0f});
        write_bytes(path(name), minimal_log({9, 7}, records));
    }
    std::vector<std::string> peaks() const {
        std::vector<std::string> out;
        for (const std::string& call : extensions.calls) {
            if (call.rfind("peak ", 0) == 0) out.push_back(call);
        }
        return out;
    }

    korv::platform::ScriptedFileChooser chooser;
    EditorPool pool;
    RecordingExtensions extensions;
    PlayerServices services;
    std::function<void(csv_dialog&)> answer_csv_dialog;
    std::unique_ptr<PLAYframe> frame;
};

}  // namespace

TEST_F(PlayFrameTest, StartsWithNoLog) {
    EXPECT_EQ(frame->windowTitle(), "Log File Playback");
    EXPECT_EQ(frame->description->toPlainText(), "This panel is used to play back log files.");
    expect_log_controls(false);
    for (QPushButton* peak : frame->peak_buttons) EXPECT_FALSE(peak->isEnabled());
    EXPECT_TRUE(frame->reset_button->isHidden());
    EXPECT_FALSE(frame->reset_button->isEnabled());
    for (QWidget* w : std::initializer_list<QWidget*>{frame->chart_all, frame->low_vals, frame->advanced_fuel_calc,
                                                      frame->itc_animate, frame->afc_animate, frame->afc2_animate,
                                                      frame->afr_button}) {
        EXPECT_TRUE(w->isHidden()) << w->objectName().toStdString();
    }
    EXPECT_FALSE(frame->animate_control->isHidden());
    EXPECT_FALSE(frame->o2_slider->isEnabled());
    EXPECT_EQ(frame->tps_range->text(), "95");
    EXPECT_EQ(frame->rpm_range->text(), "4000");
    EXPECT_EQ(frame->peak_label->text(), "Peak Values at");
    EXPECT_EQ(frame->pnkorv_button->text(), "Palm'n'Korv");
    EXPECT_EQ(frame->pnkorv_button->toolTip(), "Collect data from Palm'n'Korv");
    EXPECT_EQ(frame->play_button->toolTip(), "Animated play");
    EXPECT_EQ(frame->player_version, "Player 5.0a");
}

TEST_F(PlayFrameTest, OpenAndCloseToggleTheControls) {
    write_rpm_log("run.db1", {1000, 2000, 3000});
    open("run.db1");
    ASSERT_EQ(chooser.requests().size(), 1u);
    EXPECT_EQ(chooser.requests()[0].title, "Open");
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("Process log file: " + path("run.db1")));
    EXPECT_EQ(frame->theFile, "run.db1");
    EXPECT_EQ(frame->logfiletype(), LogFileType::vxm);
    EXPECT_TRUE(frame->csv_file);
    expect_log_controls(true);
    EXPECT_EQ(frame->position_slider->maximum(), 3);
    EXPECT_TRUE(frame->reset_button->isEnabled());
    EXPECT_FALSE(frame->reset_button->isHidden());
    for (QWidget* w : std::initializer_list<QWidget*>{frame->chart_all, frame->low_vals, frame->animate_control,
                                                      frame->itc_animate, frame->afc_animate, frame->afc2_animate}) {
        EXPECT_FALSE(w->isHidden()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(frame->advanced_fuel_calc->isHidden());
    EXPECT_EQ(extensions.calls, (CallLog{"reset_tables", "clear_controls", "reset_charts", "plot_data"}));

    frame->animate_control->setChecked(true);
    frame->close_button->click();
    expect_log_controls(false);
    EXPECT_EQ(frame->logfiletype(), LogFileType::none);
    EXPECT_TRUE(frame->reset_button->isHidden());
    EXPECT_TRUE(frame->animate_control->isHidden());
    EXPECT_FALSE(frame->animate_control->isChecked());
    EXPECT_TRUE(frame->itc_animate->isHidden());

    // The next open pairs up again.
    open("run.db1");
    expect_log_controls(true);
}

TEST_F(PlayFrameTest, APmsLogHidesTheEditorBoxes) {
    write_bytes(path("p.dab"), dab_log({dab_record({{5, 100}})}));
    open("p.dab");
    EXPECT_EQ(frame->logfiletype(), LogFileType::pms);
    EXPECT_FALSE(frame->csv_file);
    EXPECT_TRUE(frame->itc_animate->isHidden());
    EXPECT_TRUE(frame->afc2_animate->isHidden());
    frame->forward_button->click();
    EXPECT_EQ(shown_text(),
              "{1} Rpms: 1000  Prs/Vac 0.0\nTPS: 0  Air: 201  Clt: 269  O2: -0.02\n"
              "Timing 0 Dc:0.0%\nFuel(pw) 0.0 Hz:0");
}

TEST_F(PlayFrameTest, StepsShowTheExactRecordText) {
    write_rpm_log("run.db2", {1000, 2000, 3000});
    open("run.db2");
    EXPECT_EQ(shown_text(), "");  // nothing until the first step
    frame->forward_button->click();
    EXPECT_EQ(shown_text(),
              "{1} Rpms: 2000  Prs/Vac 0.0 O2: 0.0\nTPS: 50 Dc:0.0%\nTiming 0  Knock: 0\n"
              "Fuel(pw) 0.0 Hz:0.0 MPH:0");
    EXPECT_EQ(frame->position_slider->value(), 1);
    frame->forward_button->click();
    frame->forward_button->click();
    EXPECT_EQ(frame->current_log_record(), 3);
    EXPECT_EQ(shown_text().substr(0, 17), "{3} Rpms: 3000  P");
    frame->back_button->click();
    EXPECT_EQ(shown_text().substr(0, 17), "{2} Rpms: 3000  P");
    frame->rewind_button->click();
    EXPECT_EQ(shown_text().substr(0, 17), "{0} Rpms: 1000  P");
    EXPECT_EQ(frame->position_slider->value(), 0);
    frame->back_button->click();
    EXPECT_EQ(frame->current_log_record(), 0);

    frame->position_slider->setValue(1);  // as the user drags it
    EXPECT_EQ(shown_text().substr(0, 17), "{1} Rpms: 2000  P");
    frame->position_slider->setValue(3);
    EXPECT_EQ(shown_text().substr(0, 17), "{3} Rpms: 3000  P");
}

TEST_F(PlayFrameTest, ARecordAbove8000RpmIsNeitherShownNorAnalysed) {
    write_rpm_log("run.db1", {1000, 8001, 3000});
    open("run.db1");
    frame->rewind_button->click();
    frame->forward_button->click();
    EXPECT_EQ(shown_text().substr(0, 17), "{0} Rpms: 1000  P");
    EXPECT_EQ(peaks(), (std::vector<std::string>{"peak 0 1000"}));
}

TEST_F(PlayFrameTest, PlayRunsToTheEndThroughTheAnalysis) {
    write_rpm_log("run.db1", {1000, 2000, 3000});
    open("run.db1");
    frame->play_button->click();
    EXPECT_TRUE(frame->playing());
    EXPECT_EQ(peaks(), (std::vector<std::string>{"peak 0 1000"}));  // the rewind, before any tick
    while (frame->playing()) frame->play_tick();
    EXPECT_EQ(frame->current_log_record(), 3);
    EXPECT_EQ(peaks(), (std::vector<std::string>{"peak 0 1000", "peak 1 2000", "peak 2 3000", "peak 3 3000"}));
    EXPECT_EQ(shown_text().substr(0, 17), "{3} Rpms: 3000  P");
    EXPECT_EQ(frame->position_slider->value(), 3);

    // Reset plays again.
    frame->reset_button->click();
    while (frame->playing()) frame->play_tick();
    EXPECT_EQ(peaks().size(), 8u);
}

TEST_F(PlayFrameTest, ALongPlayYieldsBetweenTicks) {
    write_rpm_log("long.db1", std::vector<float>(PLAYframe::play_batch_records * 2 + 10, 1500.0f));
    open("long.db1");
    frame->play_button->click();
    frame->play_tick();
    EXPECT_TRUE(frame->playing());
    EXPECT_LE(frame->current_log_record(), PLAYframe::play_batch_records);
    frame->close_button->click();  // closing mid-play stops it
    EXPECT_FALSE(frame->playing());
    frame->play_tick();
    EXPECT_EQ(frame->logfiletype(), LogFileType::none);
}

TEST_F(PlayFrameTest, ALogWithoutRecordsShowsNothing) {
    write_rpm_log("empty.db1", {});
    open("empty.db1");
    frame->forward_button->click();
    frame->play_to_end();
    EXPECT_EQ(shown_text(), "");
    EXPECT_TRUE(peaks().empty());
}

TEST_F(PlayFrameTest, AFailedOpenReturnsToTheNoLogState) {
    Bytes bad = minimal_header({});
    bad[5] = 150;
    write_bytes(path("bad.db1"), bad);
    open("bad.db1");
    EXPECT_TRUE(error_text().startsWith("4) Unable to open file: ")) << error_text().toStdString();
    EXPECT_EQ(frame->windowTitle(), "Log File Playback");
    EXPECT_EQ(frame->logfiletype(), LogFileType::none);
    expect_log_controls(false);
    EXPECT_TRUE(frame->reset_button->isHidden());
    EXPECT_TRUE(frame->chart_all->isHidden());

    write_rpm_log("good.db1", {1000});
    open("good.db1");
    expect_log_controls(true);
}

TEST_F(PlayFrameTest, ACancelledChooserChangesNothing) {
    chooser.queue_cancel();
    frame->open_button->click();
    EXPECT_TRUE(extensions.calls.empty());
    expect_log_controls(false);
}

TEST_F(PlayFrameTest, ACsvLogIsConvertedAndPlayed) {
    write_text(path("export.txt"),
               "Calderis Datalogger\r\n\r\nTime (secs), Engine Speed (RPM), Throttle Position (%)\r\n"
               "0.00, 850.00, 5.00\r\n0.25, 900.00, 12.00\r\n");
    int shown = 0;
    answer_csv_dialog = [&](csv_dialog& dialog) {
        ++shown;
        EXPECT_EQ(dialog.control_count(), 3);
        EXPECT_TRUE(dialog.text_area->isHidden());
        EXPECT_EQ(dialog.text_area->toPlainText().toStdString(),
                  "Calderis Datalogger\n\nTime (secs), Engine Speed (RPM), Throttle Position (%)\n");
        EXPECT_EQ(dialog.choices[0]->itemText(0), "Column 1");
        dialog.pms_file->setChecked(true);
        dialog.csv_file->setChecked(true);  // the later tick wins
        EXPECT_FALSE(dialog.text_area->isHidden());
        dialog.choices[1]->setCurrentIndex(2);  // Rpms
        dialog.choices[2]->setCurrentIndex(5);  // Tps
    };
    open("export.txt");
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(frame->logfiletype(), LogFileType::vxm);
    EXPECT_TRUE(frame->csv_file);
    EXPECT_EQ(error_text(), "");  // the "please wait" notice is gone
    EXPECT_EQ(read_bytes(path("csv.tmp")), minimal_log({9, 7}, {{850, 5}, {900, 12}}));
    EXPECT_EQ(frame->windowTitle(), QString::fromStdString("Process log file: " + path("export.txt")));
    frame->forward_button->click();
    EXPECT_EQ(shown_text().substr(0, 16), "{1} Rpms: 900  P");
}

TEST_F(PlayFrameTest, AnUnknownFileLeftUndeclaredIsRefused) {
    write_text(path("notes.txt"), "a,b\n1,2\n");
    open("notes.txt");
    EXPECT_EQ(error_text(), "Not a supported log file type (dab or vxg)");
    EXPECT_EQ(frame->windowTitle(), "Log File Playback");
    expect_log_controls(false);

    write_text(path("prose.txt"), "no\ncommas\nat\nall\nhere\n");
    open("prose.txt");
    EXPECT_EQ(error_text(), "Not a supported log file type (dab or vxg)");
}

// The dialog comes up only for a file with a comma-separated pair among its
// first lines: here the id 44 is a comma.
TEST_F(PlayFrameTest, ADeclaredVxmLogIsReadLittleEndian) {
    Bytes log = minimal_header({9, 44});
    append_f32_le(log, 0.0f);
    append_f32_le(log, 3000.0f);
    append_f32_le(log, 1.0f);
    write_bytes(path("capture.bin"), log);
    answer_csv_dialog = [](csv_dialog& dialog) {
        dialog.csv_file->setChecked(false);
        dialog.vxm_file->setChecked(true);
    };
    open("capture.bin");
    EXPECT_EQ(frame->logfiletype(), LogFileType::vxm);
    EXPECT_FALSE(frame->csv_file);
    frame->rewind_button->click();
    EXPECT_EQ(shown_text().substr(0, 17), "{0} Rpms: 3000  P");
}

TEST_F(PlayFrameTest, AConversionWithBadRowsSaysSo) {
    write_text(path("gaps.csv"), "rpm,tps\n1000,10\nx,20\n3000,30\n");
    answer_csv_dialog = [](csv_dialog& dialog) {
        dialog.vxm_file->setChecked(false);
        dialog.csv_file->setChecked(true);
        dialog.choices[0]->setCurrentIndex(2);
        dialog.choices[1]->setCurrentIndex(0);
    };
    open("gaps.csv");
    EXPECT_EQ(frame->logfiletype(), LogFileType::vxm);
    EXPECT_EQ(error_text(), "1 row was skipped: a converted column held no number there.");
    EXPECT_EQ(frame->log().log_records(), 2);
    frame->close_button->click();
    frame->error_reporter().hide();
    write_text(path("gaps.csv"), "rpm,tps\n1000,10\nx,20\ny,25\n3000,30\n");
    open("gaps.csv");
    EXPECT_EQ(error_text(), "2 rows were skipped: a converted column held no number there.");
}

// Quoted fields convert to no record: nothing opens and no csv.tmp is left
// to look like a log.
TEST_F(PlayFrameTest, AConversionWithoutAnyRowOpensNothing) {
    write_rpm_log("run.db1", {1000, 2000});
    open("run.db1");
    frame->close_button->click();

    write_text(path("quoted.csv"), "\"rpm\",\"tps\"\n\"1000\",\"10\"\n\"2000\",\"20\"\n");
    answer_csv_dialog = [](csv_dialog& dialog) {
        dialog.csv_file->setChecked(true);
        dialog.choices[0]->setCurrentIndex(2);  // Rpms
        dialog.choices[1]->setCurrentIndex(5);  // Tps
    };
    open("quoted.csv");
    EXPECT_EQ(error_text(), "No row could be converted: the fields are in quotes");
    EXPECT_FALSE(std::filesystem::exists(path("csv.tmp")));
    EXPECT_EQ(frame->logfiletype(), LogFileType::none);
    EXPECT_FALSE(frame->csv_file);
    EXPECT_EQ(frame->windowTitle(), "Log File Playback");
    expect_log_controls(false);
    EXPECT_TRUE(frame->reset_button->isHidden());
}

TEST_F(PlayFrameTest, AnOpenedLogShowsNoRecordOfTheLastOne) {
    write_rpm_log("first.db1", {1000, 2000});
    write_rpm_log("second.db1", {3000});
    open("first.db1");
    frame->forward_button->click();
    ASSERT_FALSE(shown_text().empty());
    frame->close_button->click();
    open("second.db1");
    EXPECT_EQ(shown_text(), "");
    EXPECT_TRUE(frame->rtd_line.text().empty());
}

// The lines above the header come from other programs: UTF-8, with or
// without a byte-order mark, or Windows-1252.
TEST_F(PlayFrameTest, TheCsvDialogShowsUtf8AndWindows1252Alike) {
    const QString expected = QString::fromUtf8("Probe 3 \u00B0C\nTime,Temp (\u00B0F)\n");
    for (const std::string& text : {std::string("\xEF\xBB\xBFProbe 3 \xC2\xB0"
                                                "C\nTime,Temp (\xC2\xB0"
                                                "F)\n1,2\n"),
                                    std::string("Probe 3 \xC2\xB0"
                                                "C\nTime,Temp (\xC2\xB0"
                                                "F)\n1,2\n"),
                                    std::string("Probe 3 \xB0"
                                                "C\nTime,Temp (\xB0"
                                                "F)\n1,2\n")}) {
        write_text(path("temps.txt"), text);
        QString shown;
        answer_csv_dialog = [&](csv_dialog& dialog) {
            shown = dialog.text_area->toPlainText();
            dialog.csv_file->setChecked(false);
        };
        open("temps.txt");
        EXPECT_EQ(shown, expected) << text;
        frame->error_reporter().hide();
    }
}

TEST_F(PlayFrameTest, APathKvtCfgCannotHoldIsNamedAtOnce) {
    const std::string name = std::string(160, 'n') + ".db1";
    write_rpm_log(name, {1000});
    open(name);
    EXPECT_EQ(frame->logfiletype(), LogFileType::vxm);
    EXPECT_TRUE(error_text().contains("only its folder will be remembered")) << error_text().toStdString();
    const kvt::PlayerSlot slot = frame->config_slot();
    EXPECT_EQ(slot.theFile, name);  // the slot writer drops it, not the window
}

TEST_F(PlayFrameTest, TheHiddenButtonOpensTheAirFuelGridOnce) {
    frame->afr_button->click();  // this program has no grid yet: nothing happens
    EXPECT_EQ(frame->afr_frame, nullptr);
}
