#pragma once
// A strip-chart window: paints a StripChartModel (trace and mark) and
// mirrors its title. The logger's and the player's chart windows derive
// from it and add their mouse handling and links.
#include <QWidget>
#include <vector>

#include "common/core/strip_chart_model.h"

namespace korv {

class StripChartView : public QWidget {
    Q_OBJECT
public:
    // Hidden, with a cross-hair cursor, its content 405 x 130; fixed in
    // size unless the options make it resizable.
    explicit StripChartView(const StripChartOptions& options, QWidget* parent = nullptr);

    StripChartModel& model() { return model_; }
    const StripChartModel& model() const { return model_; }

    // After a change to the model: the window title follows the model's and
    // the window is redrawn.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    StripChartModel model_;
    std::vector<StripChartVertex> trace_;
};

}  // namespace korv
