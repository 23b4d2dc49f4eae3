#pragma once
// Small pieces the editor windows share: painting a field's
// background, checking a field when it loses the focus, and splitting a
// chosen path into the name and the folder the editors keep.
#include <QColor>
#include <QObject>
#include <QString>

#include "platform/core/file_chooser.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QLineEdit;
class QWidget;

namespace korv::editors {

// Paints the field's background in every state (the map cells are disabled)
// and gives it the text colour that reads on it: black or white, or for a
// disabled field the grey that still reads.
void paint_field(QLineEdit& field, const QColor& colour);
QColor field_colour(const QLineEdit& field);
// Background and text colour of a map cell; a selection reads white on black.
void colour_field(QLineEdit& field, const QColor& background, const QColor& text);
// A selection in any of the widget's fields reads white on black, whether
// its window has the focus or not (the desktop's selection colour leaves
// white text too faint on it). Editor windows give it to all their fields.
void use_readable_selection(QWidget& widget);

// Selects the text when the field gains the focus and calls `left` when it
// loses it, until the returned watcher is deleted. A window deletes its
// watchers in its destructor, so that a field losing the focus while the
// window's children are torn down calls nothing of the half-gone window.
QObject* on_focus_out(QLineEdit& field, std::function<void()> left);

// A field rule's refusal as the error dialog shows it.
QString field_message(std::string_view refusal);

struct NameAndFolder {
    QString file;
    QString dir;  // ends with '/'
};
NameAndFolder split_path(const QString& path);

// The settings file picked in `chooser`, starting from `dir` + `file`; none
// when the person cancels. Paths cross to the chooser in the file system's
// encoding.
struct ChosenFile {
    std::string path;
    NameAndFolder parts;
};
std::optional<ChosenFile> choose_settings_file(platform::FileChooser& chooser, platform::FileChooserMode mode,
                                               const std::string& title, const QString& dir, const QString& file);

}  // namespace korv::editors
