#include "player/gui/chart2d_frame.h"

#include "common/gui/grey_window.h"

#include "player/gui/table_chart.h"

#include <QFont>
#include <QPalette>

CHART2Dframe::CHART2Dframe() : QWidget(nullptr) {
    setObjectName("CHART2Dframe");
    setFixedSize(content_width, content_height);
    korv::paint_window_grey(*this);
    setFont(QFont(QStringLiteral("Dialog"), 10));

    o2_chart = new korv::player::TableChart(this);
    o2_chart->setObjectName("o2_chart");
    o2_chart->setGeometry(9, 5, 536, 136);
    o2_chart->setModel(&o2chart_values);
    o2_chart->setNumYTicks(2);
    o2_chart->setYAxisMax(1.5);

    chart_2d = new korv::player::TableChart(this);
    chart_2d->setObjectName("chart_2d");
    chart_2d->setGeometry(9, 143, 536, 136);
    chart_2d->setFont(font());
    chart_2d->setModel(&chart2d_values);
    hide();
}

void CHART2Dframe::clear_tables() {
    while (chart2d_values.getRowCount() > 1) chart2d_values.removeRow(0);
    while (o2chart_values.getRowCount() > 1) o2chart_values.removeRow(0);
}
