#include "dyno/gui/select_dialog.h"

#include "common/gui/window_style.h"

#include "common/gui/chart_painter.h"
#include "dyno/core/car_table.h"
#include "dyno/core/field_number.h"
#include "dyno/gui/spin_arrows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <qdrawutil.h>

namespace korv::dyno {
namespace {

QString text_of(double value, int decimals) { return QString::fromStdString(field_text(value, decimals)); }

QLabel* add_text(QWidget* parent, const char* name, const char* text, int x, int y, int width) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(x, y, width, 22);
    return label;
}

QPushButton* add_button(QWidget* parent, const char* name, const char* text, int x, int y) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(x, y, 100, 26);
    return button;
}

}  // namespace

SelectDialog::SelectDialog(DynoSession& session, QWidget* parent)
    : QDialog(parent), session_(session), drag_(session.range()) {
    setObjectName("SelectDialog");
    setWindowTitle("Select");
    setFixedSize(774, 372);
    use_window_style(*this);
    setMouseTracking(true);

    start_text_ = add_text(this, "startText", "Start:", 12, 222, 170);
    stop_text_ = add_text(this, "stopText", "Stop:", 190, 222, 170);
    rpm_text_ = add_text(this, "rpmText", "Rpm:", 370, 222, 150);
    time_text_ = add_text(this, "timeText", "Time:", 530, 222, 230);

    connect(add_button(this, "tpsButton", "TPS Block", 12, 254), &QPushButton::clicked, this,
            &SelectDialog::OnTpsBlock);
    connect(add_button(this, "risingButton", "Rising Block", 122, 254), &QPushButton::clicked, this,
            &SelectDialog::OnRisingBlock);

    add_text(this, "gearLabel", "Gear", 250, 256, 40);
    auto* gears = new QComboBox(this);
    gears->setObjectName("gearList");
    gears->setGeometry(290, 255, 80, 24);
    for (int g = 0; g < kGearCount; ++g) gears->addItem(QString::fromUtf8(gear_name(g).data(), 3));
    gears->setCurrentIndex(session_.settings.gear);
    connect(gears, &QComboBox::activated, this, [this](int index) { session_.settings.choose_gear(index); });

    auto* spline = new QCheckBox("Enable Spline Smoothing", this);
    spline->setObjectName("splineEnable");
    spline->setGeometry(390, 256, 190, 22);
    spline->setChecked(session_.settings.bspline_en != 0);
    connect(spline, &QCheckBox::clicked, this, [this](bool on) {
        session_.settings.bspline_en = on ? 1 : 0;
        resmooth();
    });
    auto* filter = new QCheckBox("Enable Filter Smoothing", this);
    filter->setObjectName("filterEnable");
    filter->setGeometry(585, 256, 185, 22);
    filter->setChecked(session_.settings.lopass_en != 0);
    connect(filter, &QCheckBox::clicked, this, [this](bool on) {
        session_.settings.lopass_en = on ? 2 : 0;
        resmooth();
    });

    add_number("Time Blend (sec)", "blendEdit", 12, 292, session_.settings.blend, 0.1f);
    add_number("Cutoff Frq", "cutoffEdit", 270, 292, session_.settings.cutoff, 1.0f);
    add_number("Rez Amt.", "rezEdit", 520, 292, session_.settings.rez, 0.1f);

    connect(add_button(this, "applyButton", "Apply", 442, 334), &QPushButton::clicked, this, &SelectDialog::OnApply);
    auto* ok = add_button(this, "okButton", "OK", 552, 334);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &SelectDialog::OnOk);
    connect(add_button(this, "cancelButton", "Cancel", 662, 334), &QPushButton::clicked, this, &SelectDialog::reject);

    show_selection();
}

