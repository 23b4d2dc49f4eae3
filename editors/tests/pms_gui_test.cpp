// The PMS editor, its enhanced window, the download dialog (against a
// stand-in library) and the air/fuel grid, offscreen.
#include "common/core/korvio_library.h"
#include "common/gui/error_dialog.h"
#include "editors/gui/afr_frame.h"
#include "editors/gui/editor_factory.h"
#include "editors/gui/pms_dialog.h"
#include "editors/gui/pms_enhanced.h"
#include "editors/gui/pms_frame.h"
#include "editors/tests/pms_test_files.h"
#include "platform/core/scripted_file_chooser.h"
#include "testsupport/event_wait.h"
#include "testsupport/temp_folder.h"
#include "testsupport/window_places.h"
#include "testsupport/window_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <tuple>

#include <dlfcn.h>

#include <chrono>
#include <filesystem>
#include <thread>

using namespace korv::editors::testing_support;
using korv::testsupport::read_bytes;
using korv::testsupport::run_events_until_settled;
using korv::testsupport::write_bytes;
namespace pms = korv::editors::pms;

extern "C" {
using ScriptFn = void (*)(int, int, const char*, int);
using HoldFn = void (*)(int);
using WaitingFn = int (*)();
using CallsFn = int (*)(int*);
}

namespace {

QString shown_error(korv::ErrorReporter& reporter) {
    const error_dialog* dialog = reporter.error_diag();
    return dialog && dialog->isVisible() ? dialog->message() : QString();
}

class PmsFrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        services.chooser = &chooser;
        frame = std::make_unique<PMSframe>(services);
    }
    std::string path(const std::string& name) const { return folder.file(name); }
    QString folder_text() const { return QString::fromStdString(folder.path() + "/"); }
    void open(const std::string& name) {
        chooser.queue_path(path(name));
        frame->open_pms_config_button->click();
    }
    QString cell(int row, int column) const { return frame->display_cells[row][column]->text(); }
    // Types into a data cell and moves the focus away.
    void enter(int row, int column, const QString& text) {
        QLineEdit* field = frame->display_cells[row][column];
        field->setText(text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(field, &out);
    }
    // Opens an image whose program 1 uses its boost table, limit 20
    // (breakpoints 1, 5, 10, 15, 20).
    Bytes open_boost_image() {
        Bytes image = sample_image();
        image[0] = 0x04;
        image[77] = 20;
        write_bytes(path("map.e2p"), image);
        open("map.e2p");
        return image;
    }
    QString error() { return shown_error(frame->error_reporter()); }
    void dismiss() { frame->error_reporter().hide(); }

    korv::testsupport::WorkingFolder folder;
    korv::platform::ScriptedFileChooser chooser;
    korv::editors::EditorServices services;
    std::unique_ptr<PMSframe> frame;
};

TEST_F(PmsFrameTest, ControlsAndGrid) {
    EXPECT_EQ(frame->windowTitle(), "PMS Settings");
    struct Control {
        QAbstractButton* button;
        const char* text;
        const char* tip;
    };
    for (const Control& c : {
             Control{frame->PMS_program_1, "Program 1", "Display program 1 settings"},
             Control{frame->PMS_program_3, "Program 3", "Display program 3 settings"},
             Control{frame->PMS_timing, "Ignition settings", "Display ignition settings for this program"},
             Control{frame->load_from_pms, "Load ", "Load data tables from the PMS"},
             Control{frame->open_pms_config_button, "Open", "Load data tables from the configuration file"},
             Control{frame->save_to_pms, "Save", "Save the data tables in the configuration file"},
             Control{frame->PMS_enhanced, "Enhanced", "Display additional PMS data"},
             Control{frame->update_button, "Update", "Update the PMS Eeprom"},
             Control{frame->lock_wot, "Lock WOT", "Lock out WOT from simulator manipulation"},
         }) {
        EXPECT_EQ(c.button->text(), c.text);
        EXPECT_EQ(c.button->toolTip(), c.tip);
    }
    EXPECT_TRUE(frame->PMS_program_1->isChecked());
    EXPECT_TRUE(frame->PMS_fuel->isChecked());
    EXPECT_FALSE(frame->save_to_pms->isEnabled());
    EXPECT_FALSE(frame->update_button->isEnabled());
    EXPECT_EQ(frame->info_text->toPlainText(), "This panel is used to enter your PMS settings");
    EXPECT_EQ(frame->display_cells[0][0], nullptr);
    EXPECT_EQ(cell(0, 1), "2000");
    EXPECT_EQ(cell(0, 13), "8000");
    EXPECT_EQ(cell(1, 0), "Low");
    EXPECT_EQ(cell(10, 0), "WOT");
    EXPECT_EQ(cell(16, 0), "NOS");
    EXPECT_TRUE(frame->display_cells[1][0]->isReadOnly());
    EXPECT_FALSE(frame->display_cells[1][1]->isReadOnly());
    EXPECT_EQ(frame->display_cells[1][1]->palette().color(QPalette::Base), QColor(0, 0, 255));
    EXPECT_EQ(frame->display_cells[0][1]->palette().color(QPalette::Base), QColor(0, 255, 0));
    // The groups stand apart: after "High", "WOT" and "Max psi".
    const auto gap = [this](int row) {
        return frame->display_cells[row + 1][1]->y() - frame->display_cells[row][1]->y();
    };
    EXPECT_GT(gap(9), gap(8));
    EXPECT_GT(gap(10), gap(8));
    EXPECT_GT(gap(15), gap(8));
    EXPECT_EQ(gap(11), gap(8));
}

