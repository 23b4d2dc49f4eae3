// The main window headless: menus, messages, opening, bitmap and printing.
#include "dyno/gui/ergomark_window.h"

#include "dyno/gui/about_dialog.h"
#include "dyno/gui/dyno_chart_painter.h"
#include "testsupport/allocation_counter.h"
#include "dyno/tests/gui_test_support.h"
#include "platform/core/memory_settings_store.h"
#include "platform/core/scripted_file_chooser.h"
#include "platform/core/scripted_message_box.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPrinter>
#include <QTest>
#include <gtest/gtest.h>

namespace korv::dyno {
namespace {

using namespace testing_support;
using korv::testsupport::AllocationBudget;
using platform::ShownMessage;

class DynoMainWindow : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        window_ = std::make_unique<Ergomark>(store_, &chooser_, &messages_);
        window_->set_dialog_runner([this](QDialog& dialog) { dialogs_.push_back(dialog.objectName()); });
    }

    void open_pull() {
        chooser_.queue_path(write_file(dir_, "pull.csv", pull_csv()));
        window_->OpenLogFile();
        ASSERT_TRUE(window_->session().loaded());
    }

    QTemporaryDir dir_;
    platform::MemorySettingsStore store_;
    platform::ScriptedFileChooser chooser_;
    platform::ScriptedMessageBox messages_;
    std::unique_ptr<Ergomark> window_;
    std::vector<QString> dialogs_;
};

TEST_F(DynoMainWindow, MenusOfferEveryCommand) {
    EXPECT_EQ(window_->windowTitle(), "Ergomark");
    QStringList texts;
    for (QAction* menu : window_->menuBar()->actions()) {
        texts << menu->text();
        for (QAction* item : menu->menu()->actions()) texts << item->text();
    }
    EXPECT_EQ(texts,
              (QStringList{"&File", "Open", "Config", "Select", "Save", "Print", "E&xit", "&Help", "&About ..."}));
}

TEST_F(DynoMainWindow, SelectWithoutALogSaysSo) {
    window_->ShowSelect();
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].text, "Please load a file before selecting");
    EXPECT_EQ(messages_.messages()[0].caption, "No File");
    EXPECT_TRUE(dialogs_.empty());
    open_pull();
    window_->ShowSelect();
    EXPECT_EQ(dialogs_, (std::vector<QString>{"SelectDialog"}));
}

TEST_F(DynoMainWindow, OpenAsksAndReportsFailures) {
    chooser_.queue_cancel();
    window_->OpenLogFile();
    ASSERT_EQ(chooser_.requests().size(), 1u);
    EXPECT_EQ(chooser_.requests()[0].title, "Choose a file to dyno");
    EXPECT_EQ(chooser_.requests()[0].file_name, "*.csv");
    EXPECT_EQ(chooser_.requests()[0].default_extension, "ext");
    EXPECT_TRUE(messages_.messages().empty());

    chooser_.queue_path(dir_.filePath("missing.csv").toStdString());
    window_->OpenLogFile();
    chooser_.queue_path(write_file(dir_, "nort.csv", "x\nTime,Speed\n1,2\n"));
    window_->OpenLogFile();
    EXPECT_EQ(messages_.messages(), (std::vector<ShownMessage>{{"Can't open file", "File Error"},
                                                               {"Can't read RPM or Time from log", "File Error"}}));
    EXPECT_FALSE(window_->session().loaded());

    open_pull();
    EXPECT_GT(window_->session().range().end, window_->session().range().start);
}

TEST_F(DynoMainWindow, OpeningSaysHowManyRowsWereLeftOut) {
    std::string csv = pull_csv();
    csv += "6.05,nan,100\n";
    chooser_.queue_path(write_file(dir_, "one.csv", csv));
    window_->OpenLogFile();
    csv += "6.10,NaN,100\nx,7000,100\n";
    chooser_.queue_path(write_file(dir_, "three.csv", csv));
    window_->OpenLogFile();
    open_pull();
    EXPECT_EQ(messages_.messages(),
              (std::vector<ShownMessage>{{"1 row was left out: its time or RPM held no number.", "File Error"},
                                         {"3 rows were left out: their time or RPM held no number.", "File Error"}}));
}

