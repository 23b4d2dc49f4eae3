#include "logger/gui/datavalues.h"

#include "common/core/java_numbers.h"
#include "common/gui/window_place.h"
#include "common/gui/window_style.h"

namespace {

constexpr int kRowHeight = 20;

}  // namespace

datavalues::datavalues() : QWidget(nullptr) {
    setObjectName("datavalues");
    setWindowTitle("Real Time Data Values");
    setFixedSize(content_width, content_height);
    // The rows stay greyed while they show live values: a dark grey reads.
    korv::use_window_style(*this);
    for (int row = 0; row < korv::logger::DataValueTable::kRows; ++row) {
        auto* label = new QLabel("jlabel", this);
        label->setGeometry(8, 1 + row * kRowHeight, 140, kRowHeight - 2);
        auto* field = new QLineEdit("x", this);
        field->setGeometry(152, 1 + row * kRowHeight, 137, kRowHeight - 2);
        for (QWidget* w : {static_cast<QWidget*>(label), static_cast<QWidget*>(field)}) {
            w->setEnabled(false);
            w->setVisible(false);
        }
        label_table[static_cast<std::size_t>(row)] = label;
        text_table[static_cast<std::size_t>(row)] = field;
    }
}

void datavalues::define_fields(int code, int cable) {
    const korv::logger::DataValueTable::Defined defined = table_.define_fields(code, cable);
    if (defined.fresh_table) {
        for (int row = 0; row < korv::logger::DataValueTable::kRows; ++row) {
            label_table[static_cast<std::size_t>(row)]->setVisible(false);
            text_table[static_cast<std::size_t>(row)]->setVisible(false);
        }
    }
    if (!defined.shown_row) return;
    const auto row = static_cast<std::size_t>(*defined.shown_row);
    // A code without a label keeps the row's earlier text.
    if (defined.label) {
        label_table[row]->setText(
            QString::fromUtf8(defined.label->data(), static_cast<qsizetype>(defined.label->size())));
    }
    label_table[row]->setVisible(true);
    text_table[row]->setVisible(true);
}

void datavalues::set_value(int code, float value) {
    const std::optional<int> row = table_.row_of(code);
    if (!row) return;
    text_table[static_cast<std::size_t>(*row)]->setText(QString::fromStdString(korv::java_float_to_string(value)));
}

void datavalues::setVisible(bool show) {
    if (show) korv::place_for_first_show(*this, owner_, QPoint(50, 50));
    QWidget::setVisible(show);
    if (show) raise();
}
