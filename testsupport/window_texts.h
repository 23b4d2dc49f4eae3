#pragma once
// Checks that a fixed-layout window shows its texts whole and readable: each
// label's, button's, field's, list line's and choice's text fits its control
// in the control's own font, no control is cut by the window or a scroll
// area, and every text colour (enabled and disabled) stands out from its
// background. For GUI tests only (needs Qt Widgets).
#include <QAbstractButton>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

namespace korv::testsupport {

// Room a push button's bevel and focus frame take from its text.
inline constexpr int kButtonBevel = 8;
// Least contrast of text against its background: the common rule for
// readable body text. Computed here apart from the programs' own maths, so
// that a fault there cannot hide itself.
inline constexpr double kReadableContrast = 4.5;

struct TextProblem {
    std::string where;  // window / control
    std::string text;
    std::string what;
};

inline std::string describe(const QWidget& window, const QWidget& control) {
    const QString name =
        control.objectName().isEmpty() ? QString::fromLatin1(control.metaObject()->className()) : control.objectName();
    return (window.objectName() + " / " + name).toStdString();
}

// A text as its control shows it, and the letter it marks for the keyboard
// (null when none).
struct ShownText {
    QString text;
    QChar mnemonic;
};

// Buttons and check boxes, and labels with a buddy, read "&x" as x marked
// for the keyboard and "&&" as one "&"; other labels show their text as is.
inline bool reads_mnemonics(const QWidget& control) {
    if (qobject_cast<const QAbstractButton*>(&control)) return true;
    auto* label = qobject_cast<const QLabel*>(&control);
    return label && label->buddy();
}

inline ShownText shown_as(const QString& text, bool mnemonics) {
    if (!mnemonics) return {text, QChar()};
    ShownText shown;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) {
            ++i;
            if (text[i] != QLatin1Char('&') && shown.mnemonic.isNull()) shown.mnemonic = text[i];
        } else if (text[i] == QLatin1Char('&')) {
            continue;  // a closing "&" marks nothing and is not shown
        }
        shown.text += text[i];
    }
    return shown;
}

// The text a button or label shows: mnemonic marks dropped where they are read.
inline QString shown_text(const QWidget& control, const QString& text) {
    return shown_as(text, reads_mnemonics(control)).text;
}

inline int text_room(const QWidget& control) {
    QStyle* style = control.style();
    if (auto* box = qobject_cast<const QCheckBox*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(box);
        return style->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    }
    if (auto* radio = qobject_cast<const QRadioButton*>(&control)) {
        QStyleOptionButton option;
        option.initFrom(radio);
        return style->subElementRect(QStyle::SE_RadioButtonContents, &option, radio).width();
    }
    if (qobject_cast<const QPushButton*>(&control)) return control.width() - kButtonBevel;
    if (auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->contentsRect().width() - 2 * label->margin() - std::max(0, label->indent());
    }
    if (auto* field = qobject_cast<const QLineEdit*>(&control)) {
        const int frame = field->hasFrame() ? 2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, field) : 0;
        const QMargins margins = field->textMargins();
        // A line edit keeps two pixels of its own on either side of the text.
        return field->width() - frame - margins.left() - margins.right() - 4;
    }
    if (auto* combo = qobject_cast<const QComboBox*>(&control)) {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        return style->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo).width();
    }
    if (auto* list = qobject_cast<const QListWidget*>(&control)) {
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1;
        return list->viewport()->width() - 2 * margin;
    }
    return control.width();
}

// The texts a control shows, each with the font it is drawn in.
inline std::vector<std::pair<QString, QFont>> shown_texts(const QWidget& control) {
    std::vector<std::pair<QString, QFont>> texts;
    if (auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        texts.emplace_back(shown_text(control, button->text()), button->font());
    } else if (auto* label = qobject_cast<const QLabel*>(&control)) {
        texts.emplace_back(shown_text(control, label->text()), label->font());
    } else if (auto* field = qobject_cast<const QLineEdit*>(&control)) {
        texts.emplace_back(field->text(), field->font());
    } else if (auto* combo = qobject_cast<const QComboBox*>(&control)) {
        for (int i = 0; i < combo->count(); ++i) texts.emplace_back(combo->itemText(i), combo->font());
    } else if (auto* list = qobject_cast<const QListWidget*>(&control)) {
        for (int i = 0; i < list->count(); ++i) {
            // An item without a font of its own is drawn in the list's.
            const QVariant own = list->item(i)->data(Qt::FontRole);
            texts.emplace_back(list->item(i)->text(), own.isValid() ? own.value<QFont>() : list->font());
        }
    }
    return texts;
}

