#include "plot3d/gui/chart3d_frame.h"

#include "common/gui/grey_window.h"
#include "common/gui/window_style.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/plotter.h"

#include <QPushButton>
#include <QScrollBar>

namespace korv::plot3d {

CHART3Dframe::CHART3Dframe(QWidget* parent) : QWidget(parent, Qt::Window) {
    setWindowTitle(QString());
    setFixedSize(640, 480);
    paint_window_grey(*this);
    use_window_style(*this);

    const char* names[] = {"Reset", "Options", "Filter", "Grid"};
    QPushButton** buttons[] = {&reset_, &options_, &filter_, &grid_};
    for (int i = 0; i < 4; ++i) {
        *buttons[i] = new QPushButton(names[i], this);
        (*buttons[i])->setGeometry(10, 10 + 30 * i, 100, 25);
    }
    // Java's bar: maximum 20 with a thumb of 1, so values 5 .. 19.
    zoom_ = new QScrollBar(Qt::Horizontal, this);
    zoom_->setRange(5, 19);
    zoom_->setPageStep(1);
    zoom_->setValue(10);
    zoom_->setGeometry(640 - Plotter::kRightMargin - 180, 480 - Plotter::kStatusHeight - 28, 180, 18);

    connect(reset_, &QPushButton::clicked, this, [this] {
        if (plotter_ != nullptr) plotter_->view->onWheelResetButton();
    });
    connect(options_, &QPushButton::clicked, this, [this] {
        if (plotter_ != nullptr) plotter_->ShowOptionBox();
    });
    connect(filter_, &QPushButton::clicked, this, [this] {
        if (plotter_ != nullptr) plotter_->ShowFilterBox();
    });
    connect(grid_, &QPushButton::clicked, this, [this] { grid_pressed(); });
    connect(zoom_, &QScrollBar::valueChanged, this, [this](int value) {
        if (plotter_ != nullptr) plotter_->zoom_rtn(value);
    });
}

void CHART3Dframe::grid_pressed() {
    // Plain, grid, grid on opaque planes, plain again.
    if (!showgrid)
        showgrid = true;
    else if (!showbox)
        showbox = true;
    else
        showgrid = showbox = false;
    if (plotter_ != nullptr) plotter_->view->onCheckrClick(showgrid, showbox);
}

void CHART3Dframe::setVisible(bool visible) {
    if (visible && !isVisible()) {
        // Its own place unless its opener placed it; never moved back there.
        if (!testAttribute(Qt::WA_Moved)) move(50, 50);
        delete plotter_;  // its dialogs close with it
        plotter_ = new Plotter(width(), height(), this);
        plotter_->lower();
        const bool loaded = plotter_->loadData(0);
        if (loaded) plotter_->setData(true);
        options_->setEnabled(loaded);
        filter_->setEnabled(loaded);
        plotter_->view->setEnabled(loaded);
        // The panel starts at the bar's zoom and the grid's state.
        plotter_->zoom_rtn(zoom_->value());
        plotter_->view->onCheckrClick(showgrid, showbox);
    }
    QWidget::setVisible(visible);
}

}  // namespace korv::plot3d
