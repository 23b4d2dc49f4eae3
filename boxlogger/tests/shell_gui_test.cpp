#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <atomic>
#include <filesystem>
#include <fstream>

#include "boxlogger/gui/about_dialog.h"
#include "boxlogger/gui/color_menu.h"
#include "boxlogger/core/command_table.h"
#include "boxlogger/gui/data_select_dialog.h"
#include "boxlogger/gui/document_view.h"
#include "boxlogger/gui/engine_link.h"
#include "boxlogger/gui/instance_channel.h"
#include "boxlogger/gui/logger_prefs_dialog.h"
#include "boxlogger/gui/notice_dialog.h"
#include "boxlogger/gui/quick_select_dialog.h"
#include "boxlogger/gui/view_prefs_dialog.h"
#include "boxlogger/gui/vxmlog_app.h"
#include "common/core/vxm_document_writer.h"
#include "platform/core/memory_settings_store.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"
#include "platform/gui/qt_file_chooser.h"
#include "testsupport/event_wait.h"
#include "testsupport/temp_folder.h"
#include "testsupport/window_texts.h"

namespace korv::boxlogger {
namespace {

// A box link answering probes from a script, at once.
class ScriptedLink final : public LoggerLink {
public:
    std::optional<std::string> Probe(int port_index, Answer answered) override {
        if (refusal) return refusal;
        probed.push_back(port_index);
        open = answer == 2;
        answered(answer);
        return std::nullopt;
    }
    std::optional<std::string> ClosePort(std::function<void()> closed) override {
        if (refusal) return refusal;
        open = false;
        faked = false;
        ++closes;
        if (closed) closed();
        return std::nullopt;
    }
    void AfterPending(std::function<void()> step) override { step(); }
    void FakeLink() override { faked = true; }
    bool Linked() const override { return open || faked; }

    int answer = 0;
    // Set: nothing can be asked of the link, for this reason.
    std::optional<std::string> refusal;
    bool open = false;
    bool faked = false;
    int closes = 0;
    std::vector<int> probed;
};

// Runs an action on the next modal dialog once it is shown.
void on_next_dialog(std::function<void(QDialog&)> act) {
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

struct ShellFixture : ::testing::Test {
    platform::MemorySettingsStore store;
    platform::ScriptedMessageBox messages;
    platform::ScriptedFileChooser files;
    ScriptedLink link;
    std::unique_ptr<CVXMlogApp> app;

    void start(const QStringList& arguments = {}) {
        AppServices services;
        services.store = &store;
        services.messages = &messages;
        services.files = &files;
        services.link = &link;
        services.send_mail = [this](const QString& path) {
            mailed << path;
            return mail_works;
        };
        app = std::make_unique<CVXMlogApp>(services);
        ASSERT_TRUE(app->InitInstance(arguments));
    }
    QPushButton* button(int id) { return app->command_frame()->view()->button(id); }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : messages.messages()) out.push_back(m.text);
        return out;
    }

    QStringList mailed;
    bool mail_works = true;
};

std::string write_vxg(const std::string& path, const std::string& title) {
    VxmDocument doc;
    doc.title = title;
    VxmChannel channel;
    channel.id = 9;
    channel.label = "Engine Speed";
    channel.max = 8000;
    doc.channels.push_back(channel);
    doc.samples.reset(1);
    doc.samples.append({0.0f, {800.0f}});
    doc.samples.append({0.5f, {900.0f}});
    EXPECT_FALSE(write_vxm_document(path, doc));
    return path;
}

TEST_F(ShellFixture, FirstStartAndExitWriteThePortColoursAndPlacement) {
    start();
    EXPECT_EQ(app->command_frame()->windowTitle(), "Calderis Datalogger Command Screen");
    EXPECT_EQ(app->settings().com_port, 0);
    EXPECT_EQ(app->settings().background, 0x000000u);
    EXPECT_EQ(app->settings().foreground, 0x808080u);
    EXPECT_EQ(app->capture_frame(), nullptr);
    EXPECT_EQ(app->printer().pageLayout().orientation(), QPageLayout::Landscape);
    app->command_frame()->close();
    EXPECT_TRUE(app->exited());
    EXPECT_EQ(store.read_dword(kSettingsKey, "ComPort"), 0u);
    EXPECT_EQ(store.read_dword(kSettingsKey, "BgColor"), 0u);
    EXPECT_EQ(store.read_dword(kSettingsKey, "FgColor"), 0x808080u);
    // Four keys, the six triggers among the data descriptions, the five
    // quick selects under their default names.
    EXPECT_EQ(store.subkeys({}), (std::vector<std::string>{"DataDescriptions", "QuickSelects", "Settings", "State"}));
    EXPECT_EQ(store.subkeys({"DataDescriptions"}).size(), 6u);
    EXPECT_EQ(store.read_string({"QuickSelects"}, "QuickSelect5"), "Quick Select #5");
    const auto main = store.read_string(kStateKey, "MainWindow");
    ASSERT_TRUE(main);
    EXPECT_TRUE(parse_placement(*main));
}

TEST_F(ShellFixture, DamagedPlacementsKeepTheCommandScreenOnScreen) {
    store.write_string(kStateKey, "MainWindow", "1:1:40");
    start();
    const QPoint default_position = app->command_frame()->pos();
    app.reset();
    store.write_string(kStateKey, "MainWindow", "0:1:-1:-1:-1:-1:90000:90000:90400:90250");
    start();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.contains(app->command_frame()->frameGeometry()))
        << app->command_frame()->frameGeometry().x() << "," << app->command_frame()->frameGeometry().y() << " "
        << app->command_frame()->frameGeometry().width() << "x" << app->command_frame()->frameGeometry().height()
        << " on " << screen.width() << "x" << screen.height();
    app.reset();
    store.write_string(kStateKey, "MainWindow", "0:1:-1:-1:-1:-1:30:40:430:290");
    start();
    EXPECT_EQ(app->command_frame()->pos(), QPoint(30, 40));
    (void)default_position;
}

