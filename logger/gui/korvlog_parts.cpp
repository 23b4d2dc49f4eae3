#include "logger/gui/korvlog_parts.h"

#include "logger/gui/logobdthread.h"

namespace korv::logger {

std::unique_ptr<LogSettingsThread> KorvlogParts::make_settings_thread(KorvLogHost& korv, QPushButton* interface_button,
                                                                      const QString& title, int cable_type) {
    return std::make_unique<LOGOBDThread>(korv, interface_button, title, cable_type);
}

}  // namespace korv::logger
