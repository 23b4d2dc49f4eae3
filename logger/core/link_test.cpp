#include "logger/core/link_test.h"

namespace korv::logger {

LinkResult run_link_probe(LinkCalls& calls, int port, int cable, const ItemList& items,
                          const std::function<void(int)>& port_opened) {
    const int reset = calls.SioReset(cable, port);
    if (reset != 0) return {LinkOutcome::open_failed, reset};
    if (port_opened) port_opened(reset);
    const int probe = calls.probe(port, cable, items);
    if (probe != 0) {
        // A link that does not answer gives its port back at once.
        calls.SioDone(port);
        return {LinkOutcome::probe_failed, probe};
    }
    return {LinkOutcome::operational, 0};
}

}  // namespace korv::logger