TEST_F(ShellFixture, BadComPortBecomesCom1) {
    store.write_dword(kSettingsKey, "ComPort", 7);
    start();
    EXPECT_EQ(app->settings().com_port, 0);
}

TEST_F(ShellFixture, ButtonsFollowTheLink) {
    start();
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
    EXPECT_FALSE(button(cmd::kCollectData)->isEnabled());
    EXPECT_FALSE(button(cmd::kDescribeCar)->isEnabled());
    EXPECT_FALSE(button(cmd::kDrb2)->isEnabled());
    EXPECT_TRUE(button(cmd::kReviewData)->isEnabled());
    link.answer = 2;
    button(cmd::kConnect)->click();
    EXPECT_EQ(link.probed, std::vector<int>{0});
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");
    EXPECT_TRUE(button(cmd::kCollectData)->isEnabled());
    EXPECT_TRUE(button(cmd::kDescribeCar)->isEnabled());
    EXPECT_TRUE(button(cmd::kDrb2)->isEnabled());
    button(cmd::kDescribeCar)->click();
    EXPECT_EQ(texts(), std::vector<std::string>{"Not implemented yet"});
    button(cmd::kConnect)->click();
    EXPECT_EQ(link.closes, 1);
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
}

TEST_F(ShellFixture, DisconnectAndDrb2AreRefusedWhileCapturing) {
    start();
    link.answer = 2;
    button(cmd::kConnect)->click();
    button(cmd::kCollectData)->click();
    ASSERT_NE(app->capture_frame(), nullptr);
    button(cmd::kConnect)->click();
    button(cmd::kDrb2)->click();
    EXPECT_EQ(texts(), (std::vector<std::string>{"Capture screen still open", "Capture window must be closed first"}));
    EXPECT_EQ(link.closes, 0);
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");
    // Collect Data again brings the one capture window forward.
    CCaptureFrame* first = app->capture_frame();
    button(cmd::kCollectData)->click();
    EXPECT_EQ(app->capture_frame(), first);
    // Closing it closes only it.
    first->close();
    EXPECT_EQ(app->capture_frame(), nullptr);  // at once, not when the frame is deleted
    EXPECT_EQ(app->FindCaptureDocument(), nullptr);
    button(cmd::kConnect)->click();
    EXPECT_EQ(link.closes, 1);
    QApplication::processEvents();
    EXPECT_FALSE(app->exited());
    EXPECT_TRUE(app->command_frame()->isVisible());
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
}

TEST_F(ShellFixture, ConnectWithoutABoxOpensLoggerPreferencesAndFakingTheLinkLinks) {
    start();
    link.answer = 0;
    on_next_dialog([](QDialog& dialog) {
        auto* prefs = qobject_cast<CLoggerPrefsDlg*>(&dialog);
        ASSERT_NE(prefs, nullptr);
        EXPECT_FALSE(prefs->ok_enabled());
        auto* status = prefs->findChild<QLabel*>("1053");
        QTest::mouseDClick(status, Qt::LeftButton, Qt::ControlModifier);
        EXPECT_EQ(prefs->status_text(), "Datalogger link faked");
        EXPECT_TRUE(prefs->ok_enabled());
        prefs->findChild<QComboBox*>("1001")->setCurrentIndex(2);
        prefs->accept();
    });
    button(cmd::kConnect)->click();
    EXPECT_TRUE(link.faked);
    EXPECT_EQ(app->settings().com_port, 2);
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");
    EXPECT_TRUE(button(cmd::kCollectData)->isEnabled());
    // Disconnect ends the faked link.
    button(cmd::kConnect)->click();
    EXPECT_FALSE(link.faked);
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
}

