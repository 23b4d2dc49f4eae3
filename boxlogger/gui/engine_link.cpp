#include "boxlogger/gui/engine_link.h"

#include "boxlogger/core/command_screen.h"

namespace korv::boxlogger {

int EngineLink::Probe(int port_index) {
    const int result = port_.Probe(port_index);
    // A box that does not answer properly leaves nothing open that would
    // make the program count as linked.
    if (result != kProbeWorking) port_.Close();
    return result;
}

}  // namespace korv::boxlogger
