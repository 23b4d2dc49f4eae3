#pragma once
// Range and smoothing: the RPM drawing with mouse selection, the block
// searches and the smoothing parameters.
#include "dyno/core/dyno_session.h"
#include "dyno/core/select_chart.h"

#include <QDialog>

class QLabel;
class QLineEdit;

namespace korv::dyno {

class SelectDialog : public QDialog {
    Q_OBJECT
public:
    // The drawing area in dialog pixels.
    static constexpr ChartRect kArea{12, 12, 762, 212};

    SelectDialog(DynoSession& session, QWidget* parent = nullptr);

    SampleRange selection() const { return drag_.selection(); }
    void reject() override;

signals:
    // Range or smoothing changed: recompute and repaint the main window.
    void applyRequested();
    void saveRequested();

private slots:
    void OnTpsBlock();
    void OnRisingBlock();
    void OnApply();
    void OnOk();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QLineEdit* add_number(const char* label, const char* name, int x, int y, float& value, float step);
    // A sample's time on the log's own clock, for the texts.
    double log_time(float since_first) const;
    void resmooth();
    void show_selection();
    void take_range();

    DynoSession& session_;
    SelectionDrag drag_;
    QLabel* start_text_ = nullptr;
    QLabel* stop_text_ = nullptr;
    QLabel* rpm_text_ = nullptr;
    QLabel* time_text_ = nullptr;
};

}  // namespace korv::dyno