// After a Connect that found no working box, Logger Preferences opens with
// what the probe found in its status.
TEST_F(ShellFixture, LoggerPreferencesOpensWithWhatConnectFound) {
    start();
    for (const auto& [answer, text] : std::vector<std::pair<int, QString>>{
             {-1, "Port already in use or unavailable"}, {1, "Datalogger not properly connected to ECU"}}) {
        link.answer = answer;
        QString shown;
        on_next_dialog([&shown](QDialog& dialog) {
            shown = qobject_cast<CLoggerPrefsDlg*>(&dialog)->status_text();
            dialog.reject();
        });
        button(cmd::kConnect)->click();
        EXPECT_EQ(shown, text);
        EXPECT_FALSE(app->connecting());
    }
}

// Connect and Disconnect that cannot be started say why and leave the
// command screen as it was, ready for the next try.
TEST_F(ShellFixture, ARefusedConnectOrDisconnectSaysWhyAndCanBeTriedAgain) {
    start();
    const std::string reason = "No thread could be started for the work: Resource temporarily unavailable.";
    link.refusal = reason;
    button(cmd::kConnect)->click();
    EXPECT_EQ(texts(), std::vector<std::string>{reason});
    EXPECT_FALSE(app->connecting());
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");

    link.refusal.reset();
    link.answer = 2;
    button(cmd::kConnect)->click();
    EXPECT_EQ(link.probed.size(), 1u);
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect");

    link.refusal = reason;
    button(cmd::kConnect)->click();
    EXPECT_EQ(texts().size(), 2u);
    EXPECT_FALSE(app->connecting());
    EXPECT_EQ(button(cmd::kConnect)->text(), "Dis&connect") << "still linked";
    link.refusal.reset();
    button(cmd::kConnect)->click();
    EXPECT_EQ(button(cmd::kConnect)->text(), "&Connect");
}

// Logger Preferences over a link that takes nothing: the status says why,
// and a Cancel that cannot close the port keeps the dialog open.
TEST(LoggerPreferences, ARefusedProbeOrCloseIsShownInTheStatus) {
    ScriptedLink link;
    const std::string reason = "The work was refused: its worker has stopped.";
    link.refusal = reason;
    CLoggerPrefsDlg dialog(link, 0);
    dialog.show();
    EXPECT_EQ(dialog.status_text().toStdString(), reason);
    EXPECT_FALSE(dialog.ok_enabled());
    dialog.OnSelchangePort(1);
    dialog.OnConnect();
    EXPECT_EQ(dialog.status_text().toStdString(), reason);
    dialog.reject();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.status_text().toStdString(), reason);
    link.refusal.reset();
    dialog.reject();
    EXPECT_FALSE(dialog.isVisible());
}

// The program's own link: a job that cannot start is refused at once with
// the worker's reason, and nothing answers later; a step after the pending
// work is due at once.
TEST(EngineLinkRefusal, ProbeAndCloseSayWhyAndAStepAfterThemRunsAtOnce) {
    ASSERT_TRUE(testsupport::run_events_until([] { return JobWorker::running() == 0; }, std::chrono::seconds(10)));
    CSerialPort port;
    EngineLink link(port);
    bool answered = false, closed = false, stepped = false;
    {
        const JobWorker::RefuseThreads refuse("Resource temporarily unavailable");
        const std::string reason = "No thread could be started for the work: Resource temporarily unavailable.";
        EXPECT_EQ(link.Probe(0, [&](int) { answered = true; }), reason);
        EXPECT_EQ(link.ClosePort([&] { closed = true; }), reason);
        link.AfterPending([&] { stepped = true; });
        EXPECT_TRUE(stepped);
    }
    QApplication::processEvents();
    EXPECT_FALSE(answered);
    EXPECT_FALSE(closed);
    link.Stop();
    EXPECT_EQ(link.ClosePort(nullptr), "The work was refused: its worker has stopped.");
}

