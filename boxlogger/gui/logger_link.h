#pragma once
// What the shell's windows need of the box link: probe a port, close it,
// fake the link, and whether the program counts as linked.
namespace korv::boxlogger {

class LoggerLink {
public:
    virtual ~LoggerLink() = default;
    // Selects the port (reopening it only when the index changed) and probes
    // it: -1 unavailable, 0 no box, 1 box without ECU, 2 working. The port
    // stays open only on 2.
    virtual int Probe(int port_index) = 0;
    // Closes the port; also ends a faked link.
    virtual void ClosePort() = 0;
    virtual void FakeLink() = 0;
    // Port open or link faked.
    virtual bool Linked() const = 0;
};

}  // namespace korv::boxlogger
