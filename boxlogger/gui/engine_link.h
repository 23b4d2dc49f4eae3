#pragma once
// The shell's view of the box link over the real port object: a probe that
// leaves the port open only when the box works.
#include "boxlogger/core/serial_port.h"
#include "boxlogger/gui/logger_link.h"

namespace korv::boxlogger {

class EngineLink final : public LoggerLink {
public:
    explicit EngineLink(CSerialPort& port) : port_(port) {}
    int Probe(int port_index) override;
    void ClosePort() override { port_.Close(); }
    void FakeLink() override { port_.set_link_faked(true); }
    bool Linked() const override { return port_.is_open() || port_.link_faked(); }

private:
    CSerialPort& port_;
};

}  // namespace korv::boxlogger