TEST_F(PmsFrameTest, OpenShowsTheImageAndBreakpoints) {
    Bytes image = sample_image();
    image[672 + 77] = 30;  // program 2's boost limit
    image[672 + 0] = 0x0C;
    write_bytes(path("map.e2p"), image);
    open("map.e2p");
    EXPECT_EQ(chooser.requests().at(0).title, "Open");
    EXPECT_EQ(frame->windowTitle(), "PMS settings file: " + folder_text() + "map.e2p");
    EXPECT_TRUE(frame->save_to_pms->isEnabled());
    EXPECT_EQ(cell(1, 1), QString::number(static_cast<std::int8_t>(image[256]) * 2));
    frame->PMS_program_2->setChecked(true);
    EXPECT_EQ(cell(6, 5), QString::number(static_cast<std::int8_t>(image[997]) * 2));
    EXPECT_EQ(cell(12, 0), "7");
    EXPECT_EQ(cell(15, 0), "30");
    EXPECT_EQ(cell(11, 0), "1 psi");
    frame->PMS_program_3->setChecked(true);
    frame->PMS_timing->setChecked(true);
    EXPECT_EQ(cell(13, 13), QString::number(static_cast<std::int8_t>(image[1591])));

    // A cancelled Open keeps the file, so kvt.cfg still names it.
    chooser.queue_cancel();
    frame->open_pms_config_button->click();
    EXPECT_EQ(frame->config_file(), "map.e2p");
    EXPECT_EQ(frame->config_dir(), folder_text());
}

TEST_F(PmsFrameTest, AShortImageNamesEveryProgramItCouldNotRead) {
    struct Case {
        std::size_t size;
        const char* message;  // empty: read whole
    };
    const Case cases[] = {
        {100, "Unable to open file: the file ends after 100 bytes; programs 1, 2 and 3 could not be read"},
        {1000, "Unable to open file: the file ends after 1000 bytes; programs 2 and 3 could not be read"},
        {2016, "Unable to open file: the file ends after 2016 bytes; program 3 could not be read"},
        {0, "Unable to open file: the file is empty; programs 1, 2 and 3 could not be read"},
        {1, "Unable to open file: the file ends after 1 byte; programs 1, 2 and 3 could not be read"},
        {2047, ""},
    };
    for (const Case& c : cases) {
        dismiss();
        write_bytes(path("short.e2p"), sample_image(c.size));
        open("short.e2p");
        EXPECT_EQ(error(), c.message) << c.size;
        EXPECT_TRUE(frame->save_to_pms->isEnabled());
    }
}

