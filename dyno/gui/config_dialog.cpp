#include "dyno/gui/config_dialog.h"

#include "common/gui/window_style.h"

#include "dyno/core/car_table.h"
#include "dyno/core/field_number.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace korv::dyno {
namespace {

QString text_of(double value, int decimals) { return QString::fromStdString(field_text(value, decimals)); }

void add_label(QWidget* parent, const char* text, int x, int y, int width = 110) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(x, y, width, 22);
}

}  // namespace

ConfigDialog::ConfigDialog(DynoSettings& settings, QWidget* parent) : QDialog(parent), settings_(settings) {
    setObjectName("ConfigDialog");
    setWindowTitle("Config");
    setFixedSize(440, 330);
    use_window_style(*this);

    add_label(this, "Car", 12, 12, 40);
    auto* cars = new QComboBox(this);
    cars->setObjectName("carList");
    cars->setGeometry(60, 12, 150, 24);
    for (const CarSpec& car : car_table()) cars->addItem(car.name);
    cars->setCurrentIndex(settings_.car);
    connect(cars, &QComboBox::activated, this, &ConfigDialog::OnCarChosen);

    add_label(this, "Gear", 230, 12, 40);
    auto* gears = new QComboBox(this);
    gears->setObjectName("gearList");
    gears->setGeometry(275, 12, 80, 24);
    for (int g = 0; g < kGearCount; ++g) gears->addItem(QString::fromUtf8(gear_name(g).data(), 3));
    gears->setCurrentIndex(settings_.gear);
    connect(gears, &QComboBox::activated, this, &ConfigDialog::OnGearChosen);

    gear_text_ = new QLabel(this);
    gear_text_->setObjectName("gearText");
    gear_text_->setGeometry(60, 44, 150, 22);
    final_text_ = new QLabel("Final", this);
    final_text_->setObjectName("finalText");
    final_text_->setGeometry(230, 44, 150, 22);
    show_gearing();

    add_label(this, "Weight", 12, 76);
    weight_ = add_field("weightEdit", 130, 76, 90);
    weight_->setText(text_of(settings_.mass, 1));
    connect(weight_, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.mass = field_float(t.toStdString()); });

    add_label(this, "Tire r/mi", 12, 104);
    auto* tyre = add_field("tyreEdit", 130, 104, 90);
    tyre->setText(text_of(settings_.tyre_revs, 1));
    connect(tyre, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.tyre_revs = field_float(t.toStdString()); });

    add_label(this, "Antialias points", 12, 132);
    auto* aa = add_field("aaEdit", 130, 132, 40);
    aa->setText(QString::number(settings_.aa));
    connect(aa, &QLineEdit::textEdited, this, [this](const QString& t) { settings_.aa = field_int(t.toStdString()); });
    auto* gap = add_field("gapEdit", 180, 132, 40);
    gap->setText(QString::number(settings_.gap));
    connect(gap, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.gap = field_int(t.toStdString()); });

    add_label(this, "Drivetrain loss %", 12, 170);
    auto* loss = add_field("lossEdit", 130, 170, 90);
    loss->setText(text_of(settings_.loss, 1));
    connect(loss, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.loss = field_float(t.toStdString()); });
    add_enable("lossEnable", 240, 170, settings_.loss_en);

    add_label(this, "Drag compensation", 12, 198, 200);
    add_enable("dragEnable", 240, 198, settings_.drag_en);

    add_label(this, "SAE Corrected", 12, 226);
    add_enable("saeEnable", 240, 226, settings_.sae_en);
    add_label(this, "Temp F.", 12, 254, 60);
    auto* temp = add_field("tempEdit", 70, 254, 70);
    temp->setText(text_of(settings_.sae_temp, 1));
    connect(temp, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.sae_temp = field_float(t.toStdString()); });
    add_label(this, "Dry mbars", 160, 254, 70);
    auto* pressure = add_field("pressureEdit", 240, 254, 70);
    pressure->setText(text_of(settings_.sae_pressure, 1));
    connect(pressure, &QLineEdit::textEdited, this,
            [this](const QString& t) { settings_.sae_pressure = field_float(t.toStdString()); });

    auto* apply = new QPushButton("Apply", this);
    apply->setObjectName("applyButton");
    apply->setGeometry(250, 292, 80, 26);
    connect(apply, &QPushButton::clicked, this, &ConfigDialog::OnApply);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("okButton");
    ok->setGeometry(345, 292, 80, 26);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &ConfigDialog::OnOk);
}

QLineEdit* ConfigDialog::add_field(const char* name, int x, int y, int width) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setGeometry(x, y, width, 22);
    return edit;
}

QCheckBox* ConfigDialog::add_enable(const char* name, int x, int y, int& flag) {
    auto* box = new QCheckBox("Enable", this);
    box->setObjectName(name);
    box->setGeometry(x, y, 90, 22);
    box->setChecked(flag != 0);
    connect(box, &QCheckBox::clicked, this, [&flag](bool on) { flag = on ? 1 : 0; });
    return box;
}

void ConfigDialog::show_gearing() {
    gear_text_->setText("Gear: " + text_of(settings_.gear_ratio, 6));
    final_text_->setText("Final: " + text_of(settings_.final_drive, 6));
}

void ConfigDialog::OnCarChosen(int row) {
    settings_.choose_car(row);
    show_gearing();
    weight_->setText(text_of(settings_.mass, 6));
}

void ConfigDialog::OnGearChosen(int index) {
    settings_.choose_gear(index);
    show_gearing();
}

void ConfigDialog::OnApply() { emit applyRequested(); }

void ConfigDialog::OnOk() {
    emit saveRequested();
    accept();
}

void ConfigDialog::done(int result) {
    // Edits are already in force however the dialog closes; the chart
    // must not keep curves of the settings it had before.
    emit applyRequested();
    QDialog::done(result);
}

}  // namespace korv::dyno
