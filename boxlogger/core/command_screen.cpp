#include "boxlogger/core/command_screen.h"

#include "common/core/java_numbers.h"

namespace korv::boxlogger {

CommandButtonStates command_button_states(bool linked) {
    return {linked ? "Dis&connect" : "&Connect", linked, linked, linked, true};
}

std::string status_rate_text(bool link_up, float rate) {
    if (!link_up) return kLinkDown;
    return "Rate: " + std::to_string(saturating_float_to_int32(rate)) + "/s";
}

ConnectAction connect_action(bool linked, bool capture_open) {
    if (!linked) return ConnectAction::ProbeSavedPort;
    return capture_open ? ConnectAction::RefuseCaptureOpen : ConnectAction::ClosePort;
}

const char* probe_status_text(int probe) {
    switch (probe) {
    case -1: return "Port already in use or unavailable";
    case 0: return "Datalogger not found or lacking power";
    case 1: return "Datalogger not properly connected to ECU";
    case kProbeWorking: return kWorkingProperly;
    default: return "Unknown error";
    }
}

}  // namespace korv::boxlogger
