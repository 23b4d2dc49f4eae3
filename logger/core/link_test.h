#pragma once
// The library side of the settings frame's link test: bring the cable up on
// the held port, then probe the interface. Runs off the GUI thread; the
// frame shows the texts and colours of the outcome.
#include <functional>

#include "logger/core/log_family.h"

namespace korv::logger {

// The library calls the link test makes (queues 1024, 1024; the probe is
// logdata mode 1 with chart flag 0).
class LinkCalls {
public:
    virtual ~LinkCalls() = default;
    virtual int SioReset(int cable, int port) = 0;
    virtual int SioDone(int port) = 0;
    virtual int probe(int port, int cable, const ItemList& items) = 0;
};

enum class LinkOutcome {
    open_failed,   // the bring-up failed; the port stays held
    probe_failed,  // no answer; the port has been closed
    operational,
};

struct LinkResult {
    LinkOutcome outcome;
    int code;  // the failing call's result; 0 when operational
};

// A bring-up result other than 0 is a failure, whatever its sign: the
// library adds positive step offsets to its failure codes. port_opened
// hears the bring-up's result before the probe starts.
LinkResult run_link_probe(LinkCalls& calls, int port, int cable, const ItemList& items,
                          const std::function<void(int reset_result)>& port_opened);

}  // namespace korv::logger
