#include "platform/gui/qt_file_chooser.h"

#include <QFile>
#include <QFileDialog>

namespace korv::platform {

QStringList name_filters(const std::vector<FileFilter>& filters) {
    QStringList result;
    for (const FileFilter& filter : filters) {
        QStringList patterns;
        for (const std::string& pattern : filter.patterns) {
            patterns << (pattern == "*.*" ? QStringLiteral("*") : QString::fromStdString(pattern));
        }
        result << QString::fromStdString(filter.description) + QStringLiteral(" (") + patterns.join(u' ') + u')';
    }
    return result;
}

void configure_file_dialog(QFileDialog& dialog, const FileChooserRequest& request) {
    const bool save = request.mode == FileChooserMode::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.title.empty()) dialog.setWindowTitle(QString::fromStdString(request.title));
    if (!request.filters.empty()) dialog.setNameFilters(name_filters(request.filters));
    dialog.setDefaultSuffix(QString::fromStdString(request.default_extension));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwrite_prompt);
    if (!request.directory.empty()) {
        dialog.setDirectory(QFile::decodeName(request.directory.c_str()));
    }
    if (!request.file_name.empty()) dialog.selectFile(QFile::decodeName(request.file_name.c_str()));
}

std::optional<std::string> QtFileChooser::choose(const FileChooserRequest& request) {
    QFileDialog dialog(parent_);
    configure_file_dialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return QFile::encodeName(chosen.front()).toStdString();
}

}  // namespace korv::platform