TEST(LoggerPreferences, ProbeTextsOkOnlyWhenLinkedAndCancelClosesThePort) {
    ScriptedLink link;
    link.answer = 1;
    CLoggerPrefsDlg dialog(link, 1);
    EXPECT_EQ(dialog.findChild<QComboBox*>("1001")->currentText(), "COM2");
    EXPECT_FALSE(dialog.ok_enabled());
    const std::vector<std::pair<int, const char*>> cases{{-1, "Port already in use or unavailable"},
                                                         {0, "Datalogger not found or lacking power"},
                                                         {1, "Datalogger not properly connected to ECU"},
                                                         {2, "Datalogger working properly"},
                                                         {5, "Unknown error"}};
    for (const auto& [answer, text] : cases) {
        link.answer = answer;
        dialog.findChild<QPushButton*>("1054")->click();
        EXPECT_EQ(dialog.status_text(), text);
        EXPECT_EQ(dialog.ok_enabled(), answer == 2) << answer;
    }
    dialog.findChild<QComboBox*>("1001")->setCurrentIndex(3);
    EXPECT_EQ(dialog.status_text(), "");
    EXPECT_EQ(dialog.port_index(), 3);
    // A plain double-click does nothing.
    QTest::mouseDClick(dialog.findChild<QLabel*>("1053"), Qt::LeftButton);
    EXPECT_FALSE(link.faked);
    const int closes = link.closes;
    dialog.reject();
    EXPECT_EQ(link.closes, closes + 1);
    EXPECT_FALSE(link.Linked());
}

TEST(ViewPreferences, ColoursApplyAtOnceAndAreRestoredUnlessOk) {
    for (const bool ok : {false, true}) {
        std::uint32_t fg = 0x808080, bg = 0x000000;
        int updates = 0;
        CViewPrefsDlg dialog(fg, bg, [&] { ++updates; });
        dialog.set_color_chooser([](QPushButton* b) { return b->objectName() == "1089" ? 32800 + 9 : 32815; });
        dialog.findChild<QPushButton*>("1089")->click();
        dialog.findChild<QPushButton*>("1090")->click();
        EXPECT_EQ(fg, 0x0000FFu);  // Red
        EXPECT_EQ(bg, 0xFFFFFFu);  // White
        EXPECT_EQ(updates, 2);
        if (ok)
            dialog.accept();
        else
            dialog.reject();
        EXPECT_EQ(fg, ok ? 0x0000FFu : 0x808080u);
        EXPECT_EQ(bg, ok ? 0xFFFFFFu : 0x000000u);
        EXPECT_EQ(updates, ok ? 2 : 3);
    }
}

TEST(ColorMenuWidget, EntriesCarryTheirIdsAndColours) {
    CColorMenu menu;
    ASSERT_EQ(menu.actions().size(), 16);
    EXPECT_EQ(menu.actions()[7]->text(), "Gray");
    EXPECT_EQ(menu.actions()[7]->data().toInt(), 32807);
    EXPECT_EQ(CColorMenu::ColorFromMenuIndex(10), 0x00FF00u);
    EXPECT_EQ(CColorMenu::ColorFromCommandId(32813), 0xFF00FFu);
    // The swatches paint the stored 0x00BBGGRR colour: entry 9, Red, is 0x0000FF.
    const QImage red = menu.actions()[9]->icon().pixmap(40, menu.fontMetrics().height()).toImage();
    EXPECT_EQ(red.pixelColor(red.width() / 2, red.height() / 2), QColor(255, 0, 0));
    // An id outside the menu gives the window-text colour, stored the same way.
    const QPalette kept = QApplication::palette();
    QPalette text = kept;
    text.setColor(QPalette::WindowText, QColor(0x10, 0x20, 0x30));
    QApplication::setPalette(text);
    EXPECT_EQ(CColorMenu::ColorFromCommandId(cmd::kColourLast + 1), 0x302010u);
    QApplication::setPalette(kept);
}

TEST(QuickSelectDialog, PreselectsReadsTheChosenSetAndEditedNames) {
    const CQuickSelectDlg::Names names{"A", "B", "C", "D", "E"};
    CQuickSelectDlg dialog(names, 4, nullptr);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("1062")->isChecked());
    // The edits' ids do not follow the sets' order.
    const std::array<const char*, 5> edit_ids{"1064", "1067", "1068", "1066", "1065"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(dialog.findChild<QLineEdit*>(edit_ids[i])->text(), names[i]);
    dialog.findChild<QLineEdit*>("1065")->setText("Idle run");
    dialog.findChild<QRadioButton*>("1060")->setChecked(true);
    dialog.accept();
    EXPECT_EQ(dialog.chosen(), 1);
    EXPECT_EQ(dialog.names()[4], "Idle run");

    CQuickSelectDlg none(names, 0, nullptr);
    none.accept();
    EXPECT_EQ(none.chosen(), -1);
    // A line break cannot be typed into a name.
    QLineEdit* edit = none.findChild<QLineEdit*>("1064");
    int pos = 0;
    for (QString text : {QString("a\nb"), QString("Lap \u2192 2"), QString("Boost \u03a9")})
        EXPECT_EQ(edit->validator()->validate(text, pos), QValidator::Invalid) << text.toStdString();
    QString storable = QString::fromUtf8("Run at 20\u00b0C \u20ac");
    EXPECT_EQ(edit->validator()->validate(storable, pos), QValidator::Acceptable);
}

