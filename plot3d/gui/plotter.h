#pragma once
// The plot panel of the 3-D window: the table read from 3d.dat, the table
// shown, the mapping, the view, the legend column and the status line.
#include "plot3d/core/mapper.h"
#include "plot3d/gui/plot_panel.h"
#include "plot3d/gui/widget_clients.h"

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

namespace korv::plot3d {

class Database;
class InfoLine;
class LegendBox;
class PlotView;
class Slider;

class Plotter : public QWidget, public PlotPanel, public SliderClient, public CheckerClient, public ButtonClient {
    Q_OBJECT
public:
    static constexpr int kLegendWidth = 150;
    static constexpr int kStatusHeight = 20;
    static constexpr int kRightMargin = 30;
    static constexpr int kBottomMargin = 35;

    Plotter(int width, int height, QWidget* parent = nullptr);
    ~Plotter() override;

    // Reads 3d.dat in the working folder; false, changing nothing, when it
    // cannot be read or holds no record. The status line says why, and
    // which lines were skipped.
    bool loadData(int unused);
    // Shows this table.
    bool loadData(std::shared_ptr<Database> table);
    void setData(bool rescale);
    void setData(const Mapper& mapper);
    void zoom_rtn(int value);
    void ShowOptionBox();
    void ShowFilterBox();
    // Whether a table is loaded: Options and Filter have nothing to work on without one.
    bool hasData() const { return original != nullptr; }

    // PlotPanel
    const Database& originalTable() const override { return *original; }
    void applyMapper(const Mapper& m) override { setData(m); }
    void applyFilter(std::shared_ptr<Database> table) override;

    // The picture widgets' dispatch.
    void onSliderMotion(Slider& slider, float value) override;
    void onCheckerClick(Checker& checker, bool state) override;
    void onButtonClick(ImageButton& button) override;

    std::shared_ptr<Database> original;
    std::shared_ptr<Database> database;
    std::optional<Mapper> mapper;
    PlotView* view;
    LegendBox* legend;
    InfoLine* infoline;
    // The ratio sliders, when a front panel places them; zoommode lets
    // them move apart.
    Slider* xslider = nullptr;
    Slider* yslider = nullptr;
    Slider* zslider = nullptr;
    bool zoommode = false;

private:
    // What the status line says of the table as read; empty when all of it was read.
    QString loadnote_;
};

}  // namespace korv::plot3d
