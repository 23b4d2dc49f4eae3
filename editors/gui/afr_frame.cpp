#include "editors/gui/afr_frame.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"
#include "editors/gui/editor_fields.h"

#include <QButtonGroup>
#include <QLineEdit>
#include <QRadioButton>

namespace {

using korv::editors::colour_field;

constexpr int kLeft = 10;
constexpr int kTop = 10;
constexpr int kLabelWidth = 50;
constexpr int kCellWidth = 44;
constexpr int kCellHeight = 20;

}  // namespace

AFRframe::AFRframe() : QWidget(nullptr) {
    setObjectName("AFRframe");
    setWindowTitle(QStringLiteral("AFR Settings"));
    setFixedSize(kLeft * 2 + kLabelWidth + 13 * kCellWidth, kTop + kGridRows * kCellHeight + 46);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);
    korv::editors::use_readable_selection(*this);
    add_controls();
}

void AFRframe::add_controls() {
    cell_values_.clear();
    if (display_cells[0][1]) {
        display_pgm();
        return;
    }
    const QFont cell_font = korv::window_font(10);
    for (int r = 0; r < kGridRows; ++r) {
        for (int k = 0; k < kGridColumns; ++k) {
            if (r == 0 && k == 0) continue;
            auto* cell = new QLineEdit(this);
            cell->setObjectName(QStringLiteral("display_cells_%1_%2").arg(r).arg(k));
            cell->setReadOnly(true);
            cell->setFont(cell_font);
            const int x = k == 0 ? kLeft : kLeft + kLabelWidth + (k - 1) * kCellWidth;
            cell->setGeometry(x, kTop + r * kCellHeight, k == 0 ? kLabelWidth : kCellWidth, kCellHeight);
            if (r == 0 || k == 0) {
                QString text;
                if (r == 0)
                    text = QString::number(2000 + 500 * (k - 1));
                else if (r == 1)
                    text = QStringLiteral("1 psi");
                else if (r == 16)
                    text = QStringLiteral("NOS");
                else
                    text = QString::number(1 + 2 * (r - 1));
                cell->setText(text);
                colour_field(*cell, QColor(0, 255, 0), Qt::black);
            } else {
                colour_field(*cell, QColor(0, 0, 255), Qt::white);
            }
            display_cells[r][k] = cell;
        }
    }
    const char* const names[] = {"O2v", "Timing", "Air Flow", "Pulse Width", "Duty Cycle"};
    auto* group = new QButtonGroup(this);
    for (int kind = 0; kind < korv::editors::afr::kKinds; ++kind) {
        auto* button = new QRadioButton(QString::fromLatin1(names[kind]), this);
        button->setObjectName(QStringLiteral("kind_%1").arg(kind));
        button->setGeometry(kLeft + kind * 120, kTop + kGridRows * kCellHeight + 12, 116, 22);
        group->addButton(button, kind);
        connect(button, &QRadioButton::clicked, this, &AFRframe::display_pgm);
        kind_buttons[kind] = button;
    }
}

void AFRframe::animate_cells(int rpm, std::int8_t tps, float boost, std::int8_t acc, float value, int kind, bool low) {
    (void)acc;  // the NOS row is never filled
    cell_values_.animate_cells(rpm, tps, boost, value, kind, low);
}

void AFRframe::display_pgm() {
    int kind = 0;
    for (int i = 0; i < korv::editors::afr::kKinds; ++i)
        if (kind_buttons[i] && kind_buttons[i]->isChecked()) kind = i;
    for (int r = 1; r < kGridRows; ++r)
        for (int k = 1; k < kGridColumns; ++k)
            display_cells[r][k]->setText(QString::fromStdString(cell_values_.text(kind, r, k)));
}
