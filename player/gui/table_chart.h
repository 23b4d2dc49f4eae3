#pragma once
// A small line chart over a StringTable: one series per column, named by
// its header, the rows as points in order. Stands where the 2-D chart
// window wants a chart component.
#include "player/core/string_table.h"

#include <QWidget>

#include <optional>

namespace korv::player {

class TableChart : public QWidget {
    Q_OBJECT
public:
    explicit TableChart(QWidget* parent = nullptr);

    void setModel(const StringTable* table);
    // Ticks on the Y axis, 2 at least; the default is 5.
    void setNumYTicks(int n);
    // A fixed top for the Y axis; unset, the axis follows the data.
    void setYAxisMax(double value);

    // The Y range drawn: the fixed top, or the data's highest value (and its
    // lowest when below 0).
    std::pair<double, double> y_range() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const StringTable* table_ = nullptr;
    int y_ticks_ = 5;
    std::optional<double> y_max_;
};

}  // namespace korv::player
