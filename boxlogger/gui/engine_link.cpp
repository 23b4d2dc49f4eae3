#include "boxlogger/gui/engine_link.h"

#include "boxlogger/core/command_screen.h"

namespace korv::boxlogger {

void EngineLink::Probe(int port_index, Answer answered) {
    CSerialPort& port = port_;
    worker_.run(
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

void EngineLink::ClosePort(std::function<void()> closed) {
    CSerialPort& port = port_;
    worker_.run([&port] { port.Close(); }, std::move(closed));
}

}  // namespace korv::boxlogger