TEST_F(ShellFixture, QuickSelectNamesGoToBarAndMenu) {
    start();
    link.answer = 2;
    button(cmd::kConnect)->click();
    button(cmd::kCollectData)->click();
    CCaptureFrame* frame = app->capture_frame();
    ASSERT_NE(frame, nullptr);
    QuickSelectEntries entries;
    for (int i = 0; i < 5; ++i) entries[i] = {QString("Set %1").arg(i + 1), i != 2};
    frame->set_quick_selects([&] { return entries; });
    frame->UpdateQuickSelectMenus();
    QMenu* sets = nullptr;
    for (QAction* a : frame->find_menu("&Data")->actions())
        if (a->menu() && a->text() == "&Quick Selects") sets = a->menu();
    ASSERT_NE(sets, nullptr);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(frame->quick_select_button(i)->text(), entries[i].name);
        EXPECT_EQ(frame->quick_select_button(i)->isEnabled(), i != 2);
        EXPECT_EQ(sets->actions()[i]->text(), entries[i].name);
        EXPECT_EQ(sets->actions()[i]->data().toInt(), 1079 + i);
    }
    // 32825 toggles the bar and its check mark follows.
    EXPECT_FALSE(frame->quick_select_bar()->isHidden());
    frame->action(cmd::kToggleQuickSelectBar)->trigger();
    EXPECT_TRUE(frame->quick_select_bar()->isHidden());
    EXPECT_FALSE(frame->action(cmd::kToggleQuickSelectBar)->isChecked());
    frame->action(cmd::kToggleQuickSelectBar)->trigger();
    EXPECT_FALSE(frame->quick_select_bar()->isHidden());
    EXPECT_TRUE(frame->action(cmd::kToggleQuickSelectBar)->isChecked());
    // The bar sits on the toolbar's row.
    EXPECT_EQ(frame->toolBarArea(frame->quick_select_bar()), frame->toolBarArea(frame->tool_bar()));
    EXPECT_FALSE(frame->toolBarBreak(frame->quick_select_bar()));
}

TEST_F(ShellFixture, StoredQuickSelectsNameTheBarAndMenuEntries) {
    store.write_string({"QuickSelects"}, "QuickSelect3", "Idle\nEngine Speed");
    start();
    app->OnFileNew();
    CCaptureFrame* frame = app->capture_frame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->quick_select_button(2)->text(), "Idle");
    EXPECT_TRUE(frame->quick_select_button(2)->isEnabled());
    EXPECT_EQ(frame->quick_select_button(0)->text(), "Quick Select #1");
    EXPECT_FALSE(frame->quick_select_button(0)->isEnabled());
    QMenu* data = frame->find_menu("&Data");
    ASSERT_NE(data, nullptr);
    emit data->aboutToShow();
    QMenu* sets = nullptr;
    for (QAction* a : data->actions())
        if (a->menu() && a->text() == "&Quick Selects") sets = a->menu();
    ASSERT_NE(sets, nullptr);
    EXPECT_EQ(sets->actions()[2]->text(), "Idle");
    frame->quick_select_button(2)->click();
    EXPECT_EQ(app->FindCaptureDocument()->GetChannelIds(), (std::vector<std::int32_t>{9, 59}));
    // The set's name is the title at once, in the chart and the caption.
    EXPECT_EQ(app->FindCaptureDocument()->title(), "Idle");
    EXPECT_EQ(frame->windowTitle(), "Idle - VXMlog");
    EXPECT_EQ(frame->findChild<CDocumentView*>()->title()->text(), "Idle");
}

