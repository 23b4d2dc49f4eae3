#include "boxlogger/core/command_state.h"

#include "boxlogger/core/command_table.h"
#include "boxlogger/core/vxmlog_doc.h"

namespace korv::boxlogger {

CommandState window_command_state(int id, const WindowCommandContext& window) {
    switch (command_owner(id)) {
    case CommandOwner::Document:
        if (window.doc == nullptr) return {false, false};
        return {window.doc->IsCommandEnabled(id), window.doc->IsCommandChecked(id)};
    case CommandOwner::Chart:
        if (window.doc == nullptr || !window.chart_enabled) return {false, false};
        return {window.chart_enabled(id), false};
    case CommandOwner::Program: break;
    }
    if (id == cmd::kFileNew) return {!window.capture_open, false};
    return {true, false};
}

}  // namespace korv::boxlogger
