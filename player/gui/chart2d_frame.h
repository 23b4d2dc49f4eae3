#pragma once
// The 2-D chart window: O2 volts and pulse width above, boost, knock and
// timing below, one point per record the player collected.
#include "player/core/string_table.h"

#include <QWidget>

namespace korv::player {
class TableChart;
}

class CHART2Dframe : public QWidget {
    Q_OBJECT
public:
    static constexpr int content_width = 554;
    static constexpr int content_height = 283;

    CHART2Dframe();

    korv::player::StringTable o2chart_values;
    korv::player::StringTable chart2d_values;
    korv::player::TableChart* o2_chart = nullptr;
    korv::player::TableChart* chart_2d = nullptr;

    // Removes rows from the front of both tables until each holds at most one.
    void clear_tables();
};
