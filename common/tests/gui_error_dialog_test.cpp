// The error dialog and each window's reporter, headless.
#include "common/gui/error_dialog.h"
#include "common/gui/error_reporter.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

namespace {

void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

TEST(ErrorDialog, LooksAsTheWindowsExpect) {
    error_dialog dialog;
    EXPECT_EQ(dialog.size(), QSize(322, 164));
    EXPECT_TRUE(dialog.windowTitle().isEmpty());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.parent(), nullptr);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.error_field->isReadOnly());
    EXPECT_EQ(dialog.error_field->palette().color(QPalette::Base), QColor(204, 204, 204));
    EXPECT_EQ(dialog.ok_button->text(), "&Ok");

    error_dialog titled("Note");
    EXPECT_EQ(titled.windowTitle(), "Note");
}

TEST(ErrorReporter, FirstReportBuildsTheDialogAndLaterOnesReuseIt) {
    korv::ErrorReporter reporter;
    EXPECT_EQ(reporter.error_diag(), nullptr);

    reporter.error_rtn("Port already in use!");
    error_dialog* first = reporter.error_diag();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());  // shown before error_rtn returned
    EXPECT_EQ(first->message(), "Port already in use!");

    reporter.error_rtn("No logged data to save!");
    EXPECT_EQ(reporter.error_diag(), first);
    EXPECT_EQ(first->message(), "No logged data to save!");
}

TEST(ErrorReporter, OkHidesAndTheNextReportShowsAgain) {
    korv::ErrorReporter reporter;
    reporter.error_rtn("first");
    QTest::mouseClick(reporter.error_diag()->ok_button, Qt::LeftButton);
    EXPECT_FALSE(reporter.error_diag()->isVisible());

    reporter.error_rtn("second");
    EXPECT_TRUE(reporter.error_diag()->isVisible());
    EXPECT_EQ(reporter.error_diag()->message(), "second");

    // Keyboard activation of the button hides it too.
    reporter.error_diag()->ok_button->setFocus();
    QTest::keyClick(reporter.error_diag()->ok_button, Qt::Key_Space);
    EXPECT_FALSE(reporter.error_diag()->isVisible());
}

TEST(ErrorReporter, EmptyMessageShowsAnEmptyPane) {
    korv::ErrorReporter reporter;
    reporter.error_rtn("old text");
    reporter.error_rtn("");
    EXPECT_TRUE(reporter.error_diag()->message().isEmpty());
    EXPECT_TRUE(reporter.error_diag()->isVisible());
}

TEST(ErrorReporter, TwoWindowsShowTwoDialogs) {
    korv::ErrorReporter one, two;
    one.error_rtn("a");
    two.error_rtn("b");
    EXPECT_NE(one.error_diag(), two.error_diag());
    EXPECT_EQ(one.error_diag()->message(), "a");
    EXPECT_EQ(two.error_diag()->message(), "b");
}

TEST(ErrorReporter, WorkerReportsReachTheDialogOnTheGuiThreadInOrder) {
    korv::ErrorReporter reporter;
    std::thread worker([&] {
        reporter.error_rtn("Converting file, please wait");
        reporter.hide();
        reporter.error_rtn("Error saving log data: disk full");
    });
    worker.join();
    // Nothing is built off the GUI thread.
    EXPECT_EQ(reporter.error_diag(), nullptr);
    settle();
    ASSERT_NE(reporter.error_diag(), nullptr);
    EXPECT_EQ(reporter.error_diag()->thread(), QThread::currentThread());
    EXPECT_EQ(reporter.error_diag()->message(), "Error saving log data: disk full");
    EXPECT_TRUE(reporter.error_diag()->isVisible());
}

TEST(ErrorReporter, WorkerHideAfterWorkerShowLeavesTheNoticeHidden) {
    korv::ErrorReporter reporter;
    std::thread worker([&] {
        reporter.error_rtn("Converting file, please wait");
        reporter.hide();
    });
    worker.join();
    settle();
    ASSERT_NE(reporter.error_diag(), nullptr);
    EXPECT_FALSE(reporter.error_diag()->isVisible());
}

TEST(ErrorReporter, PostedReportsAreDroppedWhenTheWindowIsGone) {
    auto reporter = std::make_unique<korv::ErrorReporter>();
    std::thread worker([&] { reporter->error_rtn("late"); });
    worker.join();
    reporter.reset();
    settle();  // must not touch the destroyed reporter
    SUCCEED();
}

}  // namespace