QLineEdit* SelectDialog::add_number(const char* label, const char* name, int x, int y, float& value, float step) {
    add_text(this, nullptr, label, x, y, 110);
    auto* edit = new QLineEdit(text_of(value, 6), this);
    edit->setObjectName(name);
    edit->setGeometry(x + 112, y, 100, 22);
    auto* arrows = new SpinArrows(this);
    arrows->setObjectName(QString(name) + "Arrows");
    arrows->setGeometry(x + 213, y, 16, 22);
    connect(edit, &QLineEdit::textEdited, this, [this, &value](const QString& text) {
        value = field_float(text.toStdString());
        resmooth();
    });
    connect(arrows, &SpinArrows::stepped, this, [this, edit, &value, step](int direction) {
        value = field_float(edit->text().toStdString()) + static_cast<float>(direction) * step;
        edit->setText(text_of(value, 6));
        resmooth();
    });
    return edit;
}

double SelectDialog::log_time(float since_first) const {
    return session_.time_origin() + static_cast<double>(since_first);
}

void SelectDialog::resmooth() {
    session_.smooth();
    update();
}

void SelectDialog::show_selection() {
    const SampleArray& samples = session_.samples();
    const int n = static_cast<int>(samples.size());
    if (n > 0) {
        const SampleRange s = drag_.selection();
        const int start = std::clamp(s.start, 0, n - 1);
        start_text_->setText("Start: " + text_of(log_time(samples[static_cast<std::size_t>(start)][kBlendedTime]), 6));
        stop_text_->setText("Stop: " +
                            text_of(log_time(samples[static_cast<std::size_t>(readable_stop(s, n))][kBlendedTime]), 6));
    }
    update();
}

void SelectDialog::OnTpsBlock() {
    drag_.set_selection(session_.next_block(BlockKind::throttle, drag_.selection()));
    show_selection();
}

void SelectDialog::OnRisingBlock() {
    drag_.set_selection(session_.next_block(BlockKind::rising, drag_.selection()));
    show_selection();
}

void SelectDialog::take_range() {
    session_.set_range(drag_.selection());
    session_.smooth();
    session_.compute_power();
}

void SelectDialog::OnApply() {
    take_range();
    emit applyRequested();
}

void SelectDialog::OnOk() {
    take_range();
    emit saveRequested();
    emit applyRequested();
    accept();
}

void SelectDialog::reject() {
    // The range stays, but smoothing edits made here are in force: the
    // curves are computed again from them.
    session_.smooth();
    session_.compute_power();
    emit applyRequested();
    QDialog::reject();
}

void SelectDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area(kArea.left, kArea.top, kArea.width(), kArea.height());
    qDrawWinPanel(&painter, area.adjusted(-3, -3, 3, 3), palette(), true);
    painter.setClipRect(area);
    paint_drawing(painter, DrawSelectChart(session_.samples(), kArea, drag_.selection()));
}

void SelectDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!StrictlyInside(kArea, p.x(), p.y())) return;
    const auto sample = PixelToSample(session_.samples(), p.x(), kArea);
    if (!sample) return;
    if (event->buttons() & Qt::LeftButton) {
        drag_.move_held(sample->index);
    } else {
        drag_.move_free();
    }
    rpm_text_->setText("RPM: " + text_of(sample->rpm, 2));
    time_text_->setText(QString("Time: %1 (%2,%3)").arg(text_of(log_time(sample->time), 2)).arg(p.x()).arg(p.y()));
    show_selection();
}

void SelectDialog::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !StrictlyInside(kArea, p.x(), p.y())) return;
    if (const auto sample = PixelToSample(session_.samples(), p.x(), kArea)) {
        drag_.press(sample->index);
        show_selection();
    }
}

void SelectDialog::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !StrictlyInside(kArea, p.x(), p.y())) return;
    if (const auto sample = PixelToSample(session_.samples(), p.x(), kArea)) {
        drag_.release(sample->index);
        time_text_->setText("Time: " + text_of(log_time(sample->time), 2));
        show_selection();
    }
}

}  // namespace korv::dyno