TEST_F(PmsFrameTest, SaveWritesTheEditedImage) {
    write_bytes(path("map.e2p"), sample_image());
    open("map.e2p");
    enter(1, 1, "24");
    chooser.queue_cancel();
    frame->save_to_pms->click();
    EXPECT_EQ(frame->config_file(), "map.e2p");
    EXPECT_EQ(read_bytes(path("map.e2p")), sample_image());

    chooser.queue_path(path("new.e2p"));
    frame->save_to_pms->click();
    EXPECT_EQ(chooser.requests().back().title, "Save");
    EXPECT_EQ(chooser.requests().back().file_name, "map.e2p");
    Bytes expected = sample_image();
    expected[256] = 12;
    EXPECT_EQ(read_bytes(path("new.e2p")), expected);
    EXPECT_EQ(frame->windowTitle(), "PMS settings file: " + folder_text() + "new.e2p");

    std::filesystem::create_directory(path("locked"));
    chooser.queue_path(path("locked/x.e2p/y.e2p"));
    frame->save_to_pms->click();
    EXPECT_TRUE(error().startsWith("Unable to open file: ")) << error().toStdString();
}

TEST_F(PmsFrameTest, CellValidation) {
    struct Case {
        bool timing;
        const char* text;
        const char* message;  // empty: accepted
        const char* shown;
    };
    for (const Case& c :
         {Case{false, "7", "Must be a multiple of 2!", "0"}, Case{false, "52", "Must be numeric -50 to 50!", "0"},
          Case{false, "x", "Must be numeric -50 to 50!", "0"}, Case{false, "-50", "", "-50"},
          Case{true, "21", "Must be numeric -20 to 20!", "0"}, Case{true, "-20", "", "-20"}, Case{true, "7", "", "7"},
          Case{false, "+-4", "Must be numeric -50 to 50!", "0"}, Case{false, "\xa0-4\xa0", "", "-4"}}) {
        (c.timing ? frame->PMS_timing : frame->PMS_fuel)->setChecked(true);
        frame->PMS_program_2->setChecked(true);
        frame->adjust_cells().at(0, 1, c.timing, 3, 4) = 0;
        dismiss();
        enter(4, 5, QString::fromLatin1(c.text));
        EXPECT_EQ(error(), c.message) << c.text;
        EXPECT_EQ(cell(4, 5), c.shown) << c.text;
    }
}

TEST_F(PmsFrameTest, EveryCellStateReads) {
    open_boost_image();
    struct State {
        std::string name;
        QPalette colours;
        QColor background;
    };
    std::vector<State> states;
    const auto take = [&](const std::string& name, int row, int column, QColor background) {
        states.push_back({name, frame->display_cells[row][column]->palette(), background});
    };
    take("column header", 0, 1, QColor(0, 255, 0));
    take("row label", 1, 0, QColor(0, 255, 0));
    take("data", 1, 1, QColor(0, 0, 255));
    frame->animate_cells(3000, 100, 8.0f, 0);
    take("highlighted", 10, 3, QColor(255, 0, 0));
    frame->lock_wot->click();
    frame->animate_cells(3000, 100, 8.0f, 0);
    take("locked", 10, 3, QColor(255, 255, 0));
    take("highlighted boost", 13, 3, QColor(255, 0, 0));
    frame->animate_cells(1000, 0, 0.0f, 0);
    take("no longer highlighted", 10, 3, QColor(0, 0, 255));
    for (const State& s : states) {
        EXPECT_EQ(s.colours.color(QPalette::Base), s.background) << s.name;
        EXPECT_GE(korv::testsupport::contrast(s.colours.color(QPalette::Text), s.colours.color(QPalette::Base)),
                  korv::testsupport::kReadableContrast)
            << s.name;
    }
    const QPalette selected = frame->display_cells[10][3]->palette();
    EXPECT_EQ(selected.color(QPalette::Highlight), QColor(0, 0, 0));
    EXPECT_EQ(selected.color(QPalette::HighlightedText), QColor(255, 255, 255));
}

TEST_F(PmsFrameTest, LocksAreKeptPerProgramAndTable) {
    frame->PMS_program_2->setChecked(true);
    frame->lock_wot->click();
    EXPECT_EQ(frame->adjust_cells().at(0, 1, 0, 16, 11), 1);
    frame->PMS_timing->setChecked(true);
    EXPECT_FALSE(frame->lock_wot->isChecked());
    frame->PMS_fuel->setChecked(true);
    EXPECT_TRUE(frame->lock_wot->isChecked());
    frame->PMS_program_1->setChecked(true);
    EXPECT_FALSE(frame->lock_wot->isChecked());
}

