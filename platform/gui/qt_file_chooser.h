#pragma once
// The file chooser shown with QFileDialog.
#include "platform/core/file_chooser.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

class QFileDialog;

namespace korv::platform {

class QtFileChooser final : public FileChooser {
public:
    explicit QtFileChooser(QWidget* parent = nullptr) : parent_(parent) {}
    // Modal; call on the GUI thread.
    std::optional<std::string> choose(const FileChooserRequest& request) override;

private:
    QPointer<QWidget> parent_;
};

// The dialog as choose() sets it up, apart so it can be checked unshown.
void configure_file_dialog(QFileDialog& dialog, const FileChooserRequest& request);
// "Log Files (*.vxm *.log)"; "*.*" becomes "*", since on Linux it would
// miss names without a dot.
QStringList name_filters(const std::vector<FileFilter>& filters);

}  // namespace korv::platform
