#include "logger/gui/triggerframe.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"

#include <QLabel>
#include <QPalette>

namespace {

QLabel* make_label(QWidget* parent, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(where);
    return label;
}

QLineEdit* make_field(QWidget* parent, const char* name, const QString& text, const QString& tip, int y) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    field->setToolTip(tip);
    field->setGeometry(130, y, 80, 22);
    return field;
}

}  // namespace

Triggerframe::Triggerframe() : QWidget(nullptr) {
    setObjectName("Triggerframe");
    setWindowTitle("Triggers");
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    korv::use_window_style(*this);

    make_label(this, "Start logging if EITHER of these conditions are met:", QRect(10, 8, 324, 20));
    make_label(this, "Rpms >=", QRect(30, 32, 95, 22));
    start_rpm = make_field(this, "start_rpm", "4000", "Choose rpm set point", 32);
    make_label(this, "or TPS >=", QRect(30, 58, 95, 22));
    start_tps = make_field(this, "start_tps", "100", "Choose TPS set point", 58);

    make_label(this, "Stop logging if BOTH of these conditions are met", QRect(10, 92, 324, 20));
    make_label(this, "Rpms <=", QRect(30, 116, 95, 22));
    stop_rpm = make_field(this, "stop_rpm", "4000", "Choose RPM set point", 116);
    make_label(this, "and TPS <=", QRect(30, 142, 95, 22));
    stop_tps = make_field(this, "stop_tps", "5", "Choose TPS set point", 142);

    ok_button = new QPushButton("&Ok", this);
    ok_button->setObjectName("ok_button");
    ok_button->setToolTip("Save settings");
    ok_button->setGeometry(130, 184, 84, 26);
    connect(ok_button, &QPushButton::clicked, this, &Triggerframe::ok_button_actionPerformed);
}

void Triggerframe::ok_button_actionPerformed() { hide(); }