inline bool is_checked_control(const QWidget& w) {
    return qobject_cast<const QAbstractButton*>(&w) || qobject_cast<const QLabel*>(&w) ||
           qobject_cast<const QLineEdit*>(&w) || qobject_cast<const QComboBox*>(&w) ||
           qobject_cast<const QListWidget*>(&w) || qobject_cast<const QPlainTextEdit*>(&w);
}

// A control's own parts (a combo box's line edit, a scroll area's bars) are
// the control's business, not the window's.
inline bool inside_another_control(const QWidget& w, const QWidget& window) {
    for (const QWidget* p = w.parentWidget(); p && p != &window; p = p->parentWidget()) {
        if (qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractScrollArea*>(p) ||
            qobject_cast<const QLineEdit*>(p)) {
            // Controls laid out inside a scroll area are the window's.
            if (auto* area = qobject_cast<const QAbstractScrollArea*>(p);
                area && !qobject_cast<const QPlainTextEdit*>(area) && !qobject_cast<const QListWidget*>(area)) {
                continue;
            }
            return true;
        }
    }
    return false;
}

inline std::vector<QWidget*> window_controls(QWidget& window) {
    std::vector<QWidget*> controls;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->isWindow() || !is_checked_control(*w) || inside_another_control(*w, window)) continue;
        controls.push_back(w);
    }
    return controls;
}

// Every text that does not fit its control, and every shown control that
// its window or a scroll area cuts. The window must have been shown once
// (layouts and text panes are settled then).
inline std::vector<TextProblem> cut_texts(QWidget& window) {
    std::vector<TextProblem> problems;
    for (QWidget* control : window_controls(window)) {
        if (auto* pane = qobject_cast<QPlainTextEdit*>(control)) {
            const bool all_in_view =
                pane->verticalScrollBar()->maximum() == 0 && pane->horizontalScrollBar()->maximum() == 0;
            if (!pane->isReadOnly() || all_in_view) continue;
            if (pane->verticalScrollBarPolicy() == Qt::ScrollBarAlwaysOff) {
                problems.push_back({describe(window, *control), pane->toPlainText().toStdString(),
                                    "the pane shows only part of its text"});
            }
            continue;
        }
        const int room = text_room(*control);
        for (const auto& [text, font] : shown_texts(*control)) {
            if (text.isEmpty()) continue;
            const int width = QFontMetrics(font).horizontalAdvance(text);
            if (width > room) {
                problems.push_back({describe(window, *control), text.toStdString(),
                                    std::to_string(width) + " px wide in " + std::to_string(room) + " px"});
            }
        }
        if (!control->isVisibleTo(&window)) continue;
        QRect seen(control->mapTo(&window, QPoint(0, 0)), control->size());
        const QRect whole = seen;
        for (QWidget* p = control->parentWidget(); p; p = p->parentWidget()) {
            seen &= QRect(p->mapTo(&window, QPoint(0, 0)), p->size());
            if (p == &window) break;
        }
        if (seen != whole) {
            problems.push_back({describe(window, *control), "", "the control is cut by what holds it"});
        }
    }
    return problems;
}

inline double relative_luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

inline double contrast(const QColor& a, const QColor& b) {
    const double la = relative_luminance(a), lb = relative_luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The least contrast of a field's text in every way the field can be drawn
// now: on its background in a focused and an unfocused window, and selected
// on the selection colour; a disabled field only in its disabled colours.
inline double field_least_contrast(const QLineEdit& field) {
    const QPalette& colours = field.palette();
    if (!field.isEnabled())
        return contrast(colours.color(QPalette::Disabled, QPalette::Text),
                        colours.color(QPalette::Disabled, QPalette::Base));
    double least = 21.0;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        least = std::min(least, contrast(colours.color(group, QPalette::Text), colours.color(group, QPalette::Base)));
        least = std::min(least, contrast(colours.color(group, QPalette::HighlightedText),
                                         colours.color(group, QPalette::Highlight)));
    }
    return least;
}

