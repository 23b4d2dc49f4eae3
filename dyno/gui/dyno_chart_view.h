#pragma once
// The main window's client area: the dyno chart of the session.
#include "dyno/core/dyno_session.h"

#include <QWidget>

namespace korv::dyno {

class DynoChartView : public QWidget {
    Q_OBJECT
public:
    explicit DynoChartView(const DynoSession& session, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const DynoSession& session_;
};

}  // namespace korv::dyno