TEST_F(PmsFrameTest, AnimationPaintsAndFeedsTheFuelTable) {
    const Bytes image = open_boost_image();
    frame->set_adjust_pcnt(6);
    frame->animate_cells(3000, 100, 8.0f, 0);
    EXPECT_EQ(frame->total_adjust(), 6);
    EXPECT_EQ(frame->display_cells[10][3]->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(frame->display_cells[13][3]->palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(cell(10, 3), QString::number(static_cast<std::int8_t>(image[256 + 9 + 32]) * 2 + 6));

    frame->lock_wot->click();
    frame->set_adjust_pcnt(4);
    frame->animate_cells(3000, 100, 0.5f, 0);
    EXPECT_EQ(frame->display_cells[10][3]->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(frame->display_cells[13][3]->palette().color(QPalette::Base), QColor(0, 0, 255));
    // A locked cell shows its value, not the correction it refused.
    EXPECT_EQ(cell(10, 3), QString::number(static_cast<std::int8_t>(image[256 + 9 + 32]) * 2 + 6));
    EXPECT_EQ(frame->total_adjust(), 6);
    // Playback passes other throttle cells with "Lock WOT" ticked: each keeps showing its value.
    for (const auto& [rpm, tps, row, column] :
         {std::tuple{2000, 50, 6, 1}, std::tuple{4500, 95, 10, 6}, std::tuple{6000, 30, 4, 9}}) {
        frame->set_adjust_pcnt(0);
        frame->animate_cells(rpm, static_cast<std::int8_t>(tps), 0.0f, 0);
        EXPECT_EQ(cell(row, column), QString::number(frame->adjust_cells().shown(0, 0, row - 1, column - 1)))
            << rpm << " rpm, " << tps << " %";
    }
    EXPECT_EQ(cell(10, 3), QString::number(static_cast<std::int8_t>(image[256 + 9 + 32]) * 2 + 6));

    frame->reset_sim();
    frame->display_pgm();
    EXPECT_EQ(cell(10, 3), QString::number(static_cast<std::int8_t>(image[256 + 9 + 32]) * 2));
}

TEST_F(PmsFrameTest, ConfigurationRestoreThroughTheEditorInterface) {
    write_bytes(path("map.e2p"), sample_image());
    korv::editors::EditorFactory factory;
    factory.services.chooser = &chooser;
    std::unique_ptr<korv::player::PmsEditor> editor = factory.make_PMSframe();
    // As the start window restores its slot.
    editor->window()->move(260, 270);
    editor->set_config("map.e2p", folder_text());
    editor->recall_data();
    editor->set_radio_buttons({false, true, false, false, true});
    editor->display_pgm();
    editor->window()->setVisible(true);
    auto* restored = static_cast<PMSframe*>(editor.get());
    EXPECT_EQ(restored->windowTitle(), "PMS settings file: " + folder_text() + "map.e2p");
    EXPECT_EQ(editor->radio_buttons(), (korv::player::PmsChoices{false, true, false, false, true}));
    EXPECT_EQ(restored->display_cells[1][1]->text(),
              QString::number(static_cast<std::int8_t>(sample_image()[672 + 464])));
    EXPECT_EQ(editor->window()->pos(), QPoint(260, 270));
}

TEST_F(PmsFrameTest, EnhancedWindowFollowsTheProgram) {
    Bytes image(2047, 0);
    image[0] = 0x0C;
    image[77] = 12;
    image[202] = 0xFB;
    image[32] = 3;
    image[33] = 9;
    write_bytes(path("map.e2p"), image);
    open("map.e2p");
    frame->PMS_enhanced->click();
    PMSenhanced* e = frame->pms_enhanced();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->windowTitle(), "Enhanced PMS Settings");
    EXPECT_EQ(e->pos(), QPoint(50, 50));
    EXPECT_TRUE(e->Use_NOS->isChecked());
    EXPECT_FALSE(e->Use_Launch_Rpms->isChecked());
    EXPECT_TRUE(e->Use_Boost->isChecked());
    EXPECT_EQ(e->Boost_Table_Limit->text(), "12");
    EXPECT_EQ(e->Boost_Fuel_Cut->text(), "-5");
    EXPECT_EQ(e->Tip_in_Duration->text(), "3");
    EXPECT_EQ(e->Tip_In_Amount->text(), "9");
    for (QWidget* w : e->findChildren<QWidget*>())
        if (!qobject_cast<QLabel*>(w)) {
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        }
    frame->PMS_program_2->setChecked(true);  // flag byte 0
    EXPECT_TRUE(e->Use_Launch_Rpms->isChecked());
    EXPECT_FALSE(e->Use_NOS->isChecked());
    EXPECT_FALSE(e->Use_Boost->isChecked());
}

TEST_F(PmsFrameTest, EnhancedWindowHidesAndComesBackWithTheEditor) {
    QWidget& editor = *frame->window();
    editor.show();
    frame->PMS_enhanced->click();
    PMSenhanced* e = frame->pms_enhanced();
    ASSERT_TRUE(e && e->isVisible());
    // 50, 50 would lie on the editor's grid: it opens beside the editor.
    EXPECT_EQ(korv::testsupport::controls_covered(editor, e->frameGeometry()), "");
    e->move(e->pos() + QPoint(30, 20));  // where the user puts it
    const QPoint placed = e->pos();
    editor.hide();  // Animate off, or a VXM log opened
    EXPECT_FALSE(e->isVisible());
    editor.hide();
    editor.show();
    EXPECT_TRUE(e->isVisible());
    EXPECT_EQ(e->pos(), placed);
    editor.close();  // closed from its frame
    EXPECT_FALSE(e->isVisible());
    editor.show();
    EXPECT_TRUE(e->isVisible());
    // Closed by itself, it stays closed when the editor comes back.
    e->close();
    editor.hide();
    editor.show();
    EXPECT_FALSE(e->isVisible());
}

TEST(AfrFrameTest, KindsAndTexts) {
    AFRframe grid;
    EXPECT_EQ(grid.windowTitle(), "AFR Settings");
    EXPECT_EQ(grid.display_cells[1][0]->text(), "1 psi");
    EXPECT_EQ(grid.display_cells[2][0]->text(), "3");
    EXPECT_EQ(grid.display_cells[15][0]->text(), "29");
    EXPECT_EQ(grid.display_cells[16][0]->text(), "NOS");
    EXPECT_EQ(grid.kind_buttons[2]->text(), "Air Flow");
    for (QRadioButton* b : grid.kind_buttons) EXPECT_FALSE(b->isChecked());
    grid.animate_cells(3000, 100, 4.0f, 1, 0.85f, 0, false);
    grid.animate_cells(3000, 100, 4.0f, 1, 812.7f, 2, false);
    grid.animate_cells(3000, 100, 4.0f, 1, 12.0f, 3, false);
    EXPECT_EQ(grid.display_cells[2][3]->text(), "");  // not redrawn yet
    grid.display_pgm();
    EXPECT_EQ(grid.display_cells[2][3]->text(), "0.85");
    grid.kind_buttons[2]->click();
    EXPECT_EQ(grid.display_cells[2][3]->text(), "812");
    grid.kind_buttons[3]->click();
    EXPECT_EQ(grid.display_cells[2][3]->text(), "12.0");
    EXPECT_EQ(grid.display_cells[3][3]->text(), "");
}

// The download dialog against the stand-in library, in a scratch working folder.
class PmsDownloadTest : public PmsFrameTest {
protected:
    void SetUp() override {
        library = korv::KorvioLibrary::load_from(PMS_STANDIN_PATH);
        ASSERT_TRUE(library->available()) << library->load_error();
        services.library = library.get();
        PmsFrameTest::SetUp();
        void* handle = dlopen(PMS_STANDIN_PATH, RTLD_NOW | RTLD_NOLOAD);
        ASSERT_NE(handle, nullptr);
        script = reinterpret_cast<ScriptFn>(dlsym(handle, "pms_standin_script"));
        hold = reinterpret_cast<HoldFn>(dlsym(handle, "pms_standin_hold"));
        waiting = reinterpret_cast<WaitingFn>(dlsym(handle, "pms_standin_waiting"));
        calls = reinterpret_cast<CallsFn>(dlsym(handle, "pms_standin_calls"));
        dlclose(handle);
        hold(0);
    }
    void TearDown() override {
        hold(0);
        EXPECT_TRUE(run_events_until_settled([] { return korv::JobWorker::running() == 0; }));
        frame.reset();
    }
    PMSdialog* dialog() { return frame->pms_dialog(); }
    void download(int com) {
        frame->load_from_pms->click();
        ASSERT_NE(dialog(), nullptr);
        dialog()->port_list->setCurrentIndex(com);
        dialog()->ok_button->click();
        ASSERT_TRUE(run_events_until_settled([this] { return !dialog()->downloading(); }));
    }
    QString dialog_error() { return shown_error(dialog()->error_reporter()); }

    std::unique_ptr<korv::KorvioLibrary> library;
    ScriptFn script = nullptr;
    HoldFn hold = nullptr;
    WaitingFn waiting = nullptr;
    CallsFn calls = nullptr;
};

TEST_F(PmsDownloadTest, ACompleteDumpIsLoadedIntoTheEditor) {
    const std::string dump = dump_text(sample_image(8192));
    script(6, 0, dump.data(), int(dump.size()));
    frame->load_from_pms->click();
    ASSERT_NE(dialog(), nullptr);
    EXPECT_TRUE(dialog()->isModal());
    EXPECT_EQ(dialog()->prompt->text(), "Select COM port for access to the PMS");
    EXPECT_EQ(dialog()->status_line->text(), "Choose the com port & click 'OK'");
    dialog()->ok_button->click();
    EXPECT_EQ(dialog_error(), "No COM port selected!");

    hold(1);
    dialog()->port_list->setCurrentIndex(3);
    dialog()->ok_button->click();
    ASSERT_TRUE(run_events_until_settled([this] { return waiting() == 1; }));
    EXPECT_FALSE(dialog()->ok_button->isEnabled());
    EXPECT_FALSE(dialog()->cancel_button->isEnabled());
    EXPECT_FALSE(dialog()->port_list->isEnabled());
    dialog()->close();
    dialog()->reject();
    EXPECT_TRUE(dialog()->isVisible());
    hold(0);
    ASSERT_TRUE(run_events_until_settled([this] { return !dialog()->downloading(); }));

    int args[4];
    EXPECT_EQ(calls(args), 1);
    EXPECT_EQ((std::vector<int>(args, args + 4)), (std::vector<int>{2, 1, 0, 0}));
    EXPECT_FALSE(dialog()->isVisible());
    EXPECT_EQ(read_bytes(path("tmp.e2p")), sample_image(8191));
    EXPECT_EQ(frame->config_file(), "tmp.e2p");
    EXPECT_EQ(frame->config_dir(), folder_text());
    EXPECT_EQ(frame->windowTitle(), "PMS settings file: " + folder_text() + "tmp.e2p");
    EXPECT_EQ(cell(1, 1), QString::number(static_cast<std::int8_t>(sample_image()[256]) * 2));
}

TEST_F(PmsDownloadTest, FailuresLeaveTheDialogOpenAndTheImageAlone) {
    write_bytes(path("tmp.e2p"), Bytes(10, 7));
    std::string cut = dump_text(sample_image(8192)).substr(0, 18431);
    struct Case {
        int version, result;
        std::string dump;
        QString message;
    };
    for (const Case& c :
         {Case{5, 0, "", "Missing or incorrect version of libkorvio.so"}, Case{6, 3, "", "PMS access error: 3"},
          Case{6, 0, std::string(100, '0'), "EEprom download incomplete!"},
          Case{6, 0, cut, "Unable to process eeprom download: unexpected end of file"}}) {
        script(c.version, c.result, c.dump.data(), int(c.dump.size()));
        download(1);
        EXPECT_EQ(dialog_error(), c.message);
        EXPECT_TRUE(dialog()->isVisible());
        EXPECT_EQ(read_bytes(path("tmp.e2p")), Bytes(10, 7));
        EXPECT_EQ(frame->windowTitle(), "PMS Settings");
    }
}

TEST(PmsDownloadLibrary, AMissingLibraryIsReported) {
    korv::testsupport::WorkingFolder folder;
    const auto missing = korv::KorvioLibrary::load_from(folder.file("libnone.so"));
    PMSframe frame({nullptr, missing.get()});
    frame.load_from_pms->click();
    frame.pms_dialog()->port_list->setCurrentIndex(1);
    frame.pms_dialog()->ok_button->click();
    ASSERT_TRUE(run_events_until_settled([&] { return !frame.pms_dialog()->downloading(); }));
    EXPECT_EQ(shown_error(frame.pms_dialog()->error_reporter()),
              "Wrong or missing library - libkorvio.so!  See README.md for help.");
}

}  // namespace
