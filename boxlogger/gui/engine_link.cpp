#include "boxlogger/gui/engine_link.h"

#include "boxlogger/core/command_screen.h"

#include <memory>

namespace korv::boxlogger {

std::optional<std::string> EngineLink::Probe(int port_index, Answer answered) {
    CSerialPort& port = port_;
    return worker_.run(
        [&port, port_index] {
            const int result = port.Probe(port_index);
            // A box that does not answer properly leaves nothing open that
            // would make the program count as linked.
            if (result != kProbeWorking) port.Close();
            return result;
        },
        [answered = std::move(answered)](int result) {
            if (answered) answered(result);
        });
}

std::optional<std::string> EngineLink::ClosePort(std::function<void()> closed) {
    CSerialPort& port = port_;
    return worker_.run([&port] { port.Close(); }, std::move(closed));
}

void EngineLink::AfterPending(std::function<void()> step) {
    // A worker that takes no job has none pending either: the step is due now.
    auto shared = std::make_shared<std::function<void()>>(std::move(step));
    const auto run_step = [shared] {
        if (*shared) (*shared)();
    };
    if (worker_.run([] {}, run_step)) run_step();
}

}  // namespace korv::boxlogger
