#include "plot3d/gui/plotter.h"

#include "common/gui/qt_colour.h"
#include "plot3d/core/database.h"
#include "plot3d/core/filter_choices.h"
#include "plot3d/core/plot_colours.h"
#include "plot3d/gui/checker.h"
#include "plot3d/gui/filter_box.h"
#include "plot3d/gui/info_line.h"
#include "plot3d/gui/legend_box.h"
#include "plot3d/gui/option_box.h"
#include "plot3d/gui/plot_view.h"
#include "plot3d/gui/slider.h"

#include <QPalette>

namespace korv::plot3d {

Plotter::Plotter(int width, int height, QWidget* parent) : QWidget(parent) {
    resize(width, height);
    QPalette grey = palette();
    grey.setColor(QPalette::Window, to_qcolor(kLightGrey));
    setPalette(grey);
    setAutoFillBackground(true);

    legend = new LegendBox(this);
    legend->setGeometry(0, 0, kLegendWidth, height);
    infoline = new InfoLine(this);
    infoline->setGeometry(kLegendWidth, height - kStatusHeight, width - kLegendWidth, kStatusHeight);
    const int view_width = width - kLegendWidth - kRightMargin;
    const int view_height = height - kStatusHeight - kBottomMargin;
    view = new PlotView(this, view_width, view_height);
    view->setGeometry(kLegendWidth, 0, view_width, view_height);
    view->setLegendCallback([this](const LegendValues& l) {
        legend->setScale(QString::fromStdString(l.xlabel), l.minx, l.maxx, QString::fromStdString(l.ylabel), l.miny,
                         l.maxy, QString::fromStdString(l.zlabel), l.minz, l.maxz, QString::fromStdString(l.sizelabel));
    });
}

Plotter::~Plotter() = default;

bool Plotter::loadData(int) {
    std::shared_ptr<Database> table;
    try {
        table = std::make_shared<Database>();
    } catch (const std::exception& e) {
        // Each refusal names the file itself.
        infoline->setText(QString::fromStdString(e.what()));
        return false;
    }
    if (table->reccount == 0) {
        infoline->setText("No records in 3d.dat");
        return false;
    }
    original = table;
    database = table;
    mapper.emplace(*table);
    if (table->failedlines > 0)
        loadnote_ = QString::number(table->failedlines) + " lines of 3d.dat could not be read";
    else if (table->readerror)
        loadnote_ = "3d.dat could not be read to its end";
    if (!loadnote_.isEmpty()) infoline->setText(loadnote_);
    return true;
}

bool Plotter::loadData(std::shared_ptr<Database> table) {
    database = std::move(table);
    return true;
}

void Plotter::setData(bool rescale) {
    if (!database || !mapper) return;
    if (database->reccount == 0) {
        // Nothing passed the filter: show nothing rather than the points of an
        // earlier table, and say why the plot is empty.
        view->clearData();
        infoline->setText(QString::fromUtf8(kNoRecordPasses.data(), kNoRecordPasses.size()));
        return;
    }
    if (infoline->text() != loadnote_) infoline->setText(loadnote_);
    view->setData(database, *mapper, rescale);
}

void Plotter::setData(const Mapper& m) {
    mapper = m;
    setData(true);
}

void Plotter::applyFilter(std::shared_ptr<Database> table) {
    loadData(std::move(table));
    setData(false);
}

void Plotter::zoom_rtn(int value) {
    const float r = static_cast<float>(value) / 10.0f;
    view->setXRatio(r);
    view->setYRatio(r);
    view->setZRatio(r);
    view->setView();
    view->update();
}

void Plotter::ShowOptionBox() {
    if (!hasData()) return;
    auto* box = new OptionBox(*this, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void Plotter::ShowFilterBox() {
    if (!hasData()) return;
    auto* box = new FilterBox(*this, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
}

void Plotter::onSliderMotion(Slider& slider, float value) {
    const QString& key = slider.text();
    if (key != "xratio" && key != "yratio" && key != "zratio") return;
    const bool all = !zoommode;
    if (key == "xratio" || all) view->setXRatio(value);
    if (key == "yratio" || all) view->setYRatio(value);
    if (key == "zratio" || all) view->setZRatio(value);
    if (all) {
        for (Slider* other : {xslider, yslider, zslider})
            if (other != nullptr && other != &slider) other->set(value);
    }
    view->setView();
    view->update();
}

void Plotter::onCheckerClick(Checker& checker, bool state) {
    if (checker.text() == "zoom") zoommode = state;
}

void Plotter::onButtonClick(ImageButton&) {}

}  // namespace korv::plot3d
