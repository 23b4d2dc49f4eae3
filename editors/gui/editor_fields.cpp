#include "editors/gui/editor_fields.h"

#include "common/gui/window_style.h"

#include <QEvent>
#include <QFile>
#include <QLineEdit>
#include <QPalette>
#include <QTimer>

namespace korv::editors {

namespace {

void set_readable_selection(QPalette& p) {
    p.setColor(QPalette::Highlight, Qt::black);
    p.setColor(QPalette::HighlightedText, Qt::white);
}

}  // namespace

void use_readable_selection(QWidget& widget) {
    QPalette p = widget.palette();
    set_readable_selection(p);
    widget.setPalette(p);
}

void paint_field(QLineEdit& field, const QColor& colour) {
    QPalette p = field.palette();
    set_readable_selection(p);
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, colour);
    const QColor text = text_colour_on(colour);
    p.setColor(QPalette::Active, QPalette::Text, text);
    p.setColor(QPalette::Inactive, QPalette::Text, text);
    p.setColor(QPalette::Disabled, QPalette::Text, disabled_text_on(colour));
    field.setPalette(p);
}

QColor field_colour(const QLineEdit& field) { return field.palette().color(QPalette::Disabled, QPalette::Base); }

void colour_field(QLineEdit& field, const QColor& background, const QColor& text) {
    QPalette palette = field.palette();
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::Text, text);
    set_readable_selection(palette);
    field.setPalette(palette);
}

namespace {

class FocusWatch final : public QObject {
public:
    FocusWatch(QLineEdit& field, std::function<void()> left) : QObject(&field), field_(field), left_(std::move(left)) {
        field.installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, &field_, [f = &field_] { f->selectAll(); });
        } else if (event->type() == QEvent::FocusOut) {
            left_();
        }
        return false;
    }

private:
    QLineEdit& field_;
    std::function<void()> left_;
};

}  // namespace

QObject* on_focus_out(QLineEdit& field, std::function<void()> left) { return new FocusWatch(field, std::move(left)); }

std::optional<ChosenFile> choose_settings_file(platform::FileChooser& chooser, platform::FileChooserMode mode,
                                               const std::string& title, const QString& dir, const QString& file) {
    platform::FileChooserRequest request;
    request.mode = mode;
    request.title = title;
    request.directory = QFile::encodeName(dir).toStdString();
    request.file_name = QFile::encodeName(file).toStdString();
    std::optional<std::string> chosen = chooser.choose(request);
    if (!chosen) return std::nullopt;
    NameAndFolder parts = split_path(QFile::decodeName(QByteArray::fromStdString(*chosen)));
    return ChosenFile{std::move(*chosen), std::move(parts)};
}

QString field_message(std::string_view refusal) {
    return QString::fromLatin1(refusal.data(), static_cast<qsizetype>(refusal.size()));
}

NameAndFolder split_path(const QString& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) return {path, QString()};
    return {path.mid(slash + 1), path.left(slash + 1)};
}

}  // namespace korv::editors
