// The Qt file chooser and message box are checked as set up, never shown:
// a shown modal dialog would wait for a user.
#include "platform/gui/qt_file_chooser.h"
#include "platform/gui/qt_message_box.h"

#include <QDir>
#include <QFileDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace korv::platform {
namespace {

TEST(QtPrompts, ConstructWithAndWithoutAParent) {
    QWidget window;
    QtFileChooser chooser(&window);
    QtMessageBox box(&window);
    QtFileChooser orphan_chooser;
    QtMessageBox orphan_box;
    SUCCEED();
}

TEST(QtFileChooser, SaveRequestSetsSuffixFiltersAndOverwritePrompt) {
    QTemporaryDir folder;
    FileChooserRequest request;
    request.mode = FileChooserMode::Save;
    request.title = "Save Log";
    request.directory = folder.path().toStdString();
    request.file_name = "run1";
    request.filters = {{"VXM Logs", {"*.vxm", "*.VXM"}}, {"All Files", {"*.*"}}};
    request.default_extension = "vxm";

    QFileDialog dialog;
    configure_file_dialog(dialog, request);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
    EXPECT_EQ(dialog.windowTitle(), "Save Log");
    EXPECT_EQ(dialog.defaultSuffix(), "vxm");
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    EXPECT_EQ(dialog.nameFilters(), (QStringList{"VXM Logs (*.vxm *.VXM)", "All Files (*)"}));
    EXPECT_EQ(QDir(dialog.directory()).canonicalPath(), QDir(folder.path()).canonicalPath());

    request.overwrite_prompt = false;
    configure_file_dialog(dialog, request);
    EXPECT_TRUE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

TEST(QtFileChooser, OpenRequestWantsAnExistingFile) {
    FileChooserRequest request;
    request.mode = FileChooserMode::Open;
    QFileDialog dialog;
    configure_file_dialog(dialog, request);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
}

TEST(QtMessageBox, BoxCarriesTheButtonsIconAndTexts) {
    QMessageBox box;
    configure_message_box(box,
                          "Overwrite \xC2\xB0"
                          "F log?",
                          "VXMlog", MessageButtons::YesNoCancel, MessageIcon::Error);
    EXPECT_EQ(box.text(), QString::fromUtf8("Overwrite \u00B0F log?"));
    EXPECT_EQ(box.windowTitle(), "VXMlog");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::Yes));
    EXPECT_EQ(box.escapeButton(), box.button(QMessageBox::Cancel));

    configure_message_box(box, "Retry?", "", MessageButtons::RetryCancel, MessageIcon::None);
    EXPECT_EQ(box.standardButtons(), QMessageBox::Retry | QMessageBox::Cancel);
    EXPECT_EQ(box.icon(), QMessageBox::NoIcon);
}

TEST(QtMessageBox, ResultMapsBackAndAnythingElseCountsAsClosing) {
    EXPECT_EQ(pressed_button(QMessageBox::Retry, MessageButtons::RetryCancel), MessageButton::Retry);
    EXPECT_EQ(pressed_button(QMessageBox::No, MessageButtons::YesNoCancel), MessageButton::No);
    EXPECT_EQ(pressed_button(QMessageBox::Ok, MessageButtons::OkCancel), MessageButton::Ok);
    EXPECT_EQ(pressed_button(QMessageBox::NoButton, MessageButtons::YesNo), MessageButton::No);
    EXPECT_EQ(pressed_button(QMessageBox::Yes, MessageButtons::OkCancel), MessageButton::Cancel);
}

}  // namespace
}  // namespace korv::platform
