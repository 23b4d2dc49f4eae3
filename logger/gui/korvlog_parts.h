#pragma once
// Every window the start window asks for: the chart side, plus the
// interface settings frames built by LOGOBDThread.
#include "logger/gui/chart_parts.h"

namespace korv::logger {

class KorvlogParts : public ChartPanelParts {
public:
    std::unique_ptr<LogSettingsThread> make_settings_thread(KorvLogHost& korv, QPushButton* interface_button,
                                                            const QString& title, int cable_type) override;
};

}  // namespace korv::logger
