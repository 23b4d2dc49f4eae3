#include "logger/gui/chart_parts.h"

#include "logger/gui/chartcontrol.h"
#include "logger/gui/datavalues.h"
#include "logger/gui/triggerframe.h"

namespace korv::logger {

std::unique_ptr<LogSettingsThread> ChartPanelParts::make_settings_thread(KorvLogHost&, QPushButton*, const QString&,
                                                                         int) {
    return nullptr;
}

std::unique_ptr<ChartControl> ChartPanelParts::make_chartcontrol(KorvLogHost& korv) {
    return std::make_unique<chartcontrol>(korv);
}

std::unique_ptr<DataValuePanel> ChartPanelParts::make_datavalues() { return std::make_unique<datavalues>(); }

std::unique_ptr<QWidget> ChartPanelParts::make_triggerframe() { return std::make_unique<Triggerframe>(); }

}  // namespace korv::logger