TEST_F(DynoMainWindow, LogsThatCannotLoadKeepTheOpenOne) {
    open_pull();
    const std::size_t samples = window_->session().samples().size();
    chooser_.queue_path(write_file(dir_, "stuck.csv", "x\nInj Deadtime Scale,RPM\n1.00,2000\n1.00,2100\n"));
    window_->OpenLogFile();
    std::string big = "x\nTime,RPM\n";
    for (int k = 0; k < 50000; ++k) big += std::to_string(k) + ",3000\n";
    chooser_.queue_path(write_file(dir_, "big.csv", big));
    {
        AllocationBudget budget(std::size_t{1} << 20);
        window_->OpenLogFile();
    }
    EXPECT_EQ(messages_.messages(), (std::vector<ShownMessage>{{"Can't read RPM or Time from log", "File Error"},
                                                               {"Not enough memory to load this log", "File Error"}}));
    EXPECT_TRUE(QString::fromStdString(window_->session().file_name()).endsWith("pull.csv"));
    EXPECT_EQ(window_->session().samples().size(), samples);
}

TEST_F(DynoMainWindow, AboutOnQuestionMarkAndSlash) {
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    window_->activateWindow();
    QTest::keyClick(window_.get(), Qt::Key_Question);
    QTest::keyClick(window_.get(), Qt::Key_Slash);
    EXPECT_EQ(dialogs_, (std::vector<QString>{"AboutDialog", "AboutDialog"}));
    AboutDialog about;
    EXPECT_EQ(about.findChild<QLabel*>("versionText")->text(), "Ergomark Version 0.02");
}

TEST_F(DynoMainWindow, SavesTheChartAsBitmap) {
    open_pull();
    const QString path = dir_.filePath("chart.bmp");
    chooser_.queue_path(path.toStdString());
    window_->SaveChartBmp();
    EXPECT_EQ(chooser_.requests().back().title, "File to save");
    EXPECT_EQ(chooser_.requests().back().file_name, "*.bmp");
    EXPECT_EQ(chooser_.requests().back().default_extension, "bmp");
    EXPECT_EQ(QFileInfo(path).size(), 921654);
    QImage read(path);
    ASSERT_FALSE(read.isNull());
    EXPECT_EQ(read.size(), QSize(640, 480));
    EXPECT_EQ(read.pixelColor(0, 479), QColor(Qt::white));

    chooser_.queue_path(dir_.filePath("no/such/dir/chart.bmp").toStdString());
    window_->SaveChartBmp();
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].caption, "Error");
    EXPECT_NE(messages_.messages()[0].text.find("Can't save BMP file"), std::string::npos);
}

TEST_F(DynoMainWindow, ChartShowsBothCurvesInTheirColours) {
    open_pull();
    const QImage image = render_chart_image(window_->session());
    image.save(dir_.filePath("chart.png"));
    int power = 0, torque = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            power += c == QColor(20, 200, 60) ? 1 : 0;
            torque += c == QColor(140, 20, 80) ? 1 : 0;
        }
    }
    EXPECT_GT(power, 100);
    EXPECT_GT(torque, 100);
}

TEST_F(DynoMainWindow, PrintsToThePrinterOrSaysThereIsNone) {
    open_pull();
    const QString pdf = dir_.filePath("chart.pdf");
    window_->set_printer_source([pdf] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    window_->PrintChart();
    EXPECT_TRUE(messages_.messages().empty());
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // The document name becomes the PDF's title, in UTF-16.
    EXPECT_TRUE(bytes.contains(QByteArray("\0T\0e\0s\0t\0-\0D\0o\0c", 16)) || bytes.contains("Test-Doc"));
    EXPECT_GT(bytes.size(), 1000);

    window_->set_printer_source([] { return std::unique_ptr<QPrinter>(); });
    window_->PrintChart();
    ASSERT_EQ(messages_.messages().size(), 1u);
    EXPECT_EQ(messages_.messages()[0].text, "No default printer to print on");
}

}  // namespace
}  // namespace korv::dyno
