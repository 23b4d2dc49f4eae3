#pragma once
// The shell's view of the box link over the real port object: probes and
// closes run on a worker, one after another, and answer on the GUI thread;
// a probe leaves the port open only when the box works.
#include "boxlogger/core/serial_port.h"
#include "boxlogger/gui/logger_link.h"
#include "common/gui/job_worker.h"

namespace korv::boxlogger {

class EngineLink final : public LoggerLink {
public:
    explicit EngineLink(CSerialPort& port) : port_(port) {}
    // The port outlives the link: a job under way ends first.
    ~EngineLink() override { Stop(); }

    std::optional<std::string> Probe(int port_index, Answer answered) override;
    std::optional<std::string> ClosePort(std::function<void()> closed) override;
    void AfterPending(std::function<void()> step) override;
    void FakeLink() override { port_.set_link_faked(true); }
    bool Linked() const override { return port_.is_open() || port_.link_faked(); }
    // Waits for the job under way and drops the rest; nothing runs afterwards.
    void Stop() { worker_.stop(); }

private:
    CSerialPort& port_;
    JobWorker worker_;
};

}  // namespace korv::boxlogger
