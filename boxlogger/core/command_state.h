#pragma once
// Whether a command is enabled and checked in one of VXMlog's windows, from
// the owner the command table names for it.
#include <functional>

namespace korv::boxlogger {

class CVXMlogDoc;

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

struct WindowCommandContext {
    // The window's document; null for the command screen.
    const CVXMlogDoc* doc = nullptr;
    // The window's chart view's answer; empty when it has none.
    std::function<bool(int id)> chart_enabled;
    // A capture document is open (File New only brings it forward then).
    bool capture_open = false;
};

// A document's and a chart's commands are off in a window without them;
// the program's are on, but File New while a capture is open.
CommandState window_command_state(int id, const WindowCommandContext& window);

}  // namespace korv::boxlogger
