#pragma once
// The 3-D window the player opens after writing 3d.dat: the plot panel,
// Reset, Options, Filter and Grid at the upper left and the zoom bar at the
// lower right. Closing only hides it; the player owns it.
#include <QWidget>

class QPushButton;
class QScrollBar;

namespace korv::plot3d {

class Plotter;

class CHART3Dframe : public QWidget {
    Q_OBJECT
public:
    explicit CHART3Dframe(QWidget* parent = nullptr);

    // Showing places the window (at 50, 50 unless it was placed before),
    // builds a new plot panel and loads 3d.dat.
    void setVisible(bool visible) override;

    Plotter* plotter() const { return plotter_; }
    QPushButton* resetButton() const { return reset_; }
    QPushButton* optionsButton() const { return options_; }
    QPushButton* filterButton() const { return filter_; }
    QPushButton* gridButton() const { return grid_; }
    QScrollBar* zoomBar() const { return zoom_; }

    bool showgrid = false;
    bool showbox = false;

private:
    void grid_pressed();

    Plotter* plotter_ = nullptr;
    QPushButton *reset_, *options_, *filter_, *grid_;
    QScrollBar* zoom_;
};

}  // namespace korv::plot3d
