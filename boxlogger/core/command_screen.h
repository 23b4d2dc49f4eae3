#pragma once
// The command screen's decisions, apart from its window: button texts and
// states, the rate pane, what "&Connect" does, the probe's status texts.
#include <string>
#include <string_view>

namespace korv::boxlogger {

inline constexpr char kCommandScreenCaption[] = "Calderis Datalogger Command Screen";
inline constexpr char kCaptureStillOpen[] = "Capture screen still open";
inline constexpr char kCloseCaptureFirst[] = "Capture window must be closed first";
inline constexpr char kNotImplementedYet[] = "Not implemented yet";
inline constexpr char kLinkDown[] = "Link Down";
inline constexpr char kLinkFaked[] = "Datalogger link faked";
inline constexpr char kWorkingProperly[] = "Datalogger working properly";

struct CommandButtonStates {
    std::string_view connect_text;  // compared by its text
    bool describe_car;
    bool collect_data;
    bool drb2;
    bool review_data;
    bool operator==(const CommandButtonStates&) const = default;
};
// The program counts as linked while the port is open or the link is faked.
CommandButtonStates command_button_states(bool linked);

// "Rate: n/s" with the rate cut to whole samples while the link is up.
std::string status_rate_text(bool link_up, float rate);

enum class ConnectAction {
    RefuseCaptureOpen,  // linked with a capture window open: say so, change nothing
    ClosePort,
    ProbeSavedPort,  // then Logger Preferences unless the box works
};
ConnectAction connect_action(bool linked, bool capture_open);

// The Logger Preferences status for a probe's result; "Unknown error" for
// anything unexpected.
const char* probe_status_text(int probe);
// A probe result that leaves the port open.
inline constexpr int kProbeWorking = 2;

}  // namespace korv::boxlogger
