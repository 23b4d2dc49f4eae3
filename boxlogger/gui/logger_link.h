#pragma once
// What the shell's windows need of the box link: probe a port, close it,
// fake the link, and whether the program counts as linked. Probing and
// closing wait on the line, so they answer later, on the GUI thread; when
// they cannot be started at all, they say why at once (a sentence for the
// user) and never answer.
#include <functional>
#include <optional>
#include <string>

namespace korv::boxlogger {

class LoggerLink {
public:
    using Answer = std::function<void(int probe)>;

    virtual ~LoggerLink() = default;
    // Selects the port (reopening it only when the index changed) and probes
    // it after whatever was asked before: -1 unavailable, 0 no box, 1 box
    // without ECU, 2 working. The port stays open only on 2.
    [[nodiscard]] virtual std::optional<std::string> Probe(int port_index, Answer answered) = 0;
    // Closes the port after whatever was asked before; also ends a faked
    // link. `closed` (may be null) runs once it is done.
    [[nodiscard]] virtual std::optional<std::string> ClosePort(std::function<void()> closed) = 0;
    // Runs step once whatever was asked before is done (at once when
    // nothing can be asked any more).
    virtual void AfterPending(std::function<void()> step) = 0;
    virtual void FakeLink() = 0;
    // Port open or link faked.
    virtual bool Linked() const = 0;
};

}  // namespace korv::boxlogger
