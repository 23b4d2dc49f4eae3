#pragma once
// The chart side of the logger's parts: the chart control, the data-value
// panel and the Triggers window. The settings frames come from a subclass
// (or stay away: the base makes none).
#include "logger/gui/logger_parts.h"

namespace korv::logger {

class ChartPanelParts : public LoggerParts {
public:
    std::unique_ptr<LogSettingsThread> make_settings_thread(KorvLogHost& korv, QPushButton* interface_button,
                                                            const QString& title, int cable_type) override;
    std::unique_ptr<ChartControl> make_chartcontrol(KorvLogHost& korv) override;
    std::unique_ptr<DataValuePanel> make_datavalues() override;
    std::unique_ptr<QWidget> make_triggerframe() override;
};

}  // namespace korv::logger