TEST_F(ShellFixture, CaptureFrameAcceleratorsPanesAndTips) {
    start();
    app->OnFileNew();
    CCaptureFrame* frame = app->capture_frame();
    ASSERT_NE(frame, nullptr);
    const std::vector<std::pair<int, QKeySequence>> keys{{cmd::kFileNew, QKeySequence(Qt::CTRL | Qt::Key_N)},
                                                         {cmd::kFilePrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
                                                         {cmd::kFileSave, QKeySequence(Qt::CTRL | Qt::Key_S)},
                                                         {cmd::kHelp, QKeySequence(Qt::Key_F1)},
                                                         {cmd::kContextHelp, QKeySequence(Qt::SHIFT | Qt::Key_F1)},
                                                         {cmd::kBack, QKeySequence(Qt::Key_Left)},
                                                         {cmd::kShrink, QKeySequence(Qt::CTRL | Qt::Key_Left)},
                                                         {cmd::kForward, QKeySequence(Qt::Key_Right)},
                                                         {cmd::kExpand, QKeySequence(Qt::CTRL | Qt::Key_Right)},
                                                         {cmd::kStart, QKeySequence(Qt::Key_Space)},
                                                         {cmd::kStop, QKeySequence(Qt::ALT | Qt::Key_Space)}};
    for (const auto& [id, key] : keys) {
        ASSERT_NE(frame->action(id), nullptr) << id;
        EXPECT_EQ(frame->action(id)->shortcut(), key) << id;
    }
    EXPECT_EQ(frame->action(cmd::kToggleQuickSelectBar)->statusTip(), "Show or hide the Quick Selects");
    EXPECT_EQ(frame->action(cmd::kToggleQuickSelectBar)->toolTip(), "Toggle Quick Select Bar");
    EXPECT_EQ(frame->action(cmd::kExportCsv)->toolTip(), "CSV Export");
    ASSERT_NE(frame->pane(cmd::kPaneRate), nullptr);
    ASSERT_NE(frame->pane(cmd::kPaneValue), nullptr);
    EXPECT_EQ(frame->pane(cmd::kPaneValue)->text(), "");
    EXPECT_EQ(frame->minimumSize(), QSize(400, 250));
    EXPECT_EQ(app->command_frame()->pane(cmd::kPaneRate)->text(), "Link Down");
    EXPECT_EQ(app->command_frame()->pane(cmd::kPaneValue), nullptr);
    // New is off while the capture window is open.
    frame->UpdateCommandUI();
    EXPECT_FALSE(frame->action(cmd::kFileNew)->isEnabled());
    // Help keys open the help window.
    frame->action(cmd::kHelp)->trigger();
    auto* help = app->command_frame()->findChild<QDialog*>("helpWindow");
    if (help == nullptr) help = frame->findChild<QDialog*>("helpWindow");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
}

// What a first capture window shows without a saved placement: all five
// quick selects beside the toolbar, a printer on the Print button.
TEST_F(ShellFixture, TheCaptureWindowOpensWithItsWholeToolbarRow) {
    start();
    app->OnFileNew();
    CCaptureFrame* frame = app->capture_frame();
    QApplication::processEvents();
    QToolBar* bar = frame->quick_select_bar();
    ASSERT_EQ(frame->toolBarArea(bar), frame->toolBarArea(frame->tool_bar()));
    for (int i = 0; i < 5; ++i) {
        QPushButton* button = frame->quick_select_button(i);
        EXPECT_TRUE(button->isVisible()) << button->text().toStdString();
        EXPECT_TRUE(bar->rect().contains(button->geometry())) << button->text().toStdString();
    }
    const QImage print = frame->action(cmd::kFilePrint)->icon().pixmap(16, 16).toImage();
    const QImage list = QApplication::style()->standardIcon(QStyle::SP_FileDialogDetailedView).pixmap(16, 16).toImage();
    EXPECT_FALSE(print.isNull());
    EXPECT_NE(print, list) << "the Print button shows the list icon";
}

// The file type reads once in the chooser, in Open as in Save As.
TEST_F(ShellFixture, OpenAndSaveAsNameTheFileTypeAlike) {
    start();
    app->OnFileOpen();
    ASSERT_EQ(files.requests().size(), 1u);
    const QStringList open = platform::name_filters(files.requests()[0].filters);
    EXPECT_EQ(open.join(" | ").toStdString(), "VXMlog Files (*.vxg) | All Files (*)");

    testsupport::TempFolder folder;
    const std::string path = write_vxg(folder.file("run.vxg"), "Run");
    CDisplayFrame* review = app->OpenReviewWindow(QString::fromStdString(path));
    ASSERT_NE(review, nullptr);
    review->action(cmd::kFileSaveAs)->trigger();
    ASSERT_EQ(files.requests().size(), 2u);
    EXPECT_EQ(platform::name_filters(files.requests()[1].filters).front().toStdString(), open.front().toStdString());
}

// A damaged file opens, and its window's status bar says what was left out.
TEST_F(ShellFixture, ReviewOfAFileWithBytesAfterItsLastSampleSaysSo) {
    testsupport::TempFolder folder;
    const std::string path = write_vxg(folder.file("long.vxg"), "Run");
    {
        std::ofstream out(path, std::ios::binary | std::ios::app);
        out.write("\x01\x02\x03", 3);
    }
    const std::string whole = write_vxg(folder.file("whole.vxg"), "Run");
    start({QString::fromStdString(path), QString::fromStdString(whole)});
    ASSERT_EQ(app->review_frames().size(), 2u);
    EXPECT_TRUE(messages.messages().empty());
    CDisplayFrame* damaged = app->review_frames()[0];
    EXPECT_EQ(damaged->status_note(), "long.vxg: 3 bytes after the last sample were not read");
    auto* note = damaged->statusBar()->findChild<QLabel*>("statusNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_EQ(app->review_frames()[1]->status_note(), "");
}

TEST_F(ShellFixture, AVxgArgumentOpensOneReviewWindowAndASecondOpenActivatesIt) {
    testsupport::TempFolder folder;
    const std::string path = write_vxg(folder.file("run.vxg"), "Run");
    std::filesystem::create_symlink(path, folder.file("link.vxg"));
    start({QString::fromStdString(path)});
    EXPECT_EQ(app->capture_frame(), nullptr);
    ASSERT_EQ(app->review_frames().size(), 1u);
    CDisplayFrame* first = app->review_frames().front();
    EXPECT_EQ(app->OpenReviewWindow(QString::fromStdString(folder.file("link.vxg"))), first);
    files.queue_path(path);
    app->OnFileOpen();
    EXPECT_EQ(app->review_frames().size(), 1u);
    EXPECT_EQ(app->recent_files(), QStringList{QString::fromStdString(path)});
    EXPECT_EQ(first->recent_files(), app->recent_files());
    EXPECT_TRUE(first->action(cmd::kFileRecent1)->isVisible());
    EXPECT_FALSE(first->action(cmd::kFileRecent1 + 1)->isVisible());
    // A damaged file is refused with the reader's message.
    testsupport::TempFolder other;
    std::filesystem::resize_file(write_vxg(other.file("bad.vxg"), "Bad"), 20);
    EXPECT_EQ(app->OpenReviewWindow(QString::fromStdString(other.file("bad.vxg"))), nullptr);
    EXPECT_EQ(messages.messages().size(), 1u);
    // Send hands the saved file to the mail program, or says there is none.
    first->action(cmd::kFileSend)->trigger();
    EXPECT_EQ(mailed.size(), 1);
    mail_works = false;
    first->action(cmd::kFileSend)->trigger();
    EXPECT_EQ(messages.messages().back().text, "No mail program is set up to send the document.");
    // Exit closes review windows and keeps the recent list and the placement.
    app->command_frame()->close();
    EXPECT_EQ(store.read_string({"Recent File List"}, "File1"), path);
    EXPECT_TRUE(store.read_string(kStateKey, "ReviewWindow"));
}

TEST(AboutDialog, ShowsTheVersionAndTheIconSwitchesFakeData) {
    platform::ScriptedMessageBox messages;
    bool fake = false;
    CAboutDlg dialog(messages, [&] { return fake = !fake; });
    EXPECT_EQ(dialog.findChild<QLabel*>("1085")->text(), QString("Version ") + VXMLOG_TEST_VERSION);
    QLabel* icon = dialog.findChild<QLabel*>("1091");
    QTest::mouseDClick(icon, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseDClick(icon, Qt::LeftButton, Qt::ControlModifier);
    QTest::mouseDClick(icon, Qt::LeftButton);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[0].text, "Fake data enabled");
    EXPECT_EQ(messages.messages()[1].text, "Fake data disabled");
    EXPECT_FALSE(fake);
}

TEST(NoticeDialog, EndsAfterItsLifetime) {
    QPointer<CNoticeDlg> notice = new CNoticeDlg("Relay on", 20);
    notice->show();
    EXPECT_EQ(notice->findChild<QLabel*>("1052")->text(), "Relay on");
    QTRY_VERIFY_WITH_TIMEOUT(notice.isNull(), 10000);
}

TEST(InstanceChannelTest, ASecondStartRaisesTheFirstWithItsFiles) {
    testsupport::TempFolder folder;
    const QString socket = QString::fromStdString(folder.file("VXMlog.socket"));
    // A socket file left by a crashed instance is taken over.
    testsupport::TempFolder ignored;
    InstanceChannel first;
    ASSERT_TRUE(first.Listen(socket));
    QSignalSpy raised(&first, &InstanceChannel::raise_requested);
    std::atomic<bool> sent{false};
    std::thread second([&] { sent = InstanceChannel::HandOver(socket, {"/tmp/a.vxg"}); });
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(sent.load(), 10000);
    second.join();
    EXPECT_EQ(raised.front().front().toStringList(), QStringList{"/tmp/a.vxg"});
    EXPECT_FALSE(InstanceChannel::SendToRunning(QString::fromStdString(folder.file("none.socket")), {}, "x", 500));
}

// A request written but not answered in time (the first was busy) is sent
// again with its id: the first answers both and opens the files once. A
// request of another start opens them again.
TEST(InstanceChannelTest, ARequestSentAgainOpensItsFilesOnce) {
    testsupport::TempFolder folder;
    const QString socket = QString::fromStdString(folder.file("VXMlog.socket"));
    InstanceChannel first;
    ASSERT_TRUE(first.Listen(socket));
    QSignalSpy raised(&first, &InstanceChannel::raise_requested);
    // The first does not run its events while the second waits: no answer,
    // though the request is there and is acted on later.
    EXPECT_FALSE(InstanceChannel::SendToRunning(socket, {"/tmp/a.vxg"}, "start-1", 200));
    QTRY_COMPARE_WITH_TIMEOUT(raised.count(), 1, 10000);
    // The first answers before it acts: once a sender has its answer, the
    // request has been acted on (or dropped).
    const auto send = [&](const char* id) {
        std::atomic<bool> sent{false};
        std::thread second([&] { sent = InstanceChannel::SendToRunning(socket, {"/tmp/a.vxg"}, id, 10000); });
        const bool answered = testsupport::run_events_until([&] { return sent.load(); }, std::chrono::seconds(10));
        second.join();
        return answered;
    };
    ASSERT_TRUE(send("start-1"));
    EXPECT_EQ(raised.count(), 1);
    ASSERT_TRUE(send("start-2"));
    EXPECT_EQ(raised.count(), 2);
    for (const QList<QVariant>& files : raised) EXPECT_EQ(files.front().toStringList(), QStringList{"/tmp/a.vxg"});
}

TEST_F(ShellFixture, TheCaptureWindowComesBackWhereItWasClosed) {
    start();
    app->OnFileNew();
    app->capture_frame()->setGeometry(60, 70, 500, 300);
    const QRect where = app->capture_frame()->frameGeometry();
    app->capture_frame()->close();
    QApplication::processEvents();
    ASSERT_TRUE(app->settings().placement(PlacementSlot::CaptureWindow).valid());
    app->OnFileNew();
    EXPECT_EQ(app->capture_frame()->frameGeometry(), where);
    // Too small a placement still gives the least size.
    app->capture_frame()->close();
    QApplication::processEvents();
    app->settings().placement(PlacementSlot::CaptureWindow) = {0, 1, -1, -1, -1, -1, 10, 10, 60, 40};
    app->OnFileNew();
    EXPECT_EQ(app->capture_frame()->size(), QSize(400, 250));
}

void expect_readable(QWidget& window) {
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(testsupport::listed(testsupport::cut_texts(window)), "") << window.windowTitle().toStdString();
    EXPECT_EQ(testsupport::listed(testsupport::pale_texts(window)), "") << window.windowTitle().toStdString();
}

TEST_F(ShellFixture, FixedWindowsShowEveryTextWhole) {
    start();
    expect_readable(*app->command_frame());
    link.answer = 2;
    button(cmd::kConnect)->click();
    expect_readable(*app->command_frame());  // "Dis&connect", the disabled texts enabled
    CAboutDlg about(messages, nullptr);
    expect_readable(about);
    CLoggerPrefsDlg prefs(link, 0);
    for (int answer : {-1, 0, 1, 2, 9}) {
        link.answer = answer;
        prefs.OnConnect();
        expect_readable(prefs);
    }
    std::uint32_t fg = 0, bg = 0;
    CViewPrefsDlg view(fg, bg, nullptr);
    expect_readable(view);
    CQuickSelectDlg sets(
        {"Quick Select #1", "Quick Select #2", "Quick Select #3", "Quick Select #4", "Quick Select #5"}, 0, nullptr);
    expect_readable(sets);
}

TEST_F(ShellFixture, WindowsShowTheirTextsAndKeyboardLettersAsWritten) {
    start();
    using testsupport::ExpectedText;
    const auto expect_shown = [](QWidget& window, const std::vector<ExpectedText>& expected) {
        EXPECT_EQ(testsupport::listed(testsupport::missing_texts(window, expected)), "")
            << window.windowTitle().toStdString();
    };
    expect_shown(*app->command_frame(),
                 {{"Connect", 'C'}, {"Describe Car", 's'}, {"Collect Data", 'D'}, {"Review Data", 'R'}, {"DRB2", '2'}});
    link.answer = 2;
    button(cmd::kConnect)->click();
    expect_shown(*app->command_frame(), {{"Disconnect", 'c'}});
    CLoggerPrefsDlg prefs(link, 0);
    expect_shown(prefs, {{"Connect", 'C'}});
    QuickSelectSets sets;
    CDataSelectDlg select({}, sets);
    expect_shown(select, {{">> Select >>"},
                          {"<< Unselect <<"},
                          {"Load Quick Select", 'L'},
                          {"Save Quick Select", 'S'},
                          {"Sampled Data"}});
}

}  // namespace
}  // namespace korv::boxlogger