// Fields of a window that some state draws too faintly (see field_least_contrast).
inline std::vector<TextProblem> faint_fields(QWidget& window) {
    std::vector<TextProblem> problems;
    for (QLineEdit* field : window.findChildren<QLineEdit*>()) {
        const double ratio = field_least_contrast(*field);
        if (ratio < kReadableContrast)
            problems.push_back({describe(window, *field), field->text().toStdString(),
                                "least text contrast " + std::to_string(ratio)});
    }
    return problems;
}

// Controls whose text colour, enabled or disabled, is too close to their
// background colour (both from the control's palette).
inline std::vector<TextProblem> pale_texts(QWidget& window) {
    std::vector<TextProblem> problems;
    for (QWidget* control : window_controls(window)) {
        QPalette::ColorRole text = control->foregroundRole();
        QPalette::ColorRole ground = control->backgroundRole();
        if (qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractScrollArea*>(control) ||
            qobject_cast<QComboBox*>(control)) {
            text = QPalette::Text;
            ground = QPalette::Base;
        }
        if (qobject_cast<QComboBox*>(control) && !static_cast<QComboBox*>(control)->isEditable()) {
            text = QPalette::ButtonText;
            ground = QPalette::Button;
        }
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Disabled}) {
            const QPalette& colours = control->palette();
            const double ratio = contrast(colours.color(group, text), colours.color(group, ground));
            if (ratio < kReadableContrast) {
                problems.push_back({describe(window, *control), "",
                                    std::string(group == QPalette::Disabled ? "disabled" : "enabled") +
                                        " text contrast " + std::to_string(ratio)});
            }
        }
    }
    return problems;
}

// The contrast of a button's text as its style paints it: for buttons
// painted by style sheets, where the palette is not the whole story. The
// text is drawn large and bold for the measure, so that whole pixels of its
// colour show instead of the blends at the edges of thin strokes. The most
// common colour is the background, the pixel inside the border that stands
// out most from it is the text.
inline double rendered_text_contrast(QAbstractButton& button) {
    const QFont own = button.font();
    QFont large = own;
    large.setPixelSize(20);
    large.setBold(true);
    button.setFont(large);
    const QImage image = button.grab().toImage();
    button.setFont(own);
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    }
    const QRgb ground =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    const QRect inner = image.rect().adjusted(3, 3, -3, -3);
    double best = 1.0;
    for (int y = inner.top(); y <= inner.bottom(); ++y) {
        for (int x = inner.left(); x <= inner.right(); ++x) {
            best = std::max(best, contrast(QColor(image.pixel(x, y)), QColor(ground)));
        }
    }
    return best;
}

// A text a window should show as its user reads it, and the letter it
// marks for the keyboard (0: none).
struct ExpectedText {
    const char* text;
    char mnemonic = 0;
};

// The expected texts that no button, check box or label of the window shows
// as expected, with what the nearest one shows instead.
inline std::vector<TextProblem> missing_texts(QWidget& window, const std::vector<ExpectedText>& expected) {
    std::vector<std::pair<const QWidget*, ShownText>> shown;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            text = button->text();
        } else if (auto* label = qobject_cast<QLabel*>(control)) {
            text = label->text();
        } else {
            continue;
        }
        shown.emplace_back(control, shown_as(text, reads_mnemonics(*control)));
    }
    std::vector<TextProblem> problems;
    for (const ExpectedText& e : expected) {
        const QString want = QString::fromUtf8(e.text);
        const QChar letter = e.mnemonic ? QChar::fromLatin1(e.mnemonic) : QChar();
        std::string instead;
        bool found = false;
        for (const auto& [control, s] : shown) {
            if (s.text == want && s.mnemonic == letter) found = true;
            // What a control shows once its marks are dropped, for the message.
            QString bare = s.text;
            if (bare.remove(QLatin1Char('&')).simplified() == QString(want).remove(QLatin1Char('&')).simplified())
                instead = "shown as \"" + s.text.toStdString() + "\"" +
                          (s.mnemonic.isNull() ? "" : std::string(" with mnemonic ") + s.mnemonic.toLatin1());
        }
        if (!found) {
            problems.push_back({window.objectName().toStdString(), e.text, instead.empty() ? "not shown" : instead});
        }
    }
    return problems;
}

inline std::string listed(const std::vector<TextProblem>& problems) {
    std::string out;
    for (const TextProblem& p : problems) out += p.where + " \"" + p.text + "\": " + p.what + "\n";
    return out;
}

}  // namespace korv::testsupport
